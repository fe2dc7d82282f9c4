#include "ReverserUnit.h"
#include "RampFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::ReverserUnit;

namespace {
// The unit holds two large rings: keep it off the stack.
std::unique_ptr<ReverserUnit> makeReverser() { return std::make_unique<ReverserUnit>(); }

} // namespace

TEST(Reverser, SegmentsReplayThePrecedingInputBackwards)
{
    auto u = makeReverser();
    int t = 1;
    feedRamp(*u, t, 100);
    u->length = 4;
    u->setEngaged(true);
    u->mix = 1.0f;
    const int t0 = t;
    const auto out = feedRamp(*u, t, 12);
    const std::vector<float> expected{
        float(t0 - 1), float(t0 - 2), float(t0 - 3), float(t0 - 4),
        float(t0 + 3), float(t0 + 2), float(t0 + 1), float(t0),
        float(t0 + 7), float(t0 + 6), float(t0 + 5), float(t0 + 4)};
    EXPECT_EQ(out, expected);
}

TEST(Reverser, SwitchingOnFadesInOverTwentySamplesAndOffPassesInput)
{
    auto u = makeReverser();
    int t = 1;
    // Off: the output is the input, while the segment clock and rings run.
    const auto dry = feedRamp(*u, t, 20000);
    for (size_t i = 0; i < dry.size(); ++i) ASSERT_EQ(dry[i], float(i + 1));

    u->setEngaged(true);
    EXPECT_EQ(u->counter, 0);
    feedRamp(*u, t, 19);
    EXPECT_LT(u->mix, 1.0f);
    feedRamp(*u, t, 1);
    EXPECT_EQ(u->mix, 1.0f);
    u->setEngaged(false);
    feedRamp(*u, t, 20);
    EXPECT_EQ(u->mix, 0.0f);
    const int from = t;
    const auto after = feedRamp(*u, t, 100);
    for (size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], float(from + static_cast<int>(i)));
}

TEST(Reverser, LengthFollowsNoteCountTempoAndSampleRate)
{
    auto u = makeReverser();
    EXPECT_EQ(u->length, 5512);
    u->setLength(16.0, 120.0); // two beats
    EXPECT_EQ(u->length, 44100);
    u->setLength(0.01, 120.0); // below the 1 ms floor
    EXPECT_EQ(u->length, 44);
    u->setLength(16.0, 120.0);
    u->setSampleRate(96000.0);
    EXPECT_EQ(u->length, 96000);
    EXPECT_EQ(u->ringL.size(), ReverserUnit::kRingSize);
    u->setLength(8.0, 120.0);
    EXPECT_EQ(u->length, 48000);
}

TEST(Reverser, ATempoChangeEndsTheRunningSegmentAtTheNewLength)
{
    auto u = makeReverser();
    int t = 1;
    feedRamp(*u, t, 1000);
    u->length = 100;
    u->setEngaged(true);
    u->mix = 1.0f;
    feedRamp(*u, t, 50);
    EXPECT_EQ(u->counter, 50);

    // The new length is already passed: the next sample ends the segment.
    u->setLength(0.04, 120.0); // 2.5 ms = 110 samples
    u->setLength(0.01, 120.0); // 1 ms = 44 samples
    ASSERT_EQ(u->length, 44);
    auto out = feedRamp(*u, t, 2);
    EXPECT_EQ(out[0], float(t - 2 - 1 - 2 * 50)); // still the old segment
    EXPECT_EQ(out[1], float(t - 1 - 1));          // new segment starts with the newest sample
    EXPECT_EQ(u->counter, 1);

    // A longer length lets the running segment continue to it.
    u->setLength(0.04, 120.0);
    ASSERT_EQ(u->length, 110);
    feedRamp(*u, t, 108);
    EXPECT_EQ(u->counter, 109);
    feedRamp(*u, t, 1);
    EXPECT_EQ(u->counter, 0);
}

TEST(Reverser, UnusableTempoOrSampleRateKeepsTheLastUsableOne)
{
    auto u = makeReverser();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    u->setLength(16.0, 60.0);
    EXPECT_EQ(u->length, 88200);
    for (double tempo : {0.0, -120.0, nan, inf, -inf}) {
        u->setLength(8.0, tempo); // one beat at the last usable 60 BPM
        EXPECT_EQ(u->length, 44100) << tempo;
    }
    u->setLength(nan, 120.0);
    EXPECT_EQ(u->length, 44100);
    for (double rate : {0.0, -1.0, nan, inf, 1e300}) u->setSampleRate(rate);
    EXPECT_EQ(u->length, 44100);
    EXPECT_EQ(u->sampleRate, 44100.0f);
}

TEST(Reverser, SegmentsLongerThanTheRingReadWrappedMaterialWithinBounds)
{
    auto u = makeReverser();
    u->setLength(32.0, 1e-9); // absurdly slow: capped, never overflowing
    EXPECT_EQ(u->length, ReverserUnit::kMaxLength);
    u->setSampleRate(192000.0);
    EXPECT_EQ(u->length, ReverserUnit::kMaxLength);

    u->setLength(32.0, 10.0); // 24 s at 192 kHz, far past the ring
    EXPECT_GT(u->length, ReverserUnit::kRingSize);
    u->setEngaged(true);
    int t = 1;
    const auto out = feedRamp(*u, t, 2 * ReverserUnit::kRingSize);
    for (float v : out) {
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, float(t));
    }
}
