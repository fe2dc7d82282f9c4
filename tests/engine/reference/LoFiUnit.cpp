#include "engine/reference/LoFiUnit.h"

#include "engine/reference/NumericConversions.h"

#include <algorithm>

namespace vexbit::reference {

namespace {
constexpr float kScale = 32767.0f;
// Fewer than two bits would leave nothing but the sign; two is the floor.
constexpr int32_t kCoarsestMask = -16384;

float quantise(float value, int32_t mask_)
{
    const int32_t n = truncToInt32(static_cast<double>(value * kScale));
    return static_cast<float>(n & mask_) / kScale;
}
} // namespace

void LoFiUnit::setBitDepth(double value)
{
    const int32_t bits = truncToInt32(value);
    if (bits < 2) {
        mask_ = kCoarsestMask;
        return;
    }
    const int32_t shift = 16 - std::min(bits, 16);
    mask_ = static_cast<int32_t>(~0u << shift);
}

void LoFiUnit::setHoldLength(double samples)
{
    holdLength_ = truncToInt32(samples);
}

void LoFiUnit::process(float& l, float& r)
{
    if (!engaged_) return;
    if (counter_ == 0) {
        heldL_ = l;
        heldR_ = r;
    }
    l = heldL_;
    r = heldR_;
    if (mask_ != kFullResolution) {
        l = quantise(l, mask_);
        r = quantise(r, mask_);
    }
    if (++counter_ >= holdLength_) counter_ = 0;
}

} // namespace vexbit::reference
