#include "engine/reference/RingBuffer.h"

#include <algorithm>
#include <cmath>

namespace vexbit::reference {

RingBuffer::RingBuffer(int32_t size, int32_t lead)
    : size_(std::max<int32_t>(size, 1)), lead_(((lead % size_) + size_) % size_), writeIndex_(lead_),
      samples_(static_cast<size_t>(size_), 0.0f)
{}

void RingBuffer::wrapFarOffset(float offset, int32_t& whole, float& frac) const
{
    if (!std::isfinite(offset)) {
        whole = 0;
        frac = 0.0f;
        return;
    }
    const float floored = std::floor(offset);
    frac = offset - floored;
    // fmod is exact, so far offsets land on the same sample as near ones.
    whole = static_cast<int32_t>(std::fmod(static_cast<double>(floored), static_cast<double>(size_)));
}

void RingBuffer::clear()
{
    std::fill(samples_.begin(), samples_.end(), 0.0f);
}

} // namespace vexbit::reference
