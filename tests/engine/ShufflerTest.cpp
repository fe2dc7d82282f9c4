#include "ShufflerUnit.h"
#include "RampFeed.h"

#include "RandomSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::ShufflerUnit;

namespace {
std::unique_ptr<ShufflerUnit> makeShuffler() { return std::make_unique<ShufflerUnit>(); }


void setAllWeights(ShufflerUnit& u, double w)
{
    for (int i = 0; i < ShufflerUnit::kNoteValueCount; ++i) u.setNoteValueWeight(i, w);
}
} // namespace

TEST(Shuffler, NoteValueLengthsFollowTempoAndSampleRate)
{
    auto u = makeShuffler();
    const std::array<int32_t, 10> at120{2756, 5512, 8268, 11025, 16537, 19293, 22050, 33075, 38587, 44100};
    EXPECT_EQ(u->lengths, at120);

    u->setTempo(60.0);
    EXPECT_EQ(u->lengths[0], 5512);
    EXPECT_EQ(u->lengths[9], 88200);

    // A new sample rate keeps the slices in time with the last tempo.
    u->setSampleRate(96000.0);
    EXPECT_EQ(u->lengths[9], 192000);
    u->setTempo(120.0);
    EXPECT_EQ(u->lengths[9], 96000);
    EXPECT_EQ(u->ringL.size(), ShufflerUnit::kRingSize);
}

TEST(Shuffler, UnusableTempoKeepsTheLastLengthsAndExtremesStayBounded)
{
    auto u = makeShuffler();
    const auto before = u->lengths;
    for (double tempo : {0.0, -120.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()})
        u->setTempo(tempo);
    EXPECT_EQ(u->lengths, before);
    u->setSampleRate(std::numeric_limits<double>::quiet_NaN());
    u->setSampleRate(-1.0);
    EXPECT_EQ(u->lengths, before);

    u->setTempo(1e-12);
    for (int32_t len : u->lengths) EXPECT_EQ(len, ShufflerUnit::kMaxLength);
    u->setTempo(1e12); // the 1 ms floor
    for (int32_t len : u->lengths) EXPECT_EQ(len, 44);
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
    EXPECT_EQ(u->offset, 100.0f);
    EXPECT_EQ(u->sliceLength, 44100);

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
    EXPECT_EQ(u->lengthPicker.total(), 100);
    EXPECT_EQ(u->lengthPicker.weight(3), 100);
    u->setEngaged(true);
    int t = 1;
    int lastStart = 0;
    int slices = 0;
    for (int n = 0; n < 11025 * 8; ++n) {
        if (n % 5512 == 0) u->gridTick((n / 5512) % 4); // sixteenth ticks every 5512 samples
        feedRamp(*u, t, 1);
        if (u->sliceCounter == 0) {
            if (slices > 0) {
                EXPECT_EQ(n - lastStart, 11025);
            }
            EXPECT_EQ(u->sliceLength, 11025);
            // The new slice reads from one of the four grid points (whose
            // counters have since moved on by the sample just processed).
            bool atGridPoint = false;
            for (int32_t c : u->gridCounters) atGridPoint |= (u->offset == float(c - 1));
            EXPECT_TRUE(atGridPoint);
            lastStart = n;
            ++slices;
        }
    }
    EXPECT_EQ(slices, 8);
}

TEST(Shuffler, TempoChangeAltersTheNextSliceNotTheRunningOne)
{
    auto u = makeShuffler();
    u->selectSimpleLength(2);
    u->setEngaged(true);
    int t = 1;
    feedRamp(*u, t, 5000);
    u->setTempo(60.0);
    EXPECT_EQ(u->sliceLength, 11025);
    feedRamp(*u, t, 6025);
    EXPECT_EQ(u->sliceCounter, 0);
    EXPECT_EQ(u->sliceLength, 22050);
}

TEST(Shuffler, EmptyWeightTableFadesToDryAndRefillingRestarts)
{
    auto u = makeShuffler();
    int t = 1;
    feedRamp(*u, t, 5000);
    u->gridTick(0);
    u->setEngaged(true);
    feedRamp(*u, t, 200);
    EXPECT_EQ(u->mix, 1.0f);

    setAllWeights(*u, 0.0);
    EXPECT_EQ(u->lengthPicker.total(), 0);
    feedRamp(*u, t, 20);
    EXPECT_EQ(u->mix, 0.0f);
    const int from = t;
    const auto out = feedRamp(*u, t, 1000);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], float(from + static_cast<int>(i)));

    // The first weight that makes the table non-empty starts a slice at once.
    u->setNoteValueWeight(1, 50.0);
    EXPECT_EQ(u->sliceCounter, 0);
    EXPECT_EQ(u->sliceLength, u->lengths[1]);
    feedRamp(*u, t, 20);
    EXPECT_EQ(u->mix, 1.0f);
}

TEST(Shuffler, GridCountersWithoutTicksStayBoundedAndReadTheSameSamples)
{
    auto u = makeShuffler();
    u->gridCounters = {ShufflerUnit::kGridCounterLimit - 1, 0, 7, 100};
    int t = 1;
    feedRamp(*u, t, 1);
    EXPECT_EQ(u->gridCounters[0], ShufflerUnit::kRingSize);
    EXPECT_EQ(u->gridCounters[0] % ShufflerUnit::kRingSize, ShufflerUnit::kGridCounterLimit % ShufflerUnit::kRingSize);

    // Out-of-range grid indices are ignored.
    u->gridTick(4);
    u->gridTick(-1);
    u->setEngaged(true);
    const float offset = u->offset;
    u->jump(9);
    EXPECT_EQ(u->offset, offset);

    // Offsets far past the ring read wrapped material without a fault.
    u->gridCounters[0] = ShufflerUnit::kGridCounterLimit - 5;
    u->jump(0);
    for (float v : feedRamp(*u, t, 3 * ShufflerUnit::kRingSize)) ASSERT_TRUE(std::isfinite(v));
}
