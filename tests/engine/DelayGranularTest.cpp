#include "DelayUnit.h"
#include "GranularUnit.h"
#include "RandomSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vexbit {
namespace {

// A delay whose time has settled at `time` samples and whose fade is complete.
DelayUnit settledDelay(float time, float level, float feedback)
{
    DelayUnit d;
    d.level = level;
    d.feedback = feedback;
    d.targetTime = d.currentTime = d.heldTime = time;
    d.fade = 1.0f;
    return d;
}

std::vector<float> runImpulse(DelayUnit& d, int frames)
{
    std::vector<float> out(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) {
        float l = n == 0 ? 1.0f : 0.0f;
        float r = 0.0f;
        d.process(l, r);
        out[static_cast<size_t>(n)] = l;
    }
    return out;
}

TEST(DelayUnit, ConstructionValues)
{
    DelayUnit d;
    EXPECT_FLOAT_EQ(d.targetTime, 2205.0f);
    EXPECT_FLOAT_EQ(d.currentTime, 11025.0f);
    EXPECT_FLOAT_EQ(d.heldTime, 11025.0f);
    EXPECT_EQ(d.fade, 0.0f);
    EXPECT_EQ(d.ringL.size(), 44100);
    EXPECT_EQ(d.ringL.lead(), 10);
}

TEST(DelayUnit, ImpulseReturnsOnceAfterTimePlusLead)
{
    DelayUnit d = settledDelay(100.0f, 1.0f, 0.0f);
    const auto out = runImpulse(d, 400);
    EXPECT_EQ(out[0], 1.0f);
    for (int n = 1; n < 400; ++n) {
        const float expected = n == 110 ? 1.0f : 0.0f;
        EXPECT_FLOAT_EQ(out[static_cast<size_t>(n)], expected) << "at " << n;
    }
}

TEST(DelayUnit, FeedbackRepeatsAtTheSameSpacingAndLevelZeroStillFeeds)
{
    DelayUnit d = settledDelay(50.0f, 0.0f, 0.5f);
    auto out = runImpulse(d, 60);
    for (float v : std::vector<float>(out.begin() + 1, out.end())) EXPECT_EQ(v, 0.0f);
    // Level turned up later: the echo fed meanwhile is heard at the second repeat.
    d.level = 1.0f;
    std::vector<float> later;
    for (int n = 60; n < 200; ++n) {
        float l = 0.0f, r = 0.0f;
        d.process(l, r);
        later.push_back(l);
    }
    EXPECT_FLOAT_EQ(later[0], 1.0f);  // n = 60: the first echo
    EXPECT_FLOAT_EQ(later[60], 0.5f); // n = 120: its fed-back repeat
}

TEST(DelayUnit, TimeChangeWaitsForTheLookThenFadesClearsAndJumps)
{
    DelayUnit d;
    d.feedback = 0.9f;
    int n = 0;
    auto step = [&](float x) {
        float l = x, r = x;
        d.process(l, r);
        ++n;
    };
    // The construction target (2205) differs from the running time (11025); the
    // first look comes after trunc(sampleRate) + 1 samples.
    while (n < 44100) step(0.5f);
    EXPECT_EQ(d.currentTime, 11025.0f);
    EXPECT_FLOAT_EQ(d.fade, 1.0f);
    step(0.5f);
    EXPECT_EQ(d.heldTime, 2205.0f);
    EXPECT_EQ(d.counter, 0);

    int faded = 0;
    while (d.currentTime != 2205.0f && faded < 20000) {
        step(0.5f);
        ++faded;
    }
    EXPECT_NEAR(faded, 10000, 10);
    EXPECT_EQ(d.fade, 0.0f);
    for (int k = -110; k <= 0; ++k) EXPECT_EQ(d.ringL.read(static_cast<float>(k) * 400.0f), 0.0f);
    // Then it fades back in at the new time.
    step(0.0f);
    EXPECT_FLOAT_EQ(d.fade, 0.0001f);
}

TEST(DelayUnit, TimesBeyondTheRingReadTheOldestSampleInsteadOfWrapping)
{
    DelayUnit d = settledDelay(60000.0f, 1.0f, 0.0f);
    const auto out = runImpulse(d, DelayUnit::kRingSize + 100);
    for (int n = 1; n < DelayUnit::kRingSize; ++n) ASSERT_EQ(out[static_cast<size_t>(n)], 0.0f) << n;
    EXPECT_FLOAT_EQ(out[DelayUnit::kRingSize], 1.0f); // the longest delay the ring holds
}

TEST(DelayUnit, SampleRateChangeRescalesOnlyTheTarget)
{
    DelayUnit d;
    d.setTimeMs(100.0);
    EXPECT_FLOAT_EQ(d.targetTime, 4410.0f);
    d.setSampleRate(96000.0);
    EXPECT_FLOAT_EQ(d.targetTime, 9600.0f);
    EXPECT_EQ(d.currentTime, 11025.0f);
    EXPECT_EQ(d.ringL.size(), 44100);
    d.setSampleRate(0.0);
    d.setSampleRate(std::nan(""));
    EXPECT_EQ(d.sampleRate, 96000.0f);
}

TEST(GranularUnit, GrainRestartFollowsTheGenerator)
{
    GranularUnit g;
    g.grainSize = 11025;
    g.duration = 8820.0f;
    GranularUnit::Grain grain;
    grain.counter = 77;
    grain.env = 0.5f;
    // Draws after seed 1: 41 -> 41 % 270 = 41 -> speed index 2 (rate 0);
    // 18467 % 101 = 85 -> r = 0.85.
    RandomSource::seed(1);
    g.restartGrain(grain);
    EXPECT_EQ(grain.counter, 0);
    EXPECT_EQ(grain.rate, 0.0f);
    EXPECT_EQ(grain.length, 9784); // trunc(11025 * 0.8875)
    EXPECT_EQ(grain.env, 0.0f);
    EXPECT_NEAR(grain.amp, 0.97f, 1e-6f);
    EXPECT_NEAR(grain.posL, 7827.75f, 1e-2f);
    EXPECT_NEAR(grain.posR, 1.07f * 7827.75f, 1e-2f);

    // Draws after seed 12345: 7584 % 270 = 24 -> index 1 (rate -0.5); 19164 % 101 = 75.
    RandomSource::seed(12345);
    g.restartGrain(grain);
    EXPECT_EQ(grain.rate, -0.5f);
    EXPECT_EQ(grain.length, 8957); // trunc(11025 * 0.8125)
}

TEST(GranularUnit, GrainsFadeInThenEndTwentySamplesBeforeTheirLength)
{
    GranularUnit g;
    g.mix = 0.0f;
    RandomSource::seed(1);
    for (auto& grain : g.grains) {
        g.restartGrain(grain);
        grain.rate = 0.0f;
        grain.length = 500;
        grain.posL = grain.posR = 1000.0f;
    }
    const int32_t before = g.grains[0].length;
    for (int n = 0; n < 20; ++n) {
        float l = 0.0f, r = 0.0f;
        g.process(l, r);
    }
    EXPECT_FLOAT_EQ(g.grains[0].env, 1.0f);
    for (int n = 20; n < 481; ++n) {
        float l = 0.0f, r = 0.0f;
        g.process(l, r);
    }
    // Counter 481: d = 19, the fade-out has begun.
    EXPECT_LT(g.grains[0].env, 1.0f);
    EXPECT_EQ(g.grains[0].length, before);
    for (int n = 481; n < 505; ++n) {
        float l = 0.0f, r = 0.0f;
        g.process(l, r);
    }
    EXPECT_LT(g.grains[0].counter, 10); // restarted
}

TEST(GranularUnit, FullMixOverSilenceDecaysToExactZero)
{
    GranularUnit g;
    g.mix = 1.0f;
    g.grainSize = 2000;
    g.duration = 3000.0f;
    float last = 1.0f;
    for (int n = 0; n < 4 * GranularUnit::kRingSize; ++n) {
        float l = n < 2000 ? std::sin(0.05f * static_cast<float>(n)) : 0.0f;
        float r = l;
        g.process(l, r);
        ASSERT_TRUE(std::isfinite(l) && std::isfinite(r));
        last = std::max(std::abs(l), std::abs(r));
    }
    EXPECT_EQ(last, 0.0f);
}

TEST(GranularUnit, GrainsBeyondTheRingReadItsOldestSampleInsteadOfWrapping)
{
    GranularUnit g;
    g.feedback = 0.0f; // keep the ring a plain record of the input
    for (auto& grain : g.grains) {
        grain.rate = 0.0f;
        grain.length = 1 << 30;
        grain.counter = 0;
        grain.env = 1.0f;
        grain.amp = 1.0f;
        grain.posL = grain.posR = 200000.0f;
    }
    g.mix = 0.0f;
    int n = 0;
    for (; n < 100000; ++n) {
        float l = static_cast<float>(n), r = l;
        g.process(l, r);
    }
    g.mix = 1.0f;
    float l = static_cast<float>(n), r = l;
    g.process(l, r);
    // The oldest of the 88200 samples held is input n - 88200, from nine grains at 0.3.
    EXPECT_NEAR(l, 9 * 0.3f * static_cast<float>(n - GranularUnit::kRingSize), 1.0f);
    EXPECT_NEAR(r, l, 1e-3f);
}

TEST(GranularUnit, SampleRateChangeRescalesSizes)
{
    GranularUnit g;
    g.setDurationMs(200.0);
    g.setGrainSizeMs(250.0);
    EXPECT_FLOAT_EQ(g.duration, 8820.0f);
    EXPECT_EQ(g.grainSize, 11025);
    g.setSampleRate(48000.0);
    EXPECT_FLOAT_EQ(g.duration, 9600.0f);
    EXPECT_EQ(g.grainSize, 12000);
    EXPECT_EQ(g.ringL.size(), 88200);
    g.setGrainSizeMs(-5.0);
    EXPECT_EQ(g.grainSize, 0);
}

} // namespace
} // namespace vexbit
