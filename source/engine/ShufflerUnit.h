#pragma once

#include "engine/RandomSource.h"
#include "engine/RingBuffer.h"
#include "engine/WeightedPicker.h"

#include <array>
#include <cstdint>

namespace vexbit {

// Cuts the signal into tempo-synced slices and replays each one from one of the
// last four sixteenth-note grid points, so the current beat is heard re-ordered.
// Slice lengths are drawn from ten note values with the picker's weights.
class ShufflerUnit {
public:
    static constexpr int32_t kRingSize = 88200;
    static constexpr int kNoteValueCount = 10;
    // Length of each note value in beats, shortest first.
    static constexpr std::array<double, kNoteValueCount> kNoteValueBeats{0.125, 0.25, 0.375, 0.5,  0.75,
                                                                         0.875, 1.0,  1.5,   1.75, 2.0};
    // The simple mode's five lengths ("1/32" to "1/2") as note-value indices.
    static constexpr std::array<int, 5> kSimpleNoteValues{0, 1, 3, 6, 9};
    // Longest slice, so lengths stay exact in float and far from int32 overflow.
    static constexpr int32_t kMaxLength = 1 << 24;
    // Without ticks the grid counters would grow forever. Past this limit they
    // step back by whole ring lengths, which reads exactly the same samples.
    static constexpr int32_t kGridCounterLimit = kRingSize * 190;

    ShufflerUnit();

    void process(float& l, float& r) { processBlock(&l, &r, 1); }
    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);
    // Frames from now to the one that draws the next slice (that frame
    // included), or kNoDraw while no slice plays. The engine cuts its blocks
    // there so that every unit's random draws keep their order.
    int32_t framesToNextDraw() const
    {
        if (!playing()) return kNoDraw;
        return sliceCounter_ + 1 >= sliceLength_ ? 1 : sliceLength_ - sliceCounter_;
    }
    static constexpr int32_t kNoDraw = 0x7FFFFFFF;

    // Recomputes the ten slice lengths at the current sample rate; the running
    // slice keeps its length. A tempo that is not finite and positive is
    // ignored, so the lengths of the last usable tempo stay.
    void setTempo(double tempo);
    // A sixteenth-note boundary with index k (0 to 3) within the beat.
    void gridTick(int k);
    // Recomputes the lengths for the last usable tempo. Ignored unless finite
    // and positive.
    void setSampleRate(double sampleRate);

    // Switching on replays from the start of the current beat.
    void setEngaged(bool engaged);
    // Simple mode: only the note value of the length entry (0 "1/32" to 4 "1/2")
    // remains, then a new slice starts from a random grid point.
    void selectSimpleLength(double lengthEntry);
    // Advanced mode: the weight of one note value (0 to 9). A table that was
    // empty and now has weight starts a new slice from a random grid point.
    void setNoteValueWeight(int index, double weight);

    static constexpr float kFadeStep = 0.05f;

    // Slice length of each note value, in samples.
    const std::array<int32_t, kNoteValueCount>& lengths() const { return lengths_; }
    // The weights slice lengths are drawn with, one per note value.
    const WeightedPicker& lengthWeights() const { return lengthPicker_; }
    // Samples since grid point k (0 to 3), as far as the ring can tell them apart.
    int32_t gridCounter(int k) const { return gridCounters_[static_cast<size_t>(k & 3)]; }

private:
    int32_t sliceCounter_ = 0;
    std::array<int32_t, kNoteValueCount> lengths_{};
    float offset_ = 0.0f;
    int32_t sliceLength_ = 5512;
    bool active_ = false;
    std::array<int32_t, 4> gridCounters_{};
    WeightedPicker lengthPicker_;
    float mix_ = 0.0f;
    float sampleRate_ = 44100.0f;
    RingBuffer ringL_{kRingSize, 1};
    RingBuffer ringR_{kRingSize, 1};
    double lastTempo_ = 120.0;

    // An empty weight table has no slice to play: the unit then acts as off.
    bool playing() const { return active_ && lengthPicker_.total() >= 1; }

    // Playing and fully faded in, or not playing and fully faded out, with no
    // jump in the n frames: the same as frames of the general loop, with the
    // ring read and written in blocks. Stops where the reads would reach the
    // frames' own recording; returns the frames done (the slice counter is the caller's).
    int32_t passSteadyMix(float* l, float* r, int32_t n);
    static constexpr int32_t kPassChunk = RingBuffer::kMaxAhead;

    // The grid counters as after frames more samples.
    void advanceGrid(int32_t frames);

    // When active, starts a new slice read from grid point k (0 to 3) with a
    // freshly drawn length; an empty table keeps the previous length.
    void jump(int k);
};

} // namespace vexbit
