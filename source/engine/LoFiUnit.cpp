#include "LoFiUnit.h"

#include "NumericConversions.h"

#include <algorithm>

namespace vexbit {

namespace {
constexpr float kScale = 32767.0f;
// Fewer than two bits would leave nothing but the sign; two is the floor.
constexpr int32_t kCoarsestMask = -16384;

float quantise(float value, int32_t mask)
{
    const int32_t n = truncToInt32(static_cast<double>(value * kScale));
    return static_cast<float>(n & mask) / kScale;
}
} // namespace

void LoFiUnit::setBitDepth(double value)
{
    const int32_t bits = truncToInt32(value);
    if (bits < 2) {
        mask = kCoarsestMask;
        return;
    }
    const int32_t shift = 16 - std::min(bits, 16);
    mask = static_cast<int32_t>(~0u << shift);
}

void LoFiUnit::setHoldLength(double samples) { holdLength = truncToInt32(samples); }

void LoFiUnit::process(float& l, float& r)
{
    if (!active) return;
    if (counter == 0) {
        heldL = l;
        heldR = r;
    }
    l = heldL;
    r = heldR;
    if (mask != kFullResolution) {
        l = quantise(l, mask);
        r = quantise(r, mask);
    }
    if (++counter >= holdLength) counter = 0;
}

} // namespace vexbit
