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
    // Each sample divides by a0 as written; the quotients are the same for every
    // sample, so they are worked out once.
    const float c0 = b0 / a0, c1 = b1 / a0, c2 = b2 / a0, d1 = a1 / a0, d2 = a2 / a0;
    float hx1 = x1, hx2 = x2, hy1 = y1, hy2 = y2;
    for (int i = 0; i < n; ++i) {
        const float x = samples[i];
        const float y = c0 * x + c1 * hx1 + c2 * hx2 - d1 * hy1 - d2 * hy2;
        if (!std::isfinite(y)) {
            // An overflowing input must not leave the recursion stuck at inf or NaN.
            hx1 = hx2 = hy1 = hy2 = 0.0f;
            samples[i] = 0.0f;
            continue;
        }
        hx2 = hx1;
        hx1 = x;
        hy2 = hy1;
        hy1 = y;
        samples[i] = y;
    }
    x1 = hx1;
    x2 = hx2;
    y1 = hy1;
    y2 = hy2;
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
