#include "processor/MusicalTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexbit {

bool isUsableTempo(double bpm)
{
    return std::isfinite(bpm) && bpm >= kMinUsableTempo && bpm <= kMaxUsableTempo;
}

bool isUsableSampleRate(double hz)
{
    return std::isfinite(hz) && hz >= kMinUsableSampleRate && hz <= kMaxUsableSampleRate;
}

int32_t toSampleCount(double samples)
{
    if (!(samples > 0.0)) return 0;
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    return samples >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(samples);
}

namespace {
// Position arithmetic rounds; grid points within this many samples of a
// sample boundary are put on its later side, the same way in every block.
constexpr double kSampleTolerance = 1e-3;
} // namespace

int64_t TickGrid::offsetOf(int64_t k) const
{
    const double exact = firstSample + static_cast<double>(k) * tickSamples + kSampleTolerance;
    const auto sample = exact < 9.0e18 ? static_cast<int64_t>(std::floor(exact)) : std::numeric_limits<int64_t>::max();
    return std::max(k, sample);
}

TickGrid tickGridAt(double positionQuarters, double samplesPerBeat, double ticksPerBeat)
{
    TickGrid grid;
    grid.step = 1.0 / ticksPerBeat;
    grid.tickSamples = samplesPerBeat / ticksPerBeat;
    const double tolerance = kSampleTolerance / grid.tickSamples; // in grid steps
    const double firstIndex = std::ceil(positionQuarters / grid.step - tolerance);
    grid.firstPosition = std::isfinite(firstIndex) ? firstIndex * grid.step : positionQuarters;
    // Far from zero the positions can no longer tell grid points apart; the
    // distance is then kept within one grid step so the ticks stay spaced.
    const double distance = (grid.firstPosition - positionQuarters) * samplesPerBeat;
    grid.firstSample = std::clamp(std::isfinite(distance) ? distance : 0.0, 0.0, grid.tickSamples);
    return grid;
}

} // namespace vexbit
