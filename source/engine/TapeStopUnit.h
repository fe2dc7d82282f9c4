#pragma once

#include "RingBuffer.h"

#include <cstdint>

namespace vexbit {

// A tape machine whose motor stops and restarts. While active the playback
// slows to a crawl and falls silent; when released it speeds up again and
// works off the built-up lag in crossfaded jumps of up to jumpPeriod samples,
// ending jumpPeriod - fadeStart samples behind the present.
class TapeStopUnit {
public:
    // The slowest stop builds up a lag of 2.25 s; the ring holds that at rates up
    // to 98 kHz, so a restart plays the stopped material rather than wrapped memory.
    static constexpr int32_t kRingSize = 220500;
    static constexpr int32_t kLead = 1;
    // The deepest lag a read can reach in the ring.
    static constexpr float kMaxLag = static_cast<float>(kRingSize - 1);

    TapeStopUnit();

    void process(float& l, float& r);

    // Start or release the stop. The jump clock restarts from the current lag,
    // so a catch-up jump may come sooner than a whole period later.
    void setActive(bool engaged);
    // Both clamped to 0..1; non-finite values are ignored.
    void setStartSpeed(double value);
    void setStopSpeed(double value);
    void setSampleRate(double sampleRate);

    float startSpeed = 1.0f;
    float stopSpeed = 1.0f;
    bool active = false;
    float gain = 1.0f;
    float velocity = 0.0f;
    float position = 0.0f;
    int32_t jumpPeriod = 1000;
    int32_t fadeStart = 800;
    int32_t jumpCounter = 0;
    int32_t jump = 1000;
    float sampleRate = 44100.0f;
    RingBuffer ringL{kRingSize, kLead};
    RingBuffer ringR{kRingSize, kLead};
};

} // namespace vexbit
