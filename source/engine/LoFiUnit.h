#pragma once

#include <cstdint>

namespace vexbit {

// Lowers the effective sample rate by holding each captured sample for
// holdLength samples, and the resolution by clearing low bits of a 16-bit style
// integer image. Acts only while active; the hold resumes where it stopped.
class LoFiUnit {
public:
    static constexpr int32_t kFullResolution = -1;

    void process(float& l, float& r);

    void setBitDepth(double bits);
    void setHoldLength(double samples);

    bool active = false;
    int32_t holdLength = 10;
    float heldL = 0.0f;
    float heldR = 0.0f;
    int32_t counter = 0;
    int32_t mask = -2048;
};

} // namespace vexbit
