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

void setAllWeights(ShufflerUnit& u, double w)
{
    for (int i = 0; i < ShufflerUnit::kNoteValueCount; ++i) u.setNoteValueWeight(i, w);
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

TEST(Shuffler, NoteValueLengthsFollowTempoAndSampleRate)
{
    auto u = makeShuffler();
    const std::array<int32_t, 10> at120{2756, 5512, 8268, 11025, 16537, 19293, 22050, 33075, 38587, 44100};
    EXPECT_EQ(u->lengths(), at120);

    u->setTempo(60.0);
    EXPECT_EQ(u->lengths()[0], 5512);
    EXPECT_EQ(u->lengths()[9], 88200);

    // A new sample rate keeps the slices in time with the last tempo.
    u->setSampleRate(96000.0);
    EXPECT_EQ(u->lengths()[9], 192000);
    u->setTempo(120.0);
    EXPECT_EQ(u->lengths()[9], 96000);
}

TEST(Shuffler, UnusableTempoKeepsTheLastLengthsAndExtremesStayBounded)
{
    auto u = makeShuffler();
    const auto before = u->lengths();
    for (double tempo :
         {0.0, -120.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        u->setTempo(tempo);
    EXPECT_EQ(u->lengths(), before);
    u->setSampleRate(std::numeric_limits<double>::quiet_NaN());
    u->setSampleRate(-1.0);
    EXPECT_EQ(u->lengths(), before);

    u->setTempo(1e-12);
    for (int32_t len : u->lengths()) EXPECT_EQ(len, ShufflerUnit::kMaxLength);
    u->setTempo(1e12); // the 1 ms floor
    for (int32_t len : u->lengths()) EXPECT_EQ(len, 44);
}

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

TEST(Shuffler, TempoChangeAltersTheNextSliceNotTheRunningOne)
{
    auto u = makeShuffler();
    u->selectSimpleLength(2);
    u->setEngaged(true);
    int t = 1;
    auto out = feedRamp(*u, t, 5000);
    u->setTempo(60.0);
    const auto rest = feedRamp(*u, t, 30000);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_EQ(sliceStarts(readDistances(out, 1), 20), (std::vector<int>{11025, 11025 + 22050}));
}

TEST(Shuffler, EmptyWeightTableFadesToDryAndRefillingRestarts)
{
    auto u = makeShuffler();
    int t = 1;
    feedRamp(*u, t, 5000);
    u->gridTick(0);
    u->setEngaged(true);
    const auto wet = feedRamp(*u, t, 200);
    EXPECT_EQ(wet.back(), float(t - 2)) << "replays from the grid point";

    setAllWeights(*u, 0.0);
    EXPECT_EQ(u->lengthWeights().total(), 0);
    feedRamp(*u, t, 20);
    const int from = t;
    const auto out = feedRamp(*u, t, 1000);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], float(from + static_cast<int>(i)));

    // The first weight that makes the table non-empty starts a slice at once,
    // of that note value's length.
    u->setNoteValueWeight(1, 50.0);
    const int refill = t;
    const auto again = feedRamp(*u, t, 6000);
    EXPECT_EQ(sliceStarts(readDistances(again, refill), 20).front(), u->lengths()[1]);
}

TEST(Shuffler, GridCountersWithoutTicksStayBoundedAndReadTheSameSamples)
{
    auto u = makeShuffler();
    for (int32_t n = 0; n < ShufflerUnit::kGridCounterLimit - 1; ++n) {
        float l = 0.0f, r = 0.0f;
        u->process(l, r);
    }
    EXPECT_EQ(u->gridCounter(0), ShufflerUnit::kGridCounterLimit - 1);
    int t = 1;
    feedRamp(*u, t, 1);
    // Stepped back by whole ring lengths: the same place in the ring.
    EXPECT_EQ(u->gridCounter(0), ShufflerUnit::kRingSize);

    // Out-of-range grid indices are ignored.
    u->gridTick(4);
    u->gridTick(-1);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(u->gridCounter(k), ShufflerUnit::kRingSize) << k;

    // A read distance of a whole ring replays wrapped material without a fault.
    u->setEngaged(true);
    for (float v : feedRamp(*u, t, 3 * ShufflerUnit::kRingSize)) ASSERT_TRUE(std::isfinite(v));
}
