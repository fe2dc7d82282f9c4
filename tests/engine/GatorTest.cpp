#include "engine/GatorUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using vexbit::GatorUnit;

namespace {
// Gain the gate applies to a constant 1.0 input, sample by sample.
std::vector<float> gains(GatorUnit& g, int samples)
{
    std::vector<float> out;
    out.reserve(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        float l = 1.0f, r = 1.0f;
        g.process(l, r);
        EXPECT_EQ(l, r);
        out.push_back(l);
    }
    return out;
}

// Samples of the open half, counted from the start of a cycle: the gate is
// switched off for the ten samples it needs to open fully, then on again.
int openHalf(GatorUnit& g)
{
    g.setEngaged(false);
    gains(g, 10);
    g.setEngaged(true);
    int n = 10;
    while (n < 1000000 && gains(g, 1)[0] == 1.0f) ++n;
    return n;
}
} // namespace

TEST(Gator, EngagedAtSpeed8AlternatesHalvesOfAbout2756SamplesWithTenSampleRamps)
{
    GatorUnit g;
    gains(g, 20); // settle the start-up fade
    g.setEngaged(true);
    g.setSpeed(8.0);
    const auto out = gains(g, 44100 * 2);

    // Starts of the closing and opening edges.
    std::vector<int> closing, opening;
    for (size_t i = 1; i < out.size(); ++i) {
        if (out[i - 1] == 1.0f && out[i] < 1.0f) closing.push_back(static_cast<int>(i));
        if (out[i - 1] == 0.0f && out[i] > 0.0f) opening.push_back(static_cast<int>(i));
    }
    ASSERT_GE(closing.size(), 15u);
    ASSERT_GE(opening.size(), 15u);

    for (int start : closing) {
        if (start + 10 >= static_cast<int>(out.size())) break;
        for (int k = 0; k < 9; ++k) EXPECT_NEAR(out[start + k], 0.9f - 0.1f * k, 1e-5f);
        EXPECT_EQ(out[start + 9], 0.0f);
    }
    for (int start : opening) {
        if (start + 10 >= static_cast<int>(out.size())) break;
        for (int k = 0; k < 9; ++k) EXPECT_NEAR(out[start + k], 0.1f + 0.1f * k, 1e-5f);
        EXPECT_EQ(out[start + 9], 1.0f);
    }

    // Each half lasts 2756 or 2757 samples, 2756.25 on average.
    for (size_t i = 0; i < closing.size() && i < opening.size(); ++i) {
        const int open = opening[i] - closing[i];
        EXPECT_TRUE(open == 2756 || open == 2757) << open;
    }
    const double period = static_cast<double>(closing.back() - closing.front()) / (closing.size() - 1);
    EXPECT_NEAR(period, 5512.5, 0.5);
}

TEST(Gator, SwitchingOffInAClosedHalfRestoresFullLevelWithinTenSamples)
{
    GatorUnit g;
    g.setEngaged(true);
    auto out = gains(g, 4000); // into the closed half
    ASSERT_EQ(out.back(), 0.0f);
    g.setEngaged(false);
    out = gains(g, 10);
    EXPECT_EQ(out[9], 1.0f);
    for (int i = 1; i < 10; ++i) EXPECT_GT(out[i], out[i - 1]);
    // Off: the level stays full across what would be closed halves.
    for (float v : gains(g, 20000)) ASSERT_EQ(v, 1.0f);

    // Switching off and on again from a closed half starts with an open half.
    g.setEngaged(true);
    while (gains(g, 1)[0] == 1.0f) {}
    gains(g, 20);
    g.setEngaged(false);
    g.setEngaged(true);
    gains(g, 10);
    out = gains(g, 2700);
    for (float v : out) ASSERT_EQ(v, 1.0f);
}

TEST(Gator, UnusableSettingsKeepTheGateBounded)
{
    GatorUnit g;
    const int before = openHalf(g);
    g.setSpeed(std::numeric_limits<double>::quiet_NaN());
    g.setSpeed(std::numeric_limits<double>::infinity());
    g.setSampleRate(0.0);
    g.setSampleRate(-44100.0);
    g.setSampleRate(std::numeric_limits<double>::quiet_NaN());
    g.setSampleRate(1e300);
    EXPECT_EQ(openHalf(g), before);
    EXPECT_EQ(g.sampleRate(), 44100.0f);
    g.setSampleRate(88200.0);
    EXPECT_NEAR(openHalf(g), 2 * before, 1);

    // Absurd speeds are held below half the sample rate, so the phase keeps wrapping.
    g.setEngaged(true);
    g.setSpeed(1e12);
    EXPECT_LE(g.speed(), 44100.0f);
    g.setSpeed(-5.0);
    EXPECT_GE(g.speed(), 0.0f);
    g.setSpeed(1e12);
    for (float v : gains(g, 10000)) {
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_GE(v, 0.0f);
        ASSERT_LE(v, 1.0f);
    }
}
