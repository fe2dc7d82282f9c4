#include "engine/reference/ShufflerUnit.h"

#include "engine/reference/NumericConversions.h"

#include <algorithm>
#include <cmath>

namespace vexbit::reference {

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

} // namespace vexbit::reference
