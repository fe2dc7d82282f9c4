#include "engine/ShufflerUnit.h"

#include "engine/NumericConversions.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

ShufflerUnit::ShufflerUnit()
{
    lengthPicker_.setWeights({10, 100, 10, 50, 0, 0, 0, 0, 0, 0});
    setTempo(120.0);
}

void ShufflerUnit::setTempo(double tempo)
{
    if (!isUsableRate(tempo)) return;
    lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (tempo / 60.0);
    for (int i = 0; i < kNoteValueCount; ++i) {
        const double samples =
            std::max(1.0, msPerBeat * kNoteValueBeats[i]) * static_cast<double>(sampleRate_) / 1000.0;
        lengths_[i] = std::clamp(truncToInt32(samples), 1, kMaxLength);
    }
}

void ShufflerUnit::processBlock(float* l, float* r, int32_t n)
{
    if (playing() ? mix_ == 1.0f : mix_ == 0.0f) {
        // Playing, the frames before the one that jumps.
        const int32_t steady = playing() ? std::min(n, std::max(0, sliceLength_ - sliceCounter_ - 1)) : n;
        const int32_t done = passSteadyMix(l, r, steady);
        if (playing()) sliceCounter_ += done;
        advanceGrid(done);
        l += done;
        r += done;
        n -= done;
    }
    // The read distance changes only with a jump.
    RingBuffer::Tap tap = ringL_.tap(-offset_);
    // Frames the grid counters have been moved on by; they catch up before a jump reads them.
    int32_t counted = 0;
    for (int32_t i = 0; i < n; ++i) {
        const float inL = l[i];
        const float inR = r[i];
        const float rL = ringL_.readTap(tap);
        const float rR = ringR_.readTap(tap);
        l[i] = rL * mix_ + (1.0f - mix_) * inL;
        r[i] = (1.0f - mix_) * inR + mix_ * rR;
        if (playing()) {
            mix_ += kFadeStep;
            if (mix_ > 1.0f) mix_ = 1.0f;
            if (++sliceCounter_ >= sliceLength_) {
                advanceGrid(i - counted);
                counted = i;
                jump(RandomSource::nextBelow(4));
                tap = ringL_.tap(-offset_);
            }
        } else {
            mix_ -= kFadeStep;
            if (mix_ < 0.0f) mix_ = 0.0f;
        }
        ringL_.push(inL);
        ringR_.push(inR);
    }
    advanceGrid(n - counted);
}

int32_t ShufflerUnit::passSteadyMix(float* l, float* r, int32_t n)
{
    // The mix stays as it is; a read of 0 weight is still made, as it decides
    // the sign of a zero and turns into NaN where neighbours overflow.
    const float mix = mix_;
    const RingBuffer::Tap tap = ringL_.tap(-offset_);
    std::array<float, kPassChunk> readL;
    std::array<float, kPassChunk> readR;
    int32_t start = 0;
    for (; start < n; start += kPassChunk) {
        const int32_t m = std::min(kPassChunk, n - start);
        float* cl = l + start;
        float* cr = r + start;
        if (!ringL_.readAhead(tap, cl, readL.data(), m) || !ringR_.readAhead(tap, cr, readR.data(), m)) break;
        ringL_.pushBlock(cl, m);
        ringR_.pushBlock(cr, m);
        for (int32_t i = 0; i < m; ++i) {
            cl[i] = readL[static_cast<size_t>(i)] * mix + (1.0f - mix) * cl[i];
            cr[i] = (1.0f - mix) * cr[i] + mix * readR[static_cast<size_t>(i)];
        }
    }
    return std::min(start, n);
}

void ShufflerUnit::advanceGrid(int32_t frames)
{
    // Per frame a counter counts up and steps back once it reaches the limit;
    // the same in runs up to each step back.
    for (int32_t& c : gridCounters_) {
        int32_t left = frames;
        while (left > 0) {
            const int32_t run = std::min(left, kGridCounterLimit - c);
            c += run;
            left -= run;
            if (c >= kGridCounterLimit) c -= kGridCounterLimit - kRingSize;
        }
    }
}

void ShufflerUnit::gridTick(int k)
{
    if (k >= 0 && k < 4) gridCounters_[k] = 0;
}

void ShufflerUnit::jump(int k)
{
    if (!active_ || k < 0 || k >= 4) return;
    offset_ = static_cast<float>(gridCounters_[k]);
    sliceCounter_ = 0;
    if (const auto index = lengthPicker_.pick(); index && *index < kNoteValueCount) sliceLength_ = lengths_[*index];
}

void ShufflerUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    sampleRate_ = rate;
    // Slices are note values: keep them in time at the new rate.
    setTempo(lastTempo_);
}

void ShufflerUnit::setEngaged(bool engaged)
{
    active_ = engaged;
    if (engaged) jump(0);
}

void ShufflerUnit::selectSimpleLength(double lengthEntry)
{
    const int entry = std::clamp(truncToInt32(lengthEntry), 0, static_cast<int32_t>(kSimpleNoteValues.size()) - 1);
    lengthPicker_.clearWeights();
    lengthPicker_.setWeight(kSimpleNoteValues[entry], 100);
    jump(RandomSource::nextBelow(4));
}

void ShufflerUnit::setNoteValueWeight(int index, double weight)
{
    const int32_t before = lengthPicker_.total();
    lengthPicker_.setWeight(index, truncToInt32(weight));
    if (before <= 0 && lengthPicker_.total() >= 1) jump(RandomSource::nextBelow(4));
}

} // namespace vexbit
