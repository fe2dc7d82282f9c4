#include "engine/ReverserUnit.h"
#include "engine/RampFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::ReverserUnit;

namespace {
// The unit holds two large rings: keep it off the stack.
std::unique_ptr<ReverserUnit> makeReverser()
{
    return std::make_unique<ReverserUnit>();
}

// Switches on, lets the fade-in finish, then switches on again, which starts a
// segment at full level.
void engageFully(ReverserUnit& u, int& t)
{
    u.setEngaged(true);
    feedRamp(u, t, 20);
    u.setEngaged(true);
}

} // namespace

TEST(Reverser, SegmentsReplayThePrecedingInputBackwards)
{
    auto u = makeReverser();
    int t = 1;
    u->setSampleRate(4000.0);
    u->setLength(0.01, 120.0); // the 1 ms floor: four samples at 4 kHz
    ASSERT_EQ(u->length(), 4);
    feedRamp(*u, t, 100);
    engageFully(*u, t);
    const int t0 = t;
    const auto out = feedRamp(*u, t, 12);
    const std::vector<float> expected{float(t0 - 1), float(t0 - 2), float(t0 - 3), float(t0 - 4),
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

    // A new segment starts with the newest sample; it is fully heard from the
    // twenty-first sample on.
    u->setEngaged(true);
    const int t0 = t;
    const auto fading = feedRamp(*u, t, 21);
    EXPECT_NE(fading[19], float(t0 - 1 - 19));
    EXPECT_EQ(fading[20], float(t0 - 1 - 20));
    u->setEngaged(false);
    feedRamp(*u, t, 20);
    const int from = t;
    const auto after = feedRamp(*u, t, 100);
    for (size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], float(from + static_cast<int>(i))) << i;
}

TEST(Reverser, LengthFollowsNoteCountTempoAndSampleRate)
{
    auto u = makeReverser();
    EXPECT_EQ(u->length(), 5512);
    u->setLength(16.0, 120.0); // two beats
    EXPECT_EQ(u->length(), 44100);
    u->setLength(0.01, 120.0); // below the 1 ms floor
    EXPECT_EQ(u->length(), 44);
    u->setLength(16.0, 120.0);
    u->setSampleRate(96000.0);
    EXPECT_EQ(u->length(), 96000);
    u->setLength(8.0, 120.0);
    EXPECT_EQ(u->length(), 48000);
}

TEST(Reverser, ATempoChangeEndsTheRunningSegmentAtTheNewLength)
{
    // At full level the output is the input from 2c + 1 samples back, c being
    // the sample's place in its segment.
    auto u = makeReverser();
    int t = 1;
    feedRamp(*u, t, 1000);
    u->setLength(0.04, 120.0); // 2.5 ms = 110 samples
    ASSERT_EQ(u->length(), 110);
    engageFully(*u, t);
    feedRamp(*u, t, 50);

    // The new length is already passed: the next sample ends the segment.
    u->setLength(0.01, 120.0); // 1 ms = 44 samples
    ASSERT_EQ(u->length(), 44);
    auto out = feedRamp(*u, t, 2);
    EXPECT_EQ(out[0], float(t - 2 - 1 - 2 * 50)); // still the old segment
    EXPECT_EQ(out[1], float(t - 1 - 1));          // new segment starts with the newest sample

    // A longer length lets the running segment continue to it.
    u->setLength(0.04, 120.0);
    ASSERT_EQ(u->length(), 110);
    const int from = t;
    out = feedRamp(*u, t, 110);
    EXPECT_EQ(out[108], float(from + 108 - 1 - 2 * 109));
    EXPECT_EQ(out[109], float(from + 109 - 1));
}

TEST(Reverser, UnusableTempoOrSampleRateKeepsTheLastUsableOne)
{
    auto u = makeReverser();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    u->setLength(16.0, 60.0);
    EXPECT_EQ(u->length(), 88200);
    for (double tempo : {0.0, -120.0, nan, inf, -inf}) {
        u->setLength(8.0, tempo); // one beat at the last usable 60 BPM
        EXPECT_EQ(u->length(), 44100) << tempo;
    }
    u->setLength(nan, 120.0);
    EXPECT_EQ(u->length(), 44100);
    for (double rate : {0.0, -1.0, nan, inf, 1e300}) u->setSampleRate(rate);
    EXPECT_EQ(u->length(), 44100);
    u->setLength(16.0, 120.0); // still at 44.1 kHz
    EXPECT_EQ(u->length(), 44100);
}

TEST(Reverser, SegmentsLongerThanTheRingReadWrappedMaterialWithinBounds)
{
    auto u = makeReverser();
    u->setLength(32.0, 1e-9); // absurdly slow: capped, never overflowing
    EXPECT_EQ(u->length(), ReverserUnit::kMaxLength);
    u->setSampleRate(192000.0);
    EXPECT_EQ(u->length(), ReverserUnit::kMaxLength);

    u->setLength(32.0, 10.0); // 24 s at 192 kHz, far past the ring
    EXPECT_GT(u->length(), ReverserUnit::kRingSize);
    u->setEngaged(true);
    int t = 1;
    const auto out = feedRamp(*u, t, 2 * ReverserUnit::kRingSize);
    for (float v : out) {
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, float(t));
    }
}
