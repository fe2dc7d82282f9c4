#include "engine/GlitchEngine.h"
#include "engine/MapEngineHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace vexbit {
namespace {

class GlitchEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = std::make_unique<GlitchEngine>(host);
        // What applying the defaults does to the one unit that is audible before
        // it: the Delay's level is 0 while the effect is off.
        engine->delay.setLevel(0.0f);
    }

    std::vector<float> noise(size_t frames, unsigned seed)
    {
        std::mt19937 gen(seed);
        std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
        std::vector<float> v(frames);
        for (float& x : v) x = dist(gen);
        return v;
    }

    // An engine in the state SetUp leaves, on the same host.
    std::unique_ptr<GlitchEngine> fresh()
    {
        auto e = std::make_unique<GlitchEngine>(host);
        e->delay.setLevel(0.0f);
        return e;
    }

    // The output for a block of noise through the gate, the Lo-Fi, the filter
    // and the echo, which depends on where each of them stands. (The grains are
    // left out: each engine draws them from a generator seeded by the clock.)
    // Processing it moves the engine on.
    std::vector<float> blockAfter(GlitchEngine& e)
    {
        e.gator.setEngaged(true);
        e.lofi.setEngaged(true);
        e.filter.setEngaged(true);
        e.delay.setLevel(0.5f);
        const auto in = noise(4096, 9);
        std::vector<float> out(in.size() * 2);
        e.processAudio(in.data(), in.data(), out.data(), out.data() + in.size(), 4096);
        return out;
    }

    test::MapEngineHost host;
    std::unique_ptr<GlitchEngine> engine;
};

TEST_F(GlitchEngineTest, EverythingOffGivesTheInputOneSampleLateAfterTheGatorFadeIn)
{
    const auto in = noise(2048, 1);
    std::vector<float> outL(in.size()), outR(in.size());
    std::vector<float> inR(in.size());
    for (size_t i = 0; i < in.size(); ++i) inR[i] = -in[i];
    engine->processAudio(in.data(), inR.data(), outL.data(), outR.data(), static_cast<int32_t>(in.size()));

    EXPECT_EQ(outL[0], 0.0f);
    for (size_t n = 1; n < 10; ++n) {
        const float gain = 0.1f * static_cast<float>(n);
        EXPECT_NEAR(outL[n], gain * in[n - 1], 1e-6f) << n;
        EXPECT_NEAR(outR[n], gain * inR[n - 1], 1e-6f) << n;
    }
    for (size_t n = 10; n < in.size(); ++n) {
        ASSERT_EQ(outL[n], in[n - 1]) << n;
        ASSERT_EQ(outR[n], inR[n - 1]) << n;
    }
}

TEST_F(GlitchEngineTest, NonFiniteInputEntersAsSilence)
{
    engine->filter.setEngaged(true);
    engine->retrigger.setEngaged(true);
    std::vector<float> in(512, 0.25f);
    in[100] = std::numeric_limits<float>::quiet_NaN();
    in[200] = std::numeric_limits<float>::infinity();
    in[300] = -std::numeric_limits<float>::infinity();
    std::vector<float> out(in.size());
    for (int block = 0; block < 20; ++block) {
        engine->processAudio(in.data(), in.data(), out.data(), out.data(), 512);
        for (float v : out) ASSERT_TRUE(std::isfinite(v));
    }
}

TEST_F(GlitchEngineTest, EveryEffectEngagedStaysFiniteAndBounded)
{
    host.values = {{702, 2.0}, {802, 3.0}};
    engine->onTempoChanged(140.0);
    engine->gator.setEngaged(true);
    engine->lofi.setEngaged(true);
    engine->filter.setEngaged(true);
    engine->shuffler.setEngaged(true);
    engine->retrigger.setEngaged(true);
    engine->reverser.setEngaged(true);
    engine->delay.setLevel(1.0f);
    engine->delay.setFeedback(0.9f);
    engine->granular.setMix(1.0f);
    auto left = noise(4096, 4), right = noise(4096, 5);
    std::vector<float> outL(4096), outR(4096);
    for (int block = 0; block < 60; ++block) {
        if (block == 20) engine->tapeStop.setEngaged(true);
        if (block == 40) engine->tapeStop.setEngaged(false);
        engine->processAudio(left.data(), right.data(), outL.data(), outR.data(), 4096);
        for (size_t i = 0; i < outL.size(); ++i) {
            ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]));
            ASSERT_LT(std::abs(outL[i]), 50.0f);
        }
    }
}

TEST_F(GlitchEngineTest, SampleRateChangeRescalesTimesAndKeepsRings)
{
    host.values = {{402, 1000.0}, {403, 0.7}, {404, 1000.0}, {405, 0.7}, {802, 16.0}};
    engine->onTempoChanged(120.0);
    ASSERT_EQ(engine->reverser.length(), 44100);
    engine->delay.setTimeMs(100.0);

    engine->onSampleRateChanged(96000.0);
    EXPECT_EQ(engine->reverser.length(), 96000);
    EXPECT_FLOAT_EQ(engine->delay.targetTime(), 9600.0f);
    EXPECT_EQ(engine->delay.currentTime(), 11025.0f);
    EXPECT_EQ(engine->granular.grainSize(), 24000);
    EXPECT_FLOAT_EQ(engine->granular.duration(), 19200.0f);
    EXPECT_EQ(engine->tapeStop.sampleRate(), 96000.0f);
    EXPECT_EQ(engine->gator.sampleRate(), 96000.0f);
    EXPECT_FLOAT_EQ(engine->retrigger.sliceLength(), 96.0f); // the 1 ms floor
    EXPECT_EQ(engine->shuffler.lengths()[9], 96000);

    // The filter corners stay at 1 kHz: recompute at 96 kHz and compare.
    BiquadSection expected;
    expected.setLowPass(1000.0, 0.7, 96000.0);
    EXPECT_EQ(engine->filter.lowPass(1).a1, expected.a1);
    EXPECT_EQ(engine->filter.lowPass(0).b0, expected.b0);
    expected.setHighPass(1000.0, 0.7, 96000.0);
    EXPECT_EQ(engine->filter.highPass(0).b1, expected.b1);

    for (double bad : {0.0, -44100.0, std::numeric_limits<double>::infinity()}) {
        engine->onSampleRateChanged(bad);
        EXPECT_EQ(engine->delay.sampleRate(), 96000.0f);
        EXPECT_EQ(engine->reverser.length(), 96000);
    }
}

} // namespace
} // namespace vexbit
