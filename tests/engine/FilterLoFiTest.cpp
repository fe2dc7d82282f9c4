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

TEST(FilterUnit, BandAroundOneKilohertzPassesItAndBlocksTheOutskirts)
{
    for (double fs : {44100.0, 96000.0}) {
        FilterUnit f = bandAround1k(fs);
        EXPECT_NEAR(sineGain(f, 1000.0, fs), 0.5, 0.05) << fs; // -3 dB from each section
        EXPECT_LT(sineGain(f, 100.0, fs), 0.015) << fs;
        EXPECT_LT(sineGain(f, 10000.0, fs), 0.015) << fs;
    }
}

float lofiOne(LoFiUnit& u, float x)
{
    float l = x, r = x;
    u.process(l, r);
    EXPECT_EQ(l, r);
    return l;
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

} // namespace
} // namespace vexbit
