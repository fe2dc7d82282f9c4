#pragma once

#include "RingBuffer.h"

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

    void process(float& l, float& r);

    // Delay time in milliseconds at the current sample rate.
    void setTimeMs(double ms);
    // Rescales the requested time; the running time follows through the usual fade.
    void setSampleRate(double sampleRate);

    float level = 0.3f;
    float targetTime;
    float feedback = 0.3f;
    float fade = 0.0f;
    float currentTime = 11025.0f;
    int32_t counter = 0;
    float heldTime = 11025.0f;
    float sampleRate = 44100.0f;
    RingBuffer ringL{kRingSize, kLead};
    RingBuffer ringR{kRingSize, kLead};
};

} // namespace vexbit
