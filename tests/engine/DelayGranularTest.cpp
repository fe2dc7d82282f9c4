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

} // namespace
} // namespace vexbit
