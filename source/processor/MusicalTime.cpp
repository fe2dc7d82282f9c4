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
    if (!(samples > 0.0))
        return 0;
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    return samples >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(samples);
}

TickGrid tickGridAt(double positionQuarters, double samplesPerBeat, double ticksPerBeat)
{
    TickGrid grid;
    grid.step = 1.0 / ticksPerBeat;
    // Distance to the next grid point; 0 when the position lies on one. The
    // outer fmod folds negative positions into the same range.
    grid.distance = std::fmod(grid.step - std::fmod(positionQuarters, grid.step), grid.step);
    grid.origin = positionQuarters;
    grid.firstOffset = toSampleCount(grid.distance * samplesPerBeat);
    grid.spacing = std::max(1, toSampleCount(samplesPerBeat / ticksPerBeat));
    return grid;
}

} // namespace vexbit
