#include "engine/DelayUnit.h"

#include "engine/NumericConversions.h"

#include <algorithm>
#include <array>

namespace vexbit {

namespace {
constexpr float kFadeStep = 0.0001f;
// With lead 10 an offset of +9 is the newest sample; nothing nearer exists.
constexpr float kMinTime = -static_cast<float>(DelayUnit::kLead - 1);
} // namespace

DelayUnit::DelayUnit()
{
    setTimeMs(50.0);
}

void DelayUnit::setTimeMs(double ms)
{
    const double t = static_cast<double>(sampleRate_) * ms / 1000.0;
    if (std::isfinite(t)) targetTime_ = static_cast<float>(t);
}

void DelayUnit::setSampleRate(double fs)
{
    if (!isUsableRate(fs)) return;
    targetTime_ = static_cast<float>(static_cast<double>(targetTime_) * (fs / static_cast<double>(sampleRate_)));
    sampleRate_ = static_cast<float>(fs);
}

void DelayUnit::processBlock(float* l, float* r, int32_t n)
{
    // The read distance only changes when a fade-out ends, so it is split once
    // and again after each change.
    RingBuffer::Tap tap = ringL_.tap(-std::clamp(currentTime_, kMinTime, kMaxTime));
    const int32_t checkPeriod = truncToInt32(sampleRate_);
    for (int32_t i = 0; i < n; ++i) {
        if (const int32_t done = passSteady(l + i, r + i, std::min(n - i, checkPeriod - counter_), tap); done > 0) {
            i += done - 1;
            continue;
        }
        const float dL = ringL_.readTap(tap);
        const float dR = ringR_.readTap(tap);
        const float a = fade_ * level_;
        const float b = fade_ * feedback_;
        const float inL = l[i];
        const float inR = r[i];
        l[i] = a * dL + inL;
        r[i] = a * dR + inR;
        ringL_.push(b * dL + inL);
        ringR_.push(b * dR + inR);

        // The target is looked at once every trunc(sampleRate) + 1 samples. Counting
        // up to the limit rather than past it keeps the counter from overflowing.
        if (counter_ >= checkPeriod) {
            heldTime_ = targetTime_;
            counter_ = 0;
        } else {
            ++counter_;
        }
        if (heldTime_ == currentTime_) {
            fade_ = std::min(fade_ + kFadeStep, 1.0f);
        } else {
            fade_ -= kFadeStep;
            if (fade_ < 0.0f) {
                currentTime_ = heldTime_;
                fade_ = 0.0f;
                ringL_.clear();
                ringR_.clear();
                tap = ringL_.tap(-std::clamp(currentTime_, kMinTime, kMaxTime));
            }
        }
    }
}

int32_t DelayUnit::passSteady(float* l, float* r, int32_t n, RingBuffer::Tap tap)
{
    // Only at full fade with the time settled do level and loop gain stay put;
    // the frames up to the next look at the target keep it so.
    if (n <= 0 || heldTime_ != currentTime_ || fade_ != 1.0f) return 0;
    n = std::min(n, RingBuffer::kMaxAhead);
    // Every read must come from before these frames: frame i reads the pair at
    // place whole (+1) and records at place lead, both i places on.
    const int32_t size = kRingSize;
    for (int32_t second = 0; second < 2; ++second) {
        const int32_t after = ((tap.whole + second - kLead) % size + size) % size;
        n = std::min(n, size - after);
    }
    std::array<float, RingBuffer::kMaxAhead + 1> scratchL;
    std::array<float, RingBuffer::kMaxAhead + 1> scratchR;
    const float* __restrict oldL = ringL_.view(tap.whole, scratchL.data(), n + 1);
    const float* __restrict oldR = ringR_.view(tap.whole, scratchR.data(), n + 1);
    std::array<float, RingBuffer::kMaxAhead> recordL;
    std::array<float, RingBuffer::kMaxAhead> recordR;
    const float a = fade_ * level_;
    const float b = fade_ * feedback_;
    for (int32_t i = 0; i < n; ++i) {
        const auto k = static_cast<size_t>(i);
        const float dL = oldL[k] + (oldL[k + 1] - oldL[k]) * tap.frac;
        const float dR = oldR[k] + (oldR[k + 1] - oldR[k]) * tap.frac;
        const float inL = l[i];
        const float inR = r[i];
        l[i] = a * dL + inL;
        r[i] = a * dR + inR;
        recordL[k] = b * dL + inL;
        recordR[k] = b * dR + inR;
    }
    ringL_.pushBlock(recordL.data(), n);
    ringR_.pushBlock(recordR.data(), n);
    // As n frames of the loop: the counter stays short of the check and the fade at 1.
    counter_ += n;
    return n;
}

} // namespace vexbit
