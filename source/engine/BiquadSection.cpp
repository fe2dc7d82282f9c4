#include "engine/BiquadSection.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

namespace {
constexpr float kTwoPi = 6.2831855f;
// Highest usable corner, as a share of the sample rate.
constexpr double kMaxCornerRatio = 0.49;

struct Shape {
    float alpha;
    float cosine;
};

bool shapeFor(double frequency, double q, double sampleRate, Shape& out)
{
    if (!std::isfinite(frequency) || !std::isfinite(q) || !std::isfinite(sampleRate)) return false;
    if (sampleRate <= 0.0 || q <= 0.0 || frequency <= 0.0) return false;
    const float f = static_cast<float>(std::min(frequency, sampleRate * kMaxCornerRatio));
    const float qf = static_cast<float>(q);
    const float w = f * kTwoPi / static_cast<float>(sampleRate);
    out.alpha = std::sin(w) / (qf + qf);
    out.cosine = std::cos(w);
    return std::isfinite(out.alpha) && out.alpha > 0.0f;
}
} // namespace

void BiquadSection::processBlock(float* samples, int n)
{
    Running run(*this);
    for (int i = 0; i < n; ++i) samples[i] = run.step(samples[i]);
    run.storeHistory(*this);
}

bool BiquadSection::setLowPass(double frequency, double q, double sampleRate)
{
    Shape s{};
    if (!shapeFor(frequency, q, sampleRate, s)) return false;
    a0 = 1.0f + s.alpha;
    a1 = -2.0f * s.cosine;
    a2 = 1.0f - s.alpha;
    b0 = b2 = (1.0f - s.cosine) * 0.5f;
    b1 = 1.0f - s.cosine;
    return true;
}

bool BiquadSection::setHighPass(double frequency, double q, double sampleRate)
{
    Shape s{};
    if (!shapeFor(frequency, q, sampleRate, s)) return false;
    a0 = 1.0f + s.alpha;
    a1 = -2.0f * s.cosine;
    a2 = 1.0f - s.alpha;
    b0 = b2 = (1.0f + s.cosine) * 0.5f;
    b1 = -(1.0f + s.cosine);
    return true;
}

} // namespace vexbit
