#include "engine/ShufflerUnit.h"
#include "engine/RampFeed.h"

#include "engine/RandomSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::ShufflerUnit;

namespace {
std::unique_ptr<ShufflerUnit> makeShuffler()
{
    return std::make_unique<ShufflerUnit>();
}

// At full level a ramp comes out delayed by the slice's read distance plus one;
// this gives the distance of each sample fed from `first` on.
std::vector<int> readDistances(const std::vector<float>& out, int first)
{
    std::vector<int> d;
    for (size_t k = 0; k < out.size(); ++k) d.push_back(first + static_cast<int>(k) - 1 - static_cast<int>(out[k]));
    return d;
}

// Indices at which the read distance changes: the samples that begin a new slice.
std::vector<int> sliceStarts(const std::vector<int>& distances, int from)
{
    std::vector<int> starts;
    for (size_t k = static_cast<size_t>(from) + 1; k < distances.size(); ++k)
        if (distances[k] != distances[k - 1]) starts.push_back(static_cast<int>(k));
    return starts;
}
} // namespace

TEST(Shuffler, SwitchingOnReplaysFromTheLastBeat)
{
    auto u = makeShuffler();
    u->selectSimpleLength(4); // "1/2": slices of 44100, longer than this test
    int t = 1;
    feedRamp(*u, t, 3000);
    u->gridTick(0);
    feedRamp(*u, t, 100);
    u->setEngaged(true);
    const int start = t;
    const auto out = feedRamp(*u, t, 2000);
    // The read trails the newest recorded sample by the grid distance.
    for (int i = 20; i < 2000; ++i) ASSERT_EQ(out[i], float(start - 101 + i)) << i;
    for (int i = 0; i < 20; ++i) {
        const float wet = float(start - 101 + i);
        const float dry = float(start + i);
        EXPECT_GT(out[i], wet - 0.5f);
        EXPECT_LT(out[i], dry + 0.5f);
    }
}

TEST(Shuffler, SimpleModeEighthGivesSlicesOf11025AtGridPoints)
{
    auto u = makeShuffler();
    vexbit::RandomSource::seed(7);
    u->selectSimpleLength(2); // "1/8"
    EXPECT_EQ(u->lengthWeights().total(), 100);
    EXPECT_EQ(u->lengthWeights().weight(3), 100);
    u->setEngaged(true);
    int t = 1;
    std::vector<float> out;
    // Samples since each grid point, as the unit counts them while processing.
    std::vector<std::array<int, 4>> sinceGrid;
    std::array<int, 4> lastTick{};
    for (int n = 0; n < 11025 * 8 + 1; ++n) {
        if (n % 5512 == 0) { // sixteenth ticks every 5512 samples
            u->gridTick((n / 5512) % 4);
            lastTick[static_cast<size_t>((n / 5512) % 4)] = n;
        }
        sinceGrid.push_back({n - lastTick[0], n - lastTick[1], n - lastTick[2], n - lastTick[3]});
        out.push_back(feedRamp(*u, t, 1)[0]);
    }
    const auto distances = readDistances(out, 1);
    const auto starts = sliceStarts(distances, 20);
    ASSERT_EQ(starts.size(), 8u);
    for (size_t j = 0; j < starts.size(); ++j) {
        EXPECT_EQ(starts[j], 11025 * static_cast<int>(j + 1));
        // The slice reads from one of the four grid points, as they stood at the jump.
        const auto& since = sinceGrid[static_cast<size_t>(starts[j] - 1)];
        const int d = distances[static_cast<size_t>(starts[j])];
        EXPECT_TRUE(d == since[0] || d == since[1] || d == since[2] || d == since[3]) << j;
    }
}
