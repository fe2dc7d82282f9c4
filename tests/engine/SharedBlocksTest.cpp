#include "engine/RandomSource.h"
#include "engine/RingBuffer.h"
#include "engine/WeightedPicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

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

TEST(RingBuffer, BlockReadsAndPushesMatchFrameByFrameAtEveryPlaceInTheRing)
{
    // Every start place, distance and length, so blocks that lie side by side in
    // the ring and blocks that cross its end are both covered.
    constexpr int32_t kSize = 12;
    for (int32_t start = 0; start < kSize; ++start) {
        for (float offset : {0.0f, -0.25f, -1.5f, -5.0f, -7.75f, -10.5f}) {
            for (int32_t n = 1; n <= 6; ++n) {
                RingBuffer block(kSize, 1);
                RingBuffer frames(kSize, 1);
                for (int32_t i = 0; i < kSize + start; ++i) {
                    block.push(static_cast<float>(i + 1));
                    frames.push(static_cast<float>(i + 1));
                }
                std::vector<float> x(static_cast<size_t>(n));
                for (int32_t i = 0; i < n; ++i) x[static_cast<size_t>(i)] = 100.0f + static_cast<float>(i);
                std::vector<float> out(static_cast<size_t>(n));
                const RingBuffer::Tap tap = block.tap(offset);
                if (!block.readAhead(tap, x.data(), out.data(), n)) continue;
                block.pushBlock(x.data(), n);
                for (int32_t i = 0; i < n; ++i) {
                    EXPECT_EQ(out[static_cast<size_t>(i)], frames.readTap(tap))
                        << "start " << start << " offset " << offset << " frame " << i << " of " << n;
                    frames.push(x[static_cast<size_t>(i)]);
                }
                EXPECT_EQ(block.readIndex(), frames.readIndex());
                for (float at = 0.0f; at > -kSize; at -= 1.0f) EXPECT_EQ(block.read(at), frames.read(at));
                std::vector<float> scratch(static_cast<size_t>(kSize));
                const float* seen = block.view(-3, scratch.data(), 5);
                for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(seen[i], block.read(static_cast<float>(i - 3)));
            }
        }
    }
}

} // namespace
} // namespace vexbit
