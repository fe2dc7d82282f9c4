#pragma once

#include <array>
#include <cstdint>

namespace vexbit {

// Cuts the signal into tempo-synced slices and replays each one from one of the
// last four sixteenth-note grid points, so the current beat is heard re-ordered.
class ShufflerUnit {
public:
    static constexpr int32_t kRingSize = 88200;
    static constexpr int kNoteValueCount = 10;

    ShufflerUnit();

    void process(float& l, float& r);

    // Recomputes the ten slice lengths; the running slice keeps its length.
    void setTempo(double tempo);
    // A sixteenth-note boundary with index k (0 to 3) within the beat.
    void gridTick(int k);
    // Starts a new slice from grid point k, when active.
    void jump(int k);
    void setSampleRate(double sampleRate);

    // Switching on replays from the start of the current beat.
    void setEngaged(bool engaged);

    int32_t sliceCounter = 0;
    std::array<int32_t, kNoteValueCount> lengths{};
    float offset = 0.0f;
    int32_t sliceLength = 5512;
    bool active = false;
    std::array<int32_t, 4> gridCounters{};
    float mix = 0.0f;
    float sampleRate = 44100.0f;
};

} // namespace vexbit
