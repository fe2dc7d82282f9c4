#pragma once

#include "RingBuffer.h"

#include <cstdint>

namespace vexbit {

// Plays the signal backwards in tempo-synced segments: each segment replays the
// stretch of input just before it, last sample first. The segment clock and the
// recording run all the time, engaged or not.
class ReverserUnit {
public:
    static constexpr int32_t kRingSize = 533610;
    // Longest segment: keeps the read offset (twice the length) exact in float.
    // Segments longer than half the ring replay wrapped, older material.
    static constexpr int32_t kMaxLength = 1 << 24;

    ReverserUnit();

    void process(float& l, float& r)
    {
        const float inL = l;
        const float inR = r;
        const float wL = ringL.read(-position);
        const float wR = ringR.read(-position);
        l = wL * mix + (1.0f - mix) * inL;
        r = wR * mix + (1.0f - mix) * inR;
        // The read index moves forward by one while the offset grows by two, so
        // the read runs backwards through the recording at normal speed.
        position += 2.0f;
        if (++counter >= length) {
            counter = 0;
            position = 0.0f;
        }
        if (active) {
            mix += kFadeStep;
            if (mix > 1.0f) mix = 1.0f;
        } else {
            mix -= kFadeStep;
            if (mix < 0.0f) mix = 0.0f;
        }
        ringL.push(inL);
        ringR.push(inR);
    }

    // Switching on starts a new segment at once; switching off only fades out.
    void setEngaged(bool engaged);
    // Segment length from a count of thirty-second notes at the given tempo (BPM),
    // at least 1 ms. A tempo that is not finite and positive is replaced by the
    // last usable one; a count that is not finite is ignored.
    void setLength(double thirtySecondNotes, double tempo);
    // Rescales the length; ignored unless finite and positive.
    void setSampleRate(double sampleRate);

    static constexpr float kFadeStep = 0.05f;

    int32_t counter = 0;
    int32_t length = 5512;
    float position = 0.0f;
    bool active = false;
    float mix = 0.0f;
    float sampleRate = 44100.0f;
    RingBuffer ringL{kRingSize, 1};
    RingBuffer ringR{kRingSize, 1};

private:
    double lastTempo_ = 120.0;
};

} // namespace vexbit
