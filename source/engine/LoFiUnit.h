#pragma once

#include <cstdint>

namespace vexbit {

// Lowers the effective sample rate by holding each captured sample for
// holdLength samples, and the resolution by clearing low bits of a 16-bit style
// integer image.
class LoFiUnit {
public:
    static constexpr int32_t kFullResolution = -1;

    void process(float& l, float& r);
    void processBlock(float* l, float* r, int32_t n);

    void setBitDepth(double bits);
    void setHoldLength(double samples);
    // Off passes the signal unchanged; the hold resumes where it stopped.
    void setEngaged(bool engaged) { engaged_ = engaged; }

    // The mask applied to the 16-bit image (kFullResolution keeps every bit).
    int32_t mask() const { return mask_; }
    int32_t holdLength() const { return holdLength_; }

private:
    bool engaged_ = false;
    int32_t holdLength_ = 10;
    float heldL_ = 0.0f;
    float heldR_ = 0.0f;
    int32_t counter_ = 0;
    int32_t mask_ = -2048;
};

} // namespace vexbit
