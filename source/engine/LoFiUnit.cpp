#include "engine/LoFiUnit.h"

#include "engine/NumericConversions.h"

#include <algorithm>

namespace vexbit {

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

} // namespace vexbit

namespace vexbit {

void LoFiUnit::processBlock(float* l, float* r, int32_t n)
{
    if (!engaged_) return;
    int32_t i = 0;
    while (i < n) {
        if (counter_ == 0) {
            heldL_ = l[i];
            heldR_ = r[i];
        }
        // Every frame of a hold gives the same value, so it is quantised once.
        float outL = heldL_;
        float outR = heldR_;
        if (mask_ != kFullResolution) {
            outL = quantise(outL, mask_);
            outR = quantise(outR, mask_);
        }
        // Frames until the counter wraps (a hold of 1 or less wraps every frame).
        const int32_t frames = std::min(n - i, std::max(1, holdLength_ - counter_));
        std::fill_n(l + i, frames, outL);
        std::fill_n(r + i, frames, outR);
        counter_ += frames;
        if (counter_ >= holdLength_) counter_ = 0;
        i += frames;
    }
}

} // namespace vexbit
