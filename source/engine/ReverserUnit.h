#pragma once

#include "engine/RingBuffer.h"

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
        // Both rings have one size, so one split offset serves both.
        const RingBuffer::Tap tap = ringL_.tap(-position_);
        const float wL = ringL_.readTap(tap);
        const float wR = ringR_.readTap(tap);
        l = wL * mix_ + (1.0f - mix_) * inL;
        r = wR * mix_ + (1.0f - mix_) * inR;
        // The read index moves forward by one while the offset grows by two, so
        // the read runs backwards through the recording at normal speed.
        position_ += 2.0f;
        if (++counter_ >= length_) {
            counter_ = 0;
            position_ = 0.0f;
        }
        if (active_) {
            mix_ += kFadeStep;
            if (mix_ > 1.0f) mix_ = 1.0f;
        } else {
            mix_ -= kFadeStep;
            if (mix_ < 0.0f) mix_ = 0.0f;
        }
        ringL_.push(inL);
        ringR_.push(inR);
    }

    void processBlock(float* l, float* r, int32_t n)
    {
        if ((!active_ && mix_ == 0.0f) || (active_ && mix_ == 1.0f)) {
            passSteadyMix(l, r, n);
            return;
        }
        for (int32_t i = 0; i < n; ++i) process(l[i], r[i]);
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

    // Segment length in samples.
    int32_t length() const { return length_; }

private:
    static constexpr int32_t kPassChunk = 256;

    // Fully faded in or out, so the mix stays as it is: the same as n calls of
    // process, with the ring read and written in blocks.
    void passSteadyMix(float* l, float* r, int32_t n);
    // One chunk of that while every read offset stays within the ring.
    void passSteadyMixNear(float* l, float* r, int32_t m);

    int32_t counter_ = 0;
    int32_t length_ = 5512;
    float position_ = 0.0f;
    bool active_ = false;
    float mix_ = 0.0f;
    float sampleRate_ = 44100.0f;
    RingBuffer ringL_{kRingSize, 1};
    RingBuffer ringR_{kRingSize, 1};
    double lastTempo_ = 120.0;
};

} // namespace vexbit
