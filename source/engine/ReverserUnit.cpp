#include "engine/ReverserUnit.h"

#include "engine/NumericConversions.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vexbit {

namespace {
int32_t boundedLength(double samples)
{
    return std::clamp(truncToInt32(samples), 1, ReverserUnit::kMaxLength);
}
} // namespace

ReverserUnit::ReverserUnit() = default;

void ReverserUnit::setEngaged(bool engaged)
{
    if (engaged) {
        position_ = 0.0f;
        counter_ = 0;
    }
    active_ = engaged;
}

void ReverserUnit::setLength(double thirtySecondNotes, double tempo)
{
    if (!std::isfinite(thirtySecondNotes)) return;
    if (isUsableRate(tempo)) lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (lastTempo_ / 60.0);
    const double ms = std::max(1.0, msPerBeat * thirtySecondNotes * 0.125);
    length_ = boundedLength(static_cast<double>(sampleRate_) * ms / 1000.0);
}

void ReverserUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    length_ = boundedLength(newRate / static_cast<double>(sampleRate_) * length_);
    sampleRate_ = rate;
}

void ReverserUnit::passSteadyMix(float* l, float* r, int32_t n)
{
    for (int32_t start = 0; start < n; start += kPassChunk) {
        const int32_t m = std::min(kPassChunk, n - start);
        // Resets only bring the position back to 0, so this bounds every read
        // of the chunk, the pair's second sample and the chunk's own pushes included.
        if (position_ + static_cast<float>(4 * kPassChunk) < static_cast<float>(kRingSize)) {
            passSteadyMixNear(l + start, r + start, m);
        } else {
            for (int32_t i = 0; i < m; ++i) process(l[start + i], r[start + i]);
        }
    }
}

void ReverserUnit::passSteadyMixNear(float* l, float* r, int32_t m)
{
    // Sample values by their place relative to the read position at the chunk's
    // start: place p >= 1 is the one frame p - 1 of this chunk pushes. Each
    // segment reads the places just before its start backwards, so a buffer
    // of the chunk's pushes and the older samples it reaches covers it.
    std::array<float, 2 * kPassChunk + 2> valuesL;
    std::array<float, 2 * kPassChunk + 2> valuesR;
    std::array<float, kPassChunk> readL;
    std::array<float, kPassChunk> readR;
    const float mix = mix_;
    int32_t j = 0;
    while (j < m) {
        // Frames until the counter wraps, at least the one frame that wraps it.
        const int32_t frames = std::max(1, std::min(m - j, length_ - counter_));
        // Frame i of the segment reads places top - i and top - i + 1. The
        // position is a whole number of samples, so the fraction is a zero,
        // whose sign cannot change a read of stored (never negative-zero) samples.
        const int32_t top = j - static_cast<int32_t>(position_);
        const int32_t lowest = top - frames + 1;
        const int32_t count = frames + 1;
        ringL_.copyOut(lowest, valuesL.data(), count);
        ringR_.copyOut(lowest, valuesR.data(), count);
        // Places 1..j were pushed by earlier frames of this chunk; the place
        // above them is still the old sample when the segment's first frame reads it.
        const int32_t fromNew = std::max(lowest, 1);
        const int32_t toNew = std::min(lowest + count - 1, j);
        for (int32_t p = fromNew; p <= toNew; ++p) {
            valuesL[static_cast<size_t>(p - lowest)] = RingBuffer::storable(l[p - 1]);
            valuesR[static_cast<size_t>(p - lowest)] = RingBuffer::storable(r[p - 1]);
        }
        for (int32_t i = 0; i < frames; ++i) {
            const size_t at = static_cast<size_t>(frames - 1 - i);
            const float s0L = valuesL[at];
            const float s0R = valuesR[at];
            readL[static_cast<size_t>(j + i)] = s0L + (valuesL[at + 1] - s0L) * 0.0f;
            readR[static_cast<size_t>(j + i)] = s0R + (valuesR[at + 1] - s0R) * 0.0f;
        }
        position_ += static_cast<float>(2 * frames);
        counter_ += frames;
        if (counter_ >= length_) {
            counter_ = 0;
            position_ = 0.0f;
        }
        j += frames;
    }
    ringL_.pushBlock(l, m);
    ringR_.pushBlock(r, m);
    for (int32_t i = 0; i < m; ++i) {
        l[i] = readL[static_cast<size_t>(i)] * mix + (1.0f - mix) * l[i];
        r[i] = readR[static_cast<size_t>(i)] * mix + (1.0f - mix) * r[i];
    }
}

} // namespace vexbit
