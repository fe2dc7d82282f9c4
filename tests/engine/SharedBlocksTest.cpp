#include "engine/RandomSource.h"
#include "engine/RingBuffer.h"
#include "engine/WeightedPicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace vexbit {
namespace {

TEST(RingBuffer, LeadOneReadsNewestAtZeroAndInterpolatesBack)
{
    RingBuffer ring(8, 1);
    for (float x : {1.0f, 2.0f, 3.0f}) ring.push(x);
    EXPECT_FLOAT_EQ(ring.read(0.0f), 3.0f);
    EXPECT_FLOAT_EQ(ring.read(-1.0f), 2.0f);
    EXPECT_FLOAT_EQ(ring.read(-0.5f), 2.5f);
    EXPECT_FLOAT_EQ(ring.read(-1.25f), 1.75f);
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

} // namespace
} // namespace vexbit
