#include "DelayUnit.h"

#include "NumericConversions.h"

#include <algorithm>

namespace vexbit {

namespace {
constexpr float kFadeStep = 0.0001f;
// With lead 10 an offset of +9 is the newest sample; nothing nearer exists.
constexpr float kMinTime = -static_cast<float>(DelayUnit::kLead - 1);
} // namespace

DelayUnit::DelayUnit() { setTimeMs(50.0); }

void DelayUnit::setTimeMs(double ms)
{
    const double t = static_cast<double>(sampleRate) * ms / 1000.0;
    if (std::isfinite(t)) targetTime = static_cast<float>(t);
}

void DelayUnit::setSampleRate(double fs)
{
    if (!isUsableRate(fs)) return;
    targetTime = static_cast<float>(static_cast<double>(targetTime) * (fs / static_cast<double>(sampleRate)));
    sampleRate = static_cast<float>(fs);
}

void DelayUnit::process(float& l, float& r)
{
    const float time = std::clamp(currentTime, kMinTime, kMaxTime);
    const float dL = ringL.read(-time);
    const float dR = ringR.read(-time);
    const float a = fade * level;
    const float b = fade * feedback;
    const float inL = l;
    const float inR = r;
    l = a * dL + inL;
    r = a * dR + inR;
    ringL.push(b * dL + inL);
    ringR.push(b * dR + inR);

    // The target is looked at once every trunc(sampleRate) + 1 samples. Counting
    // up to the limit rather than past it keeps the counter from overflowing.
    if (counter >= truncToInt32(sampleRate)) {
        heldTime = targetTime;
        counter = 0;
    } else {
        ++counter;
    }
    if (heldTime == currentTime) {
        fade = std::min(fade + kFadeStep, 1.0f);
    } else {
        fade -= kFadeStep;
        if (fade < 0.0f) {
            currentTime = heldTime;
            fade = 0.0f;
            ringL.clear();
            ringR.clear();
        }
    }
}

} // namespace vexbit
