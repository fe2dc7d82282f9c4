#include "engine/reference/WeightedPicker.h"

#include "engine/reference/RandomSource.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace vexbit::reference {

WeightedPicker::WeightedPicker()
{
    RandomSource::seed(static_cast<uint32_t>(std::time(nullptr)));
}

bool WeightedPicker::setWeights(std::span<const int32_t> weights)
{
    if (weights.size() > static_cast<size_t>(kCapacity)) return false;
    count_ = static_cast<int32_t>(weights.size());
    std::fill(weights_.begin(), weights_.end(), 0);
    for (int32_t i = 0; i < count_; ++i) weights_[i] = std::max<int32_t>(weights[i], 0);
    rebuild();
    return true;
}

void WeightedPicker::setWeight(int32_t index, int32_t weight)
{
    if (index < 0 || index >= count_) return;
    weights_[index] = std::max<int32_t>(weight, 0);
    rebuild();
}

void WeightedPicker::clearWeights()
{
    std::fill(weights_.begin(), weights_.end(), 0);
    std::fill(cumulative_.begin(), cumulative_.end(), 0);
    total_ = 0;
}

void WeightedPicker::rebuild()
{
    // Sums saturate so that absurd weights cannot overflow into negative totals.
    int64_t sum = 0;
    for (int32_t i = 0; i < count_; ++i) {
        sum = std::min<int64_t>(sum + weights_[i], std::numeric_limits<int32_t>::max());
        cumulative_[i] = static_cast<int32_t>(sum);
    }
    for (int32_t i = count_; i < kCapacity; ++i) cumulative_[i] = 0;
    total_ = static_cast<int32_t>(sum);
}

std::optional<int32_t> WeightedPicker::pick() const
{
    if (total_ <= 0) return std::nullopt;
    return indexFor(RandomSource::next() % total_);
}

int32_t WeightedPicker::indexFor(int32_t r) const
{
    for (int32_t i = 0; i < count_; ++i)
        if (r < cumulative_[i]) return i;
    return count_ > 0 ? count_ - 1 : 0;
}

int32_t WeightedPicker::weight(int32_t index) const
{
    return index >= 0 && index < count_ ? weights_[index] : 0;
}

int32_t WeightedPicker::cumulative(int32_t index) const
{
    return index >= 0 && index < count_ ? cumulative_[index] : 0;
}

} // namespace vexbit::reference
