#pragma once

#include "engine/RingBuffer.h"

#include <cstdint>

namespace vexbit {

// Feedback echo. A new delay time is looked at about once a second; a change
// fades the echo out, erases the memory, jumps to the new time and fades back in.
// "Off" is level 0 and the memory keeps being fed.
class DelayUnit {
public:
    static constexpr int32_t kRingSize = 44100;
    static constexpr int32_t kLead = 10;
    // The longest delay the ring holds; longer times are read at this distance
    // instead of from wrapped, overwritten material.
    static constexpr float kMaxTime = static_cast<float>(kRingSize - kLead);

    DelayUnit();

    void process(float& l, float& r) { processBlock(&l, &r, 1); }
    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);

    // Delay time in milliseconds at the current sample rate.
    void setTimeMs(double ms);
    // Rescales the requested time; the running time follows through the usual fade.
    void setSampleRate(double sampleRate);
    // Echo level and loop gain, both taken as given.
    void setLevel(float level) { level_ = level; }
    void setFeedback(float feedback) { feedback_ = feedback; }

    float level() const { return level_; }
    float feedback() const { return feedback_; }
    // The requested delay time and the one the echo runs at now, in samples.
    float targetTime() const { return targetTime_; }
    float currentTime() const { return currentTime_; }
    float sampleRate() const { return sampleRate_; }

private:
    // Up to n frames (fewer where the ring's reads would reach them) while the
    // time is settled and fully faded in, the counter kept short of its check;
    // how many it did.
    int32_t passSteady(float* l, float* r, int32_t n, RingBuffer::Tap tap);

    float level_ = 0.3f;
    float targetTime_;
    float feedback_ = 0.3f;
    float fade_ = 0.0f;
    float currentTime_ = 11025.0f;
    int32_t counter_ = 0;
    float heldTime_ = 11025.0f;
    float sampleRate_ = 44100.0f;
    RingBuffer ringL_{kRingSize, kLead};
    RingBuffer ringR_{kRingSize, kLead};
};

} // namespace vexbit
