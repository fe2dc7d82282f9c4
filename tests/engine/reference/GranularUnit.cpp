#include "engine/reference/GranularUnit.h"

#include "engine/reference/NumericConversions.h"
#include "engine/reference/RandomSource.h"

#include <algorithm>
#include <cmath>

namespace vexbit::reference {

namespace {
constexpr float kEnvStep = 0.05f;
constexpr float kGrainGain = 0.3f;
// Share of the grains fed back into the recording.
constexpr float kFeedback = 0.2f;
// A grain ends this many samples before its length runs out...
constexpr int32_t kEndMargin = 20;
// ...or when it comes this close to the present.
constexpr float kNearest = 40.0f;
// Reads stay within what the ring holds: offset +9 is the newest sample
// (lead 10), -(size - 10) the oldest. Farther reads would return wrapped material.
constexpr float kNewestOffset = static_cast<float>(GranularUnit::kLead - 1);
constexpr float kOldestOffset = -static_cast<float>(GranularUnit::kRingSize - GranularUnit::kLead);

float readAt(const RingBuffer& ring, float distance)
{
    return ring.read(std::clamp(-distance, kOldestOffset, kNewestOffset));
}
} // namespace

GranularUnit::GranularUnit()
{
    ratePicker_.setWeights(std::span<const int32_t>(kRateWeights));
    for (Grain& g : grains_) restartGrain(g);
}

void GranularUnit::restartGrain(Grain& g)
{
    g.counter = 0;
    if (const auto index = ratePicker_.pick()) g.rate = kRates[static_cast<size_t>(*index)];
    const float r = static_cast<float>(RandomSource::nextBelow(101)) / 100.0f;
    const float a = 0.75f * r + 0.25f;
    g.length = truncToInt32(static_cast<double>(static_cast<float>(grainSize_) * a));
    g.env = 0.0f;
    g.amp = 0.2f * r + 0.8f;
    g.posL = a * duration_;
    g.posR = (0.2f * r + 0.9f) * g.posL;
}

void GranularUnit::setDurationMs(double ms)
{
    const double d = static_cast<double>(sampleRate_) * ms / 1000.0;
    if (std::isfinite(d)) duration_ = static_cast<float>(d);
}

void GranularUnit::setGrainSizeMs(double ms)
{
    // A negative size would give grains that never reach their end.
    grainSize_ = std::max(0, truncToInt32(static_cast<double>(sampleRate_) * ms / 1000.0));
}

void GranularUnit::setSampleRate(double fs)
{
    if (!isUsableRate(fs)) return;
    const double ratio = fs / static_cast<double>(sampleRate_);
    grainSize_ = std::max(0, truncToInt32(static_cast<double>(grainSize_) * ratio));
    duration_ = static_cast<float>(static_cast<double>(duration_) * ratio);
    sampleRate_ = static_cast<float>(fs);
}

void GranularUnit::process(float& l, float& r)
{
    float wetL = 0.0f;
    float wetR = 0.0f;
    for (const Grain& g : grains_) {
        const float gain = g.amp * kGrainGain * g.env;
        wetL += readAt(ringL_, g.posL) * gain;
        wetR += readAt(ringR_, g.posR) * gain;
    }
    const float inL = l;
    const float inR = r;
    l = (1.0f - mix_) * inL + mix_ * wetL;
    r = (1.0f - mix_) * inR + mix_ * wetR;
    ringL_.push(inL + kFeedback * wetL);
    ringR_.push(inR + kFeedback * wetR);

    for (Grain& g : grains_) {
        ++g.counter;
        const int32_t d = g.length - g.counter;
        g.posL -= g.rate;
        g.posR -= g.rate;
        if (std::abs(d) < kEndMargin || g.posL < kNearest || g.posR < kNearest) {
            g.env -= kEnvStep;
            if (g.env <= 0.0f) {
                g.env = 0.0f;
                restartGrain(g);
            }
        } else {
            g.env = std::min(g.env + kEnvStep, 1.0f);
        }
    }
}

} // namespace vexbit::reference
