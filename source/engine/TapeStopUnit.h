#pragma once

#include "engine/RingBuffer.h"

#include <cstdint>

namespace vexbit {

// A tape machine whose motor stops and restarts. While active the playback
// slows to a crawl and falls silent; when released it speeds up again and
// works off the built-up lag in crossfaded jumps of up to kJumpPeriod samples,
// ending kJumpPeriod - kFadeStart samples behind the present.
class TapeStopUnit {
public:
    // The slowest stop builds up a lag of 2.25 s; the ring holds that at rates up
    // to 98 kHz, so a restart plays the stopped material rather than wrapped memory.
    static constexpr int32_t kRingSize = 220500;
    static constexpr int32_t kLead = 1;
    // The deepest lag a read can reach in the ring.
    static constexpr float kMaxLag = static_cast<float>(kRingSize - 1);
    static constexpr int32_t kJumpPeriod = 1000;
    // Each jump is crossfaded over the last kJumpPeriod - kFadeStart samples of its period.
    static constexpr int32_t kFadeStart = 800;

    TapeStopUnit();

    void process(float& l, float& r) { processBlock(&l, &r, 1); }
    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);

    // Start or release the stop. The jump clock restarts from the current lag,
    // so a catch-up jump may come sooner than a whole period later.
    void setEngaged(bool engaged);
    // Both clamped to 0..1; non-finite values are ignored.
    void setStartSpeed(double value);
    void setStopSpeed(double value);
    void setSampleRate(double sampleRate);

    float startSpeed() const { return startSpeed_; }
    float stopSpeed() const { return stopSpeed_; }
    float sampleRate() const { return sampleRate_; }
    // Output level, 0 to 1.
    float gain() const { return gain_; }
    // Playback speed minus 1: 0 at full speed, negative while slowed.
    float velocity() const { return velocity_; }
    // Where playback reads relative to the present, in samples (0 or negative).
    float position() const { return position_; }

private:
    // Values that follow from the settings alone, worked out once per block.
    struct Motion {
        float k;      // velocity change per sample
        float vmin;   // slowest velocity
        float floor;  // deepest position the motion allows
    };
    Motion motion() const;
    void step(float& l, float& r, const Motion& m);
    // One frame's change of level, speed, lag and jump clock; the audio plays no part.
    void moveTape(float& gain, float& v, float& p, int32_t& c, int32_t& jump, const Motion& m) const;
    // How many of the next n frames (0 if none) leave level, speed and lag as
    // they are and need no crossfade: stopped at its deepest, or released and
    // running at full speed at a steady lag between jumps.
    int32_t steadyFrames(const Motion& m, int32_t n) const;
    // Those frames: one read lag for all, the reads taken before the recording.
    void passSteady(float* l, float* r, int32_t n);

    float startSpeed_ = 1.0f;
    float stopSpeed_ = 1.0f;
    bool active_ = false;
    float gain_ = 1.0f;
    float velocity_ = 0.0f;
    float position_ = 0.0f;
    int32_t jumpCounter_ = 0;
    int32_t jump_ = kJumpPeriod;
    float sampleRate_ = 44100.0f;
    RingBuffer ringL_{kRingSize, kLead};
    RingBuffer ringR_{kRingSize, kLead};
};

} // namespace vexbit
