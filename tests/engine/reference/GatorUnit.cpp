#include "engine/reference/GatorUnit.h"

#include "engine/reference/NumericConversions.h"

#include <algorithm>
#include <cmath>

namespace vexbit::reference {

namespace {
// 2 pi as the double nearest to its single-precision value.
constexpr double kTwoPiDouble = 6.2831854820251465;

double clampSpeed(double cyclesPerSecond, double sampleRate_)
{
    return std::clamp(cyclesPerSecond, 0.0, sampleRate_ * 0.5);
}
} // namespace

GatorUnit::GatorUnit() : phaseIncrement_(static_cast<float>(static_cast<double>(8.0f * kTwoPi) / 44100.0)) {}

void GatorUnit::setEngaged(bool engaged)
{
    if (engaged) {
        depth_ = 1.0f;
    } else {
        depth_ = 0.0f;
        phase_ = 0.0f;
    }
}

void GatorUnit::setSpeed(double cyclesPerSecond)
{
    if (!std::isfinite(cyclesPerSecond)) return;
    const double s = clampSpeed(cyclesPerSecond, sampleRate_);
    speed_ = static_cast<float>(s);
    phaseIncrement_ = static_cast<float>(s * kTwoPiDouble / static_cast<double>(sampleRate_));
}

void GatorUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    speed_ = static_cast<float>(clampSpeed(speed_, rate));
    phaseIncrement_ = speed_ * kTwoPi / rate;
    sampleRate_ = rate;
}

} // namespace vexbit::reference
