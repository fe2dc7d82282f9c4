#include "engine/FilterUnit.h"
#include "engine/LoFiUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace vexbit {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Steady-state gain of the filter for a sine of the given frequency, left channel.
double sineGain(FilterUnit& f, double frequency, double sampleRate)
{
    const int settle = static_cast<int>(sampleRate / 5);
    const int measure = static_cast<int>(sampleRate / 2);
    double inEnergy = 0.0, outEnergy = 0.0;
    for (int n = 0; n < settle + measure; ++n) {
        const float x = static_cast<float>(std::sin(2.0 * kPi * frequency * n / sampleRate));
        float l = x, r = 0.0f;
        f.process(l, r);
        if (n >= settle) {
            inEnergy += static_cast<double>(x) * x;
            outEnergy += static_cast<double>(l) * l;
        }
    }
    return std::sqrt(outEnergy / inEnergy);
}

FilterUnit bandAround1k(double sampleRate)
{
    FilterUnit f;
    f.setLowPass(1000.0, 0.7, sampleRate);
    f.setHighPass(1000.0, 0.7, sampleRate);
    f.setEngaged(true);
    return f;
}

TEST(FilterUnit, OffPassesTheInputExactly)
{
    FilterUnit f = bandAround1k(44100.0);
    for (int n = 0; n < 100; ++n) {
        float l = 0.3f, r = -0.2f;
        f.process(l, r);
    }
    f.setEngaged(false);
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 1000; ++n) {
        const float x = noise(gen), y = noise(gen);
        float l = x, r = y;
        f.process(l, r);
        ASSERT_EQ(l, x);
        ASSERT_EQ(r, y);
    }
}

TEST(FilterUnit, BandAroundOneKilohertzPassesItAndBlocksTheOutskirts)
{
    for (double fs : {44100.0, 96000.0}) {
        FilterUnit f = bandAround1k(fs);
        EXPECT_NEAR(sineGain(f, 1000.0, fs), 0.5, 0.05) << fs; // -3 dB from each section
        EXPECT_LT(sineGain(f, 100.0, fs), 0.015) << fs;
        EXPECT_LT(sineGain(f, 10000.0, fs), 0.015) << fs;
    }
}

TEST(FilterUnit, ChannelsAreIndependent)
{
    FilterUnit f = bandAround1k(44100.0);
    for (int n = 0; n < 5000; ++n) {
        float l = static_cast<float>(std::sin(0.15 * n)), r = 0.0f;
        f.process(l, r);
        ASSERT_EQ(r, 0.0f);
    }
}

TEST(FilterUnit, SwitchingOnStartsFromRest)
{
    FilterUnit f = bandAround1k(44100.0);
    for (int n = 0; n < 50; ++n) {
        float l = 1.0f, r = 1.0f;
        f.process(l, r);
    }
    f.setEngaged(false);
    f.setEngaged(true);
    // It answers exactly as a filter that never ran.
    FilterUnit unused = bandAround1k(44100.0);
    for (int n = 0; n < 50; ++n) {
        float l = 0.5f, r = -0.5f, l2 = l, r2 = r;
        f.process(l, r);
        unused.process(l2, r2);
        ASSERT_EQ(l, l2) << n;
        ASSERT_EQ(r, r2) << n;
    }
}

TEST(FilterUnit, UnusableSettingsKeepTheLastCoefficients)
{
    BiquadSection s;
    ASSERT_TRUE(s.setLowPass(2000.0, 1.0, 44100.0));
    const BiquadSection good = s;
    EXPECT_FALSE(s.setLowPass(2000.0, 0.0, 44100.0));
    EXPECT_FALSE(s.setLowPass(2000.0, 1.0, 0.0));
    EXPECT_FALSE(s.setHighPass(std::nan(""), 1.0, 44100.0));
    EXPECT_FALSE(s.setHighPass(0.0, 1.0, 44100.0));
    EXPECT_EQ(s.a0, good.a0);
    EXPECT_EQ(s.b1, good.b1);
}

