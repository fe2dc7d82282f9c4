#include "TapeStopUnit.h"

#include "NumericConversions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vexbit {

namespace {
constexpr float kGainStep = 0.01f;
constexpr float kSlowestSpeedOffset = -0.9f;
// The fastest a stop may end, as the single-precision value it has always been.
constexpr double kFastestEnd = static_cast<double>(0.65f);

float clampUnit(double value, float fallback)
{
    return std::isfinite(value) ? static_cast<float>(std::clamp(value, 0.0, 1.0)) : fallback;
}
} // namespace

TapeStopUnit::TapeStopUnit() = default;

void TapeStopUnit::setActive(bool engaged)
{
    active = engaged;
    const int32_t lag = std::abs(truncToInt32(static_cast<double>(position)));
    jumpCounter = (jumpPeriod > 0 ? lag % jumpPeriod : 0) + 1;
}

void TapeStopUnit::setStartSpeed(double value) { startSpeed = clampUnit(value, startSpeed); }
void TapeStopUnit::setStopSpeed(double value) { stopSpeed = clampUnit(value, stopSpeed); }

void TapeStopUnit::setSampleRate(double fs)
{
    if (isUsableRate(fs)) sampleRate = static_cast<float>(fs);
}

void TapeStopUnit::process(float& l, float& r)
{
    float p = position;
    float v = velocity;
    int32_t& c = jumpCounter;
    const int32_t M = jumpPeriod;
    const int32_t K = fadeStart;

    float a = ringL.read(p);
    float b = ringR.read(p);

    // Near the end of each period, crossfade towards where the jump will land.
    if (c > K && M > K) {
        const float x = static_cast<float>(c - K) / static_cast<float>(M - K);
        if (p > static_cast<float>(-M) && jump == M) jump = K - truncToInt32(static_cast<double>(p)) - M;
        const float q = static_cast<float>(jump) + p;
        a = ringL.read(q) * x + (1.0f - x) * a;
        b = ringR.read(q) * x + (1.0f - x) * b;
    }

    const float inL = l;
    const float inR = r;
    l = gain * a;
    r = gain * b;

    const float h = static_cast<float>(static_cast<double>(sampleRate) * 0.5);
    const float s = active ? stopSpeed : startSpeed;
    const float k = (s * 4.8f * s + 0.2f) / h;
    const float vmin = std::max(
        kSlowestSpeedOffset,
        static_cast<float>(-(static_cast<double>(0.25f / h / k) + kFastestEnd)));

    if (active) {
        if (static_cast<double>(v) / static_cast<double>(vmin) > 0.9)
            gain = std::max(static_cast<float>(static_cast<double>(gain) - 0.01), 0.0f);
        v -= k;
        if (v < vmin) {
            v = vmin;
            gain = 0.0f;
        }
    } else {
        if (gain < 1.0f) gain = std::min(gain + kGainStep, 1.0f);
        v += k;
        if (v > 0.0f) v = 0.0f;
        if (p < 0.0f) {
            ++c;
            // ">=" rather than "==": a switch can leave the counter at a full period.
            if (c >= M) {
                c = 0;
                p = static_cast<float>(jump) + p;
                jump = M;
            }
        }
    }

    p += v;
    p = std::max(p, vmin / k);
    p = std::max(p, -kMaxLag);
    if (p > 0.0f) p = 0.0f;

    position = p;
    velocity = v;
    ringL.push(inL);
    ringR.push(inR);
}

} // namespace vexbit
