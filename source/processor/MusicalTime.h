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

// Where the musical ticks of a block fall. Tick k belongs to the k-th grid
// point from the block's start; it is dispatched at offsetOf(k), the sample in
// which its grid point lies, and carries the grid point's exact position. Both
// follow from the grid itself, so a grid point gets the same sample and
// position whatever block the host cut around it.
struct TickGrid {
    double step = 0.125;        // quarter notes between grid points
    double firstPosition = 0.0; // first grid point at or after the block's start, in quarter notes
    double firstSample = 0.0;   // its distance from the block's start, in samples
    double tickSamples = 1.0;   // samples between grid points

    // Never before sample k, so a block of n samples holds at most n ticks even
    // when grid points lie closer together than samples.
    int64_t offsetOf(int64_t k) const;
    double positionOf(int64_t k) const { return firstPosition + static_cast<double>(k) * step; }
};

// The grid for a block that starts at the given position in quarter notes.
// The first tick is the grid point at or after the position; a grid point a
// rounding error before the position counts as on it, so that host positions
// computed with rounding neither lose a tick nor tick twice.
TickGrid tickGridAt(double positionQuarters, double samplesPerBeat, double ticksPerBeat);

} // namespace vexbit