TEST(FilterUnit, CornerAboveHalfTheRateStaysStableAndOverflowDoesNotStick)
{
    FilterUnit f;
    f.setLowPass(20000.0, 10.0, 32000.0); // above half the rate: held just below it
    f.setHighPass(20.0, 10.0, 32000.0);
    f.setEngaged(true);
    std::mt19937 gen(9);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 64000; ++n) {
        float l = noise(gen), r = noise(gen);
        f.process(l, r);
        ASSERT_LT(std::abs(l), 100.0f) << n;
    }
    float l = std::numeric_limits<float>::max(), r = -std::numeric_limits<float>::max();
    f.process(l, r);
    f.process(l, r);
    for (int n = 0; n < 100; ++n) {
        l = 0.5f;
        r = 0.5f;
        f.process(l, r);
        ASSERT_TRUE(std::isfinite(l) && std::isfinite(r)) << n;
    }
}

float lofiOne(LoFiUnit& u, float x)
{
    float l = x, r = x;
    u.process(l, r);
    EXPECT_EQ(l, r);
    return l;
}

TEST(LoFiUnit, BitDepthMasks)
{
    LoFiUnit u;
    const std::pair<double, int32_t> cases[] = {{16.0, -1},    {15.0, -2},    {5.0, -2048},   {5.9, -2048},
                                                {2.0, -16384}, {1.0, -16384}, {-3.0, -16384}, {40.0, -1}};
    for (auto [bits, mask] : cases) {
        u.setBitDepth(bits);
        EXPECT_EQ(u.mask(), mask) << bits;
    }
}

TEST(LoFiUnit, FullResolutionWithoutHoldIsExact)
{
    LoFiUnit u;
    u.setEngaged(true);
    u.setBitDepth(16.0);
    u.setHoldLength(1.0);
    std::mt19937 gen(2);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 1000; ++n) {
        const float x = noise(gen);
        ASSERT_EQ(lofiOne(u, x), x);
    }
}

TEST(LoFiUnit, TwoBitsRoundPositiveTowardZeroAndNegativeDown)
{
    LoFiUnit u;
    u.setEngaged(true);
    u.setBitDepth(2.0);
    u.setHoldLength(1.0);
    EXPECT_EQ(lofiOne(u, 0.3f), 0.0f);
    EXPECT_EQ(lofiOne(u, 16383.0f / 32767.0f), 0.0f);
    EXPECT_FLOAT_EQ(lofiOne(u, 0.6f), 16384.0f / 32767.0f);
    EXPECT_FLOAT_EQ(lofiOne(u, -0.1f), -16384.0f / 32767.0f);
    // Values beyond full scale keep their larger image; NaN and huge values stay defined.
    EXPECT_FLOAT_EQ(lofiOne(u, 1.5f), 32768.0f / 32767.0f); // 49150 & -16384
    EXPECT_TRUE(std::isfinite(lofiOne(u, std::numeric_limits<float>::quiet_NaN())));
    EXPECT_TRUE(std::isfinite(lofiOne(u, 1e30f)));
}

TEST(LoFiUnit, HoldMakesAStaircaseAndResumesAfterASwitchOff)
{
    LoFiUnit u;
    u.setEngaged(true);
    u.setBitDepth(16.0);
    u.setHoldLength(4.0);
    for (int n = 0; n < 12; ++n) {
        const float expected = static_cast<float>(n / 4 * 4);
        EXPECT_EQ(lofiOne(u, static_cast<float>(n)), expected) << n;
    }
    lofiOne(u, 12.0f); // holds 12, counter 1
    u.setEngaged(false);
    EXPECT_EQ(lofiOne(u, 50.0f), 50.0f); // passes unchanged; the hold stands
    u.setEngaged(true);
    EXPECT_EQ(lofiOne(u, 13.0f), 12.0f);
    EXPECT_EQ(lofiOne(u, 14.0f), 12.0f);
    EXPECT_EQ(lofiOne(u, 15.0f), 12.0f);
    EXPECT_EQ(lofiOne(u, 16.0f), 16.0f);
}

TEST(LoFiUnit, DefaultQuantisationAndZeroHoldLength)
{
    LoFiUnit u; // 5 bits, hold 10
    u.setEngaged(true);
    EXPECT_FLOAT_EQ(lofiOne(u, 0.1f), 2048.0f / 32767.0f); // 3276 & -2048
    u.setHoldLength(0.0);                                  // behaves as 1 once the running hold ends
    u.setBitDepth(16.0);
    lofiOne(u, 0.0f);
    EXPECT_EQ(lofiOne(u, 0.25f), 0.25f);
    EXPECT_EQ(lofiOne(u, 0.5f), 0.5f);
}

} // namespace
} // namespace vexbit
