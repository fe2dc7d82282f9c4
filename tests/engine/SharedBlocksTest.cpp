#include "engine/RandomSource.h"
#include "engine/RingBuffer.h"
#include "engine/WeightedPicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace vexbit {
namespace {

TEST(RandomSource, FollowsTheLinearCongruentialSequence)
{
    RandomSource::seed(1);
    EXPECT_EQ(RandomSource::next(), 41);
    EXPECT_EQ(RandomSource::next(), 18467);
    EXPECT_EQ(RandomSource::next(), 6334);
    EXPECT_EQ(RandomSource::next(), 26500);

    RandomSource::seed(12345);
    EXPECT_EQ(RandomSource::next(), 7584);
    EXPECT_EQ(RandomSource::nextBelow(101), 19164 % 101);
}

TEST(RandomSource, EachThreadStartsFromStateOneWhateverOthersSeed)
{
    RandomSource::seed(999);
    int32_t first = -1;
    std::thread worker([&first] { first = RandomSource::next(); });
    worker.join();
    EXPECT_EQ(first, 41);
}

TEST(RingBuffer, LeadOneReadsNewestAtZeroAndInterpolatesBack)
{
    RingBuffer ring(8, 1);
    for (float x : {1.0f, 2.0f, 3.0f}) ring.push(x);
    EXPECT_FLOAT_EQ(ring.read(0.0f), 3.0f);
    EXPECT_FLOAT_EQ(ring.read(-1.0f), 2.0f);
    EXPECT_FLOAT_EQ(ring.read(-0.5f), 2.5f);
    EXPECT_FLOAT_EQ(ring.read(-1.25f), 1.75f);
}

TEST(RingBuffer, LeadTenReadsNineBeforeNewestAtZero)
{
    RingBuffer ring(32, 10);
    for (int i = 1; i <= 20; ++i) ring.push(static_cast<float>(i));
    EXPECT_FLOAT_EQ(ring.read(9.0f), 20.0f); // the newest
    EXPECT_FLOAT_EQ(ring.read(0.0f), 11.0f); // nine before it
    EXPECT_FLOAT_EQ(ring.read(-3.0f), 8.0f);
}

TEST(RingBuffer, WrapsAroundTheEndAndForFarOffsets)
{
    RingBuffer ring(5, 1);
    for (int i = 1; i <= 13; ++i) ring.push(static_cast<float>(i)); // indices have wrapped twice
    EXPECT_FLOAT_EQ(ring.read(0.0f), 13.0f);
    EXPECT_FLOAT_EQ(ring.read(-4.0f), 9.0f);
    EXPECT_FLOAT_EQ(ring.read(-0.5f), 12.5f);
    EXPECT_FLOAT_EQ(ring.read(-5.5f), ring.read(-0.5f));
    EXPECT_FLOAT_EQ(ring.read(-5.0f * 1e6f - 0.5f), ring.read(-0.5f));
    // Between the newest and the oldest the interpolation crosses the seam.
    EXPECT_FLOAT_EQ(ring.read(0.5f), 13.0f + (9.0f - 13.0f) * 0.5f);
}

TEST(RingBuffer, ExtremeOffsetsNeverFault)
{
    RingBuffer ring(7, 1);
    for (int i = 1; i <= 7; ++i) ring.push(static_cast<float>(i));
    for (float offset : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 3e38f, -3e38f, 1e9f}) {
        const float v = ring.read(offset);
        EXPECT_TRUE(v >= 1.0f && v <= 7.0f) << "offset " << offset;
    }
}

TEST(RingBuffer, StoresNonNormalSamplesAsZero)
{
    RingBuffer ring(8, 1);
    const float inputs[] = {std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            -0.0f,
                            0.25f};
    for (float x : inputs) ring.push(x);
    EXPECT_EQ(ring.read(0.0f), 0.25f);
    for (int d = 1; d <= 5; ++d) {
        const float v = ring.read(static_cast<float>(-d));
        EXPECT_EQ(v, 0.0f);
        EXPECT_FALSE(std::signbit(v));
    }
}

TEST(RingBuffer, ClearSilencesButKeepsIndices)
{
    RingBuffer ring(6, 10); // lead reduced modulo the size
    EXPECT_EQ(ring.writeIndex(), 4);
    for (int i = 0; i < 9; ++i) ring.push(1.0f);
    const int32_t readBefore = ring.readIndex();
    ring.clear();
    EXPECT_EQ(ring.readIndex(), readBefore);
    for (int d = 0; d < 6; ++d) EXPECT_EQ(ring.read(static_cast<float>(-d)), 0.0f);
}

TEST(WeightedPicker, ChoosesAtTheCumulativeBoundaries)
{
    WeightedPicker picker;
    picker.setWeights({0, 25, 100});
    EXPECT_EQ(picker.total(), 125);
    EXPECT_EQ(picker.cumulative(1), 25);
    EXPECT_EQ(picker.indexFor(0), 1);
    EXPECT_EQ(picker.indexFor(24), 1);
    EXPECT_EQ(picker.indexFor(25), 2);
    EXPECT_EQ(picker.indexFor(124), 2);
    EXPECT_EQ(picker.indexFor(10'000), 2); // nothing qualifies: the last index

    RandomSource::seed(7);
    for (int i = 0; i < 2000; ++i) EXPECT_NE(picker.pick(), std::optional<int32_t>(0));
}

TEST(WeightedPicker, PickUsesTheNextDrawModuloTheTotal)
{
    WeightedPicker picker;
    picker.setWeights({0, 25, 100, 5, 25, 5, 80, 5, 25}); // total 270
    RandomSource::seed(1);                                // next draw: 41, 41 % 270 = 41 -> index 2
    EXPECT_EQ(picker.pick(), std::optional<int32_t>(2));
}

TEST(WeightedPicker, EmptyOrZeroTableYieldsNoChoice)
{
    WeightedPicker picker;
    EXPECT_EQ(picker.pick(), std::nullopt);
    picker.setWeights({3, 4});
    picker.clearWeights();
    EXPECT_EQ(picker.size(), 2);
    EXPECT_EQ(picker.total(), 0);
    EXPECT_EQ(picker.pick(), std::nullopt);
    picker.setWeight(1, 5);
    EXPECT_EQ(picker.cumulative(0), 0);
    EXPECT_EQ(picker.cumulative(1), 5);
    EXPECT_EQ(picker.pick(), std::optional<int32_t>(1));
}

TEST(WeightedPicker, RejectsWhatWouldBreakTheTable)
{
    WeightedPicker picker;
    picker.setWeights({1, 2});
    const std::vector<int32_t> tooMany(WeightedPicker::kCapacity + 1, 1);
    EXPECT_FALSE(picker.setWeights(tooMany));
    EXPECT_EQ(picker.size(), 2);
    EXPECT_EQ(picker.total(), 3);

    picker.setWeight(5, 100); // outside the table
    EXPECT_EQ(picker.total(), 3);
    picker.setWeight(0, -50); // negative weights count as 0
    EXPECT_EQ(picker.total(), 2);

    picker.setWeights({std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()});
    EXPECT_EQ(picker.total(), std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(picker.pick().has_value());
}

} // namespace
} // namespace vexbit
