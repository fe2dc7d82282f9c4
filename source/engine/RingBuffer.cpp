#include "RingBuffer.h"

#include <algorithm>

namespace vexbit {

RingBuffer::RingBuffer(int32_t size, int32_t lead)
    : size_(std::max<int32_t>(size, 1)),
      lead_(((lead % size_) + size_) % size_),
      writeIndex_(lead_),
      samples_(static_cast<size_t>(size_), 0.0f)
{
}

void RingBuffer::clear() { std::fill(samples_.begin(), samples_.end(), 0.0f); }

} // namespace vexbit
