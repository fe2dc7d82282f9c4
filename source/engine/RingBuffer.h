#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace vexbit {

// A fixed-size circular store of one channel's recent samples, read back at a
// fractional offset with linear interpolation. The write position runs `lead`
// samples ahead of the read position; offsets are relative to the read position.
// The memory is allocated once, at construction; read, push and clear never allocate.
class RingBuffer {
public:
    // size >= 1; a smaller size is raised to 1. lead is reduced modulo size.
    RingBuffer(int32_t size, int32_t lead);

    // With lead 1, offset 0 is the newest sample and -d the one pushed d samples
    // earlier; with lead L, offset o is the sample pushed (L - 1 - o) samples before
    // the newest. Offsets beyond the ring wrap; a non-finite offset reads as 0.
    float read(float offset) const { return readTap(tap(offset)); }

    // An offset split into whole samples and fraction. A unit that reads at one
    // offset for many frames splits it once and reads with readTap.
    struct Tap {
        int32_t whole;
        float frac;
    };
    Tap tap(float offset) const
    {
        Tap t;
        if (offset > -static_cast<float>(size_) && offset < static_cast<float>(size_)) {
            // The usual case, kept free of library calls and divisions.
            t.whole = static_cast<int32_t>(offset);
            if (static_cast<float>(t.whole) > offset) --t.whole; // floor
            t.frac = offset - static_cast<float>(t.whole);       // exact, 0 <= frac < 1
        } else {
            wrapFarOffset(offset, t.whole, t.frac);
        }
        return t;
    }
    // whole must lie in (-size, size).
    float readTap(Tap t) const
    {
        int32_t i0 = readIndex_ + t.whole;
        if (i0 < 0)
            i0 += size_;
        else if (i0 >= size_)
            i0 -= size_;
        const int32_t i1 = i0 + 1 == size_ ? 0 : i0 + 1;
        const float s0 = samples_[static_cast<size_t>(i0)];
        const float s1 = samples_[static_cast<size_t>(i1)];
        return s0 + (s1 - s0) * t.frac;
    }

    // Stores x (or 0 when x is zero, subnormal, infinite or NaN, so feedback
    // paths decay to exact zeros and never carry NaN) and advances both indices.
    void push(float x)
    {
        samples_[static_cast<size_t>(writeIndex_)] = storable(x);
        if (++readIndex_ == size_) readIndex_ = 0;
        if (++writeIndex_ == size_) writeIndex_ = 0;
    }

    // The same as n calls of push.
    void pushBlock(const float* x, int32_t n);
    // Copies n stored samples as they are now, the first at read position + whole
    // (whole in (-size, size)), the rest following it round the ring.
    void copyOut(int32_t whole, float* dst, int32_t n) const;
    // The same n samples in place where they lie side by side in the ring,
    // else copied to scratch: small blocks skip the copy.
    const float* view(int32_t whole, float* scratch, int32_t n) const;
    // For a ring of lead 1: the reads at t of n frames that each read, then push
    // x[i], computed before any of those pushes (make them with pushBlock after).
    // False, with nothing read, where the reads would reach samples pushed later
    // in those frames. n <= kMaxAhead.
    bool readAhead(Tap t, const float* x, float* out, int32_t n) const;
    static constexpr int32_t kMaxAhead = 256;
    // What push stores for x.
    static float storable(float x)
    {
        // The same as isnormal, written so that loops over it vectorise.
        const float a = std::fabs(x);
        return a >= std::numeric_limits<float>::min() && a <= std::numeric_limits<float>::max() ? x : 0.0f;
    }

    // Silences the stored samples; the indices stay.
    void clear();

    int32_t size() const { return size_; }
    int32_t lead() const { return lead_; }
    int32_t readIndex() const { return readIndex_; }
    int32_t writeIndex() const { return writeIndex_; }
    const float* data() const { return samples_.data(); }

private:
    // Reduces an offset of a ring's length or more (or a non-finite one, read as
    // 0) to whole in (-size, size) and its fraction.
    void wrapFarOffset(float offset, int32_t& whole, float& frac) const;

    int32_t size_;
    int32_t lead_;
    int32_t readIndex_ = 0;
    int32_t writeIndex_;
    std::vector<float> samples_;
};

} // namespace vexbit
