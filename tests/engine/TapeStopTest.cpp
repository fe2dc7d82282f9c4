#include "engine/TapeStopUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <algorithm>

namespace vexbit {
namespace {

float processOne(TapeStopUnit& t, float x)
{
    float l = x, r = -x;
    t.process(l, r);
    EXPECT_EQ(l, -r);
    return l;
}

struct StopTimes {
    int fadeStart = -1; // first sample with the gain below 1
    int silent = -1;    // first sample of lasting silence
};

StopTimes measureStop(float stopSpeed)
{
    TapeStopUnit t;
    t.setStopSpeed(stopSpeed);
    for (int n = 0; n < 1000; ++n) processOne(t, 0.5f);
    t.setEngaged(true);
    StopTimes times;
    for (int n = 0; n < 120000; ++n) {
        const bool sounding = processOne(t, 0.5f) != 0.0f;
        if (times.fadeStart < 0 && t.gain() < 1.0f) times.fadeStart = n;
        if (sounding)
            times.silent = -1;
        else if (times.silent < 0)
            times.silent = n;
    }
    return times;
}

TEST(TapeStopUnit, StopFadesOverTheLastTenthOfTheRampAndEndsSilent)
{
    // StopSpeed 1: the speed falls to 0.3 in 3087 samples; the gain fades out from
    // nine tenths of the way (2778) over 100 samples.
    const StopTimes fast = measureStop(1.0f);
    EXPECT_NEAR(fast.fadeStart, 2778, 3);
    EXPECT_NEAR(fast.silent, 2878, 3);
    // StopSpeed 0: 99225 samples to 0.1 of the speed, fading from 89302.
    const StopTimes slow = measureStop(0.0f);
    EXPECT_NEAR(slow.fadeStart, 89302, 200);
    EXPECT_NEAR(slow.silent, 89402, 200);
}

TEST(TapeStopUnit, ReleaseRecoversLevelAndCatchesUpToTwoHundredBehind)
{
    // Slowest stop and slowest start: the lag builds up to its bound and is
    // kept at the restart (a faster start would bound it more tightly).
    TapeStopUnit t;
    t.setStopSpeed(0.0f);
    t.setStartSpeed(0.0f);
    int n = 0;
    // A ramp input: each output tells which input sample it plays.
    auto step = [&] {
        const float out = processOne(t, static_cast<float>(n));
        ++n;
        return out;
    };
    for (int i = 0; i < 1000; ++i) step();
    t.setEngaged(true);
    for (int i = 0; i < 200000; ++i) step();
    EXPECT_NEAR(t.position(), -99225.0f, 2.0f);

    t.setEngaged(false);
    for (int i = 0; i < 101; ++i) step();
    EXPECT_EQ(t.gain(), 1.0f);

    // The material played comes from the whole lag, 2.25 s back, not from
    // wrapped ring memory.
    // Outside the crossfades it plays exactly the sample at the lag; inside them
    // it plays towards the landing point, at most a period nearer the present.
    int atTheLag = 0;
    for (int i = 0; i < 2000; ++i) {
        const float lag = t.position();
        const float expected = static_cast<float>(n - 2) + lag;
        const float out = step();
        ASSERT_GE(out, expected - 1.0f);
        ASSERT_LE(out, expected + static_cast<float>(TapeStopUnit::kJumpPeriod) + 1.0f);
        if (std::abs(out - expected) <= 1.0f) ++atTheLag;
    }
    EXPECT_GE(atTheLag, 1500);

    for (int i = 0; i < 100000 && t.velocity() < 0.0f; ++i) step();
    ASSERT_EQ(t.velocity(), 0.0f);
    ASSERT_LT(t.position(), -12000.0f);
    // Back at speed, the lag shrinks by a period per period...
    const float before = t.position();
    for (int i = 0; i < 10000; ++i) step();
    EXPECT_NEAR(t.position() - before, 10000.0f, 1000.0f);
    // ...and ends between 200 and 201 samples behind, where it stays.
    for (int i = 0; i < 100000; ++i) step();
    EXPECT_LE(t.position(), -200.0f);
    EXPECT_GE(t.position(), -201.0f);
    const float settled = t.position();
    for (int i = 0; i < 5000; ++i) step();
    EXPECT_EQ(t.position(), settled);
}

} // namespace
} // namespace vexbit
