#include "ShufflerUnit.h"

#include "NumericConversions.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

ShufflerUnit::ShufflerUnit()
{
    lengthPicker.setWeights({10, 100, 10, 50, 0, 0, 0, 0, 0, 0});
    setTempo(120.0);
}

void ShufflerUnit::setTempo(double tempo)
{
    if (!isUsableRate(tempo)) return;
    lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (tempo / 60.0);
    for (int i = 0; i < kNoteValueCount; ++i) {
        const double samples =
            std::max(1.0, msPerBeat * kNoteValueBeats[i]) * static_cast<double>(sampleRate) / 1000.0;
        lengths[i] = std::clamp(truncToInt32(samples), 1, kMaxLength);
    }
}

void ShufflerUnit::gridTick(int k)
{
    if (k >= 0 && k < 4) gridCounters[k] = 0;
}

void ShufflerUnit::jump(int k)
{
    if (!active || k < 0 || k >= 4) return;
    offset = static_cast<float>(gridCounters[k]);
    sliceCounter = 0;
    if (const auto index = lengthPicker.pick(); index && *index < kNoteValueCount)
        sliceLength = lengths[*index];
}

void ShufflerUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    sampleRate = rate;
    // Slices are note values: keep them in time at the new rate.
    setTempo(lastTempo_);
}

void ShufflerUnit::setEngaged(bool engaged)
{
    active = engaged;
    if (engaged) jump(0);
}

void ShufflerUnit::selectSimpleLength(double lengthEntry)
{
    const int entry = std::clamp(truncToInt32(lengthEntry), 0, static_cast<int32_t>(kSimpleNoteValues.size()) - 1);
    lengthPicker.clearWeights();
    lengthPicker.setWeight(kSimpleNoteValues[entry], 100);
    jump(RandomSource::nextBelow(4));
}

void ShufflerUnit::setNoteValueWeight(int index, double weight)
{
    const int32_t before = lengthPicker.total();
    lengthPicker.setWeight(index, truncToInt32(weight));
    if (before <= 0 && lengthPicker.total() >= 1) jump(RandomSource::nextBelow(4));
}

} // namespace vexbit
