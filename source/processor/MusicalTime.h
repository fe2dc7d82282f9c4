#pragma once

#include <cstdint>

namespace vexbit {

// Host tempos and sample rates outside these ranges (and non-finite ones) are
// ignored: the processor keeps the last usable value, so a broken host context
// can neither stall the tick loop nor push non-finite settings into the engine.
inline constexpr double kMinUsableTempo = 1.0;
inline constexpr double kMaxUsableTempo = 10000.0;
inline constexpr double kMinUsableSampleRate = 1000.0;
inline constexpr double kMaxUsableSampleRate = 10000000.0;

bool isUsableTempo(double bpm);
bool isUsableSampleRate(double hz);

// Truncates a sample count towards zero and saturates it to [0, INT32_MAX];
// NaN gives 0.
int32_t toSampleCount(double samples);

// Where the musical ticks of a block fall: tick k sits at sample
// firstOffset + k * spacing; its musical position is positionOf(k).
struct TickGrid {
    int32_t firstOffset = 0;
    int32_t spacing = 1;
    double step = 0.125;
    double distance = 0.0; // from the block's position to the first grid point
    double origin = 0.0;   // the block's position in quarter notes

    double positionOf(int64_t k) const { return static_cast<double>(k) * step + distance + origin; }
};

// The grid for a block that starts at the given position in quarter notes.
// The first tick is the grid point at or after the position. The spacing is at
// least one sample, so a block of n samples never holds more than n ticks.
TickGrid tickGridAt(double positionQuarters, double samplesPerBeat, double ticksPerBeat);

} // namespace vexbit
