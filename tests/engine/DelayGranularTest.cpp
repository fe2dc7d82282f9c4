#include "engine/DelayUnit.h"
#include "engine/GranularUnit.h"
#include "engine/RandomSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace vexbit {
namespace {

// A delay whose time has settled at `time` samples, faded fully in over silence.
// At 1 kHz a millisecond is a sample and the time is looked at every 1001 samples.
std::unique_ptr<DelayUnit> settledDelay(float time, float level, float feedback)
{
    auto d = std::make_unique<DelayUnit>();
    d->setSampleRate(1000.0);
    d->setTimeMs(time);
    for (int n = 0; n < 13000; ++n) {
        float l = 0.0f, r = 0.0f;
        d->process(l, r);
    }
    EXPECT_EQ(d->currentTime(), time);
    d->setLevel(level);
    d->setFeedback(feedback);
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
    EXPECT_FLOAT_EQ(d.targetTime(), 2205.0f);
    EXPECT_FLOAT_EQ(d.currentTime(), 11025.0f);
}

TEST(DelayUnit, ImpulseReturnsOnceAfterTimePlusLead)
{
    auto d = settledDelay(100.0f, 1.0f, 0.0f);
    const auto out = runImpulse(*d, 400);
    EXPECT_EQ(out[0], 1.0f);
    for (int n = 1; n < 400; ++n) {
        const float expected = n == 110 ? 1.0f : 0.0f;
        EXPECT_FLOAT_EQ(out[static_cast<size_t>(n)], expected) << "at " << n;
    }
}

TEST(DelayUnit, FeedbackRepeatsAtTheSameSpacingAndLevelZeroStillFeeds)
{
    auto d = settledDelay(50.0f, 0.0f, 0.5f);
    auto out = runImpulse(*d, 60);
    for (float v : std::vector<float>(out.begin() + 1, out.end())) EXPECT_EQ(v, 0.0f);
    // Level turned up later: the echo fed meanwhile is heard at the second repeat.
    d->setLevel(1.0f);
    std::vector<float> later;
    for (int n = 60; n < 200; ++n) {
        float l = 0.0f, r = 0.0f;
        d->process(l, r);
        later.push_back(l);
    }
    EXPECT_FLOAT_EQ(later[0], 1.0f);  // n = 60: the first echo
    EXPECT_FLOAT_EQ(later[60], 0.5f); // n = 120: its fed-back repeat
}

TEST(DelayUnit, TimeChangeWaitsForTheLookThenFadesClearsAndJumps)
{
    DelayUnit d;
    d.setFeedback(0.9f);
    int n = 0;
    auto step = [&](float x) {
        float l = x, r = x;
        d.process(l, r);
        ++n;
        return l;
    };
    // The construction target (2205) differs from the running time (11025); the
    // first look comes after trunc(sampleRate) + 1 samples.
    while (n < 44101) step(0.5f);
    EXPECT_EQ(d.currentTime(), 11025.0f);

    int faded = 0;
    while (d.currentTime() != 2205.0f && faded < 20000) {
        step(0.5f);
        ++faded;
    }
    EXPECT_NEAR(faded, 10000, 10);
    // The memory was erased at the jump: silence in gives silence out until the
    // new time has passed, although the echo is fading back in.
    for (int k = 0; k < 2000; ++k) ASSERT_EQ(step(0.0f), 0.0f) << k;
}

TEST(DelayUnit, TimesBeyondTheRingReadTheOldestSampleInsteadOfWrapping)
{
    auto d = settledDelay(60000.0f, 1.0f, 0.0f);
    const auto out = runImpulse(*d, DelayUnit::kRingSize + 100);
    for (int n = 1; n < DelayUnit::kRingSize; ++n) ASSERT_EQ(out[static_cast<size_t>(n)], 0.0f) << n;
    EXPECT_FLOAT_EQ(out[DelayUnit::kRingSize], 1.0f); // the longest delay the ring holds
}

TEST(DelayUnit, SampleRateChangeRescalesOnlyTheTarget)
{
    DelayUnit d;
    d.setTimeMs(100.0);
    EXPECT_FLOAT_EQ(d.targetTime(), 4410.0f);
    d.setSampleRate(96000.0);
    EXPECT_FLOAT_EQ(d.targetTime(), 9600.0f);
    EXPECT_EQ(d.currentTime(), 11025.0f);
    d.setSampleRate(0.0);
    d.setSampleRate(std::nan(""));
    EXPECT_EQ(d.sampleRate(), 96000.0f);
}

TEST(GranularUnit, GrainRestartFollowsTheGenerator)
{
    GranularUnit g;
    g.setGrainSizeMs(250.0);
    g.setDurationMs(200.0);
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
    // A grain that does not move towards the present ends by its length alone.
    // Such a grain is taken the moment it starts: at construction or, if none
    // was drawn then, at a later restart (the draws continue from the generator).
    GranularUnit g;
    g.setMix(0.0f);
    auto freshStillGrain = [&g] {
        for (int k = 0; k < GranularUnit::kGrainCount; ++k)
            if (g.grain(k).rate <= 0.0f && g.grain(k).counter == 0) return k;
        return -1;
    };
    int i = freshStillGrain();
    for (int n = 0; n < 60 * 44100 && i < 0; ++n) {
        float l = 0.0f, r = 0.0f;
        g.process(l, r);
        i = freshStillGrain();
    }
    ASSERT_GE(i, 0);
    const int32_t length = g.grain(i).length;
    auto run = [&](int32_t samples) {
        for (int32_t n = 0; n < samples; ++n) {
            float l = 0.0f, r = 0.0f;
            g.process(l, r);
        }
    };
    run(20);
    EXPECT_FLOAT_EQ(g.grain(i).env, 1.0f);
    run(length - 20 - 20);
    EXPECT_EQ(g.grain(i).env, 1.0f);
    run(1);
    // Twenty samples before the end the fade-out has begun.
    EXPECT_LT(g.grain(i).env, 1.0f);
    EXPECT_EQ(g.grain(i).length, length);
    run(24);
    EXPECT_LT(g.grain(i).counter, 10); // restarted
}

TEST(GranularUnit, FullMixOverSilenceDecaysToExactZero)
{
    GranularUnit g;
    g.setMix(1.0f);
    g.setGrainSizeMs(2000.0 / 44.1);
    g.setDurationMs(3000.0 / 44.1);
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
    g.setMix(1.0f);
    // Grains restarted from here start far beyond what the ring holds, and last.
    g.setDurationMs(100000.0);
    g.setGrainSizeMs(1000000.0);
    auto step = [&](float x) {
        float l = x, r = x;
        g.process(l, r);
        return l;
    };
    for (int n = 0; n < 50000; ++n) step(0.0f);
    float gain = 0.0f;
    for (int i = 0; i < GranularUnit::kGrainCount; ++i) {
        ASSERT_GT(g.grain(i).posL, 200000.0f) << i;
        ASSERT_EQ(g.grain(i).env, 1.0f) << i;
        gain += g.grain(i).amp * 0.3f;
    }
    // A burst of ones is heard only once it has become the oldest sample held.
    for (int n = 0; n < 100; ++n) step(1.0f);
    for (int n = 100; n < GranularUnit::kRingSize; ++n) ASSERT_EQ(step(0.0f), 0.0f) << n;
    for (int n = 0; n < 50; ++n) step(0.0f);
    EXPECT_NEAR(step(0.0f), gain, 1e-5f);
}

TEST(GranularUnit, SampleRateChangeRescalesSizes)
{
    GranularUnit g;
    g.setDurationMs(200.0);
    g.setGrainSizeMs(250.0);
    EXPECT_FLOAT_EQ(g.duration(), 8820.0f);
    EXPECT_EQ(g.grainSize(), 11025);
    g.setSampleRate(48000.0);
    EXPECT_FLOAT_EQ(g.duration(), 9600.0f);
    EXPECT_EQ(g.grainSize(), 12000);
    g.setGrainSizeMs(-5.0);
    EXPECT_EQ(g.grainSize(), 0);
}

} // namespace
} // namespace vexbit
