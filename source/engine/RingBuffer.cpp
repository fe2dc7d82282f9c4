#include "engine/RingBuffer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vexbit {

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

void RingBuffer::pushBlock(const float* x, int32_t n)
{
    // A division costs more than the rest of a small block's bookkeeping.
    readIndex_ += n < size_ ? n : n % size_;
    if (readIndex_ >= size_) readIndex_ -= size_;
    while (n > 0) {
        const int32_t run = std::min(n, size_ - writeIndex_);
        float* dst = samples_.data() + writeIndex_;
        for (int32_t i = 0; i < run; ++i) dst[i] = storable(x[i]);
        x += run;
        n -= run;
        writeIndex_ += run;
        if (writeIndex_ == size_) writeIndex_ = 0;
    }
}

void RingBuffer::copyOut(int32_t whole, float* dst, int32_t n) const
{
    int32_t i = readIndex_ + whole;
    if (i < 0)
        i += size_;
    else if (i >= size_)
        i -= size_;
    while (n > 0) {
        const int32_t run = std::min(n, size_ - i);
        std::copy_n(samples_.data() + i, run, dst);
        dst += run;
        n -= run;
        i = 0;
    }
}

const float* RingBuffer::view(int32_t whole, float* scratch, int32_t n) const
{
    int32_t i = readIndex_ + whole;
    if (i < 0)
        i += size_;
    else if (i >= size_)
        i -= size_;
    if (n <= size_ - i) return samples_.data() + i;
    copyOut(whole, scratch, n);
    return scratch;
}

bool RingBuffer::readAhead(Tap t, const float* __restrict x, float* __restrict out, int32_t n) const
{
    // Frame i reads the pair from position + ahead + i on. At distance 0 the
    // first of the pair is what the frame before pushed; from 1 to size - n
    // every read comes from before the frames.
    const int32_t ahead = t.whole < 0 ? t.whole + size_ : t.whole;
    if (lead_ != 1 || n > kMaxAhead || ahead > size_ - n) return false;
    std::array<float, kMaxAhead + 1> scratch;
    const float* __restrict old = view(t.whole, scratch.data(), n + 1);
    const float* s1 = old + 1;
    if (ahead != 0) {
        for (int32_t i = 0; i < n; ++i) {
            const float s0 = old[i];
            out[i] = s0 + (s1[i] - s0) * t.frac;
        }
        return true;
    }
    if (n > 0) out[0] = old[0] + (s1[0] - old[0]) * t.frac;
    for (int32_t i = 1; i < n; ++i) {
        const float s0 = storable(x[i - 1]);
        out[i] = s0 + (s1[i] - s0) * t.frac;
    }
    return true;
}

void RingBuffer::clear()
{
    std::fill(samples_.begin(), samples_.end(), 0.0f);
}

} // namespace vexbit
