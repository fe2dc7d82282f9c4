#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace vexbit::reference {

// A table of integer weights from which an index is drawn at random, in
// proportion to its weight. The table lives in fixed storage so that weight
// changes on the audio thread never allocate; what each index stands for is
// kept by the owner.
class WeightedPicker {
public:
    static constexpr int32_t kCapacity = 16;

    // Empty table. Reseeds the constructing thread's RandomSource with the
    // current calendar time in whole seconds.
    WeightedPicker();

    // Replaces the whole table. Returns false and changes nothing when the list
    // holds more than kCapacity weights. Negative weights count as 0.
    bool setWeights(std::span<const int32_t> weights);
    bool setWeights(std::initializer_list<int32_t> weights)
    {
        return setWeights(std::span<const int32_t>(weights.begin(), weights.size()));
    }
    // Replaces one weight; an index outside the table is ignored.
    void setWeight(int32_t index, int32_t weight);
    // Every weight to 0; the length stays.
    void clearWeights();

    // An index drawn from the next RandomSource value, or none when the total is 0.
    std::optional<int32_t> pick() const;
    // The index a draw r (0 <= r < total) selects: the first with r < cumulative.
    int32_t indexFor(int32_t r) const;

    int32_t size() const { return count_; }
    int32_t total() const { return total_; }
    int32_t weight(int32_t index) const;
    int32_t cumulative(int32_t index) const;

private:
    void rebuild();

    std::array<int32_t, kCapacity> weights_{};
    std::array<int32_t, kCapacity> cumulative_{};
    int32_t count_ = 0;
    int32_t total_ = 0;
};

} // namespace vexbit::reference
