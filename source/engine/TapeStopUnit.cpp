#include "engine/TapeStopUnit.h"

#include "engine/NumericConversions.h"

#include <algorithm>
#include <array>
#include <bit>
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

void TapeStopUnit::setEngaged(bool engaged)
{
    active_ = engaged;
    const int32_t lag = std::abs(truncToInt32(static_cast<double>(position_)));
    jumpCounter_ = lag % kJumpPeriod + 1;
}

void TapeStopUnit::setStartSpeed(double value)
{
    startSpeed_ = clampUnit(value, startSpeed_);
}
void TapeStopUnit::setStopSpeed(double value)
{
    stopSpeed_ = clampUnit(value, stopSpeed_);
}

void TapeStopUnit::setSampleRate(double fs)
{
    if (isUsableRate(fs)) sampleRate_ = static_cast<float>(fs);
}

TapeStopUnit::Motion TapeStopUnit::motion() const
{
    const float h = static_cast<float>(static_cast<double>(sampleRate_) * 0.5);
    const float s = active_ ? stopSpeed_ : startSpeed_;
    const float k = (s * 4.8f * s + 0.2f) / h;
    const float vmin =
        std::max(kSlowestSpeedOffset, static_cast<float>(-(static_cast<double>(0.25f / h / k) + kFastestEnd)));
    return {k, vmin, vmin / k};
}

int32_t TapeStopUnit::steadyFrames(const Motion& m, int32_t n) const
{
    // A crossfade reads a second place; those frames run one by one.
    if (jumpCounter_ > kFadeStart) return 0;
    float gain = gain_;
    float v = velocity_;
    float p = position_;
    int32_t c = jumpCounter_;
    int32_t jump = jump_;
    moveTape(gain, v, p, c, jump, m);
    const auto same = [](float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); };
    if (!same(gain, gain_) || !same(v, velocity_) || !same(p, position_) || jump != jump_) return 0;
    // Nothing moves but maybe the jump clock, which counts up to the next crossfade.
    if (c == jumpCounter_) return n;
    return std::min(n, kFadeStart - jumpCounter_ + 1);
}

void TapeStopUnit::processBlock(float* l, float* r, int32_t n)
{
    const Motion m = motion();
    while (n > 0) {
        const int32_t steady = steadyFrames(m, n);
        if (steady == 0) {
            step(*l++, *r++, m);
            --n;
            continue;
        }
        passSteady(l, r, steady);
        l += steady;
        r += steady;
        n -= steady;
    }
}

void TapeStopUnit::passSteady(float* l, float* r, int32_t n)
{
    // What step does while the tape stands in one state: each frame reads at
    // the same lag, then records its input.
    const RingBuffer::Tap at = ringL_.tap(position_);
    const int32_t size = ringL_.size();
    const int32_t ahead = at.whole < 0 ? at.whole + size : at.whole;
    // Reads at a lag of d samples come from before the stretch for d frames.
    const int32_t most = ahead == 0 ? RingBuffer::kMaxAhead : std::min(RingBuffer::kMaxAhead, size - ahead);
    const bool clockRuns = position_ < 0.0f && !active_;
    std::array<float, RingBuffer::kMaxAhead> a;
    std::array<float, RingBuffer::kMaxAhead> b;
    for (int32_t start = 0; start < n;) {
        const int32_t count = std::min(most, n - start);
        float* cl = l + start;
        float* cr = r + start;
        ringL_.readAhead(at, cl, a.data(), count);
        ringR_.readAhead(at, cr, b.data(), count);
        ringL_.pushBlock(cl, count);
        ringR_.pushBlock(cr, count);
        for (int32_t i = 0; i < count; ++i) {
            cl[i] = gain_ * a[static_cast<size_t>(i)];
            cr[i] = gain_ * b[static_cast<size_t>(i)];
        }
        start += count;
    }
    if (clockRuns) jumpCounter_ += n;
}

void TapeStopUnit::step(float& l, float& r, const Motion& m)
{
    float p = position_;
    float v = velocity_;
    int32_t& c = jumpCounter_;
    const int32_t M = kJumpPeriod;
    const int32_t K = kFadeStart;

    // Both rings have one size, so one split offset serves both.
    const RingBuffer::Tap now = ringL_.tap(p);
    float a = ringL_.readTap(now);
    float b = ringR_.readTap(now);

    // Near the end of each period, crossfade towards where the jump will land.
    if (c > K) {
        const float x = static_cast<float>(c - K) / static_cast<float>(M - K);
        if (p > static_cast<float>(-M) && jump_ == M) jump_ = K - truncToInt32(static_cast<double>(p)) - M;
        const float q = static_cast<float>(jump_) + p;
        const RingBuffer::Tap landing = ringL_.tap(q);
        a = ringL_.readTap(landing) * x + (1.0f - x) * a;
        b = ringR_.readTap(landing) * x + (1.0f - x) * b;
    }

    const float inL = l;
    const float inR = r;
    l = gain_ * a;
    r = gain_ * b;

    moveTape(gain_, v, p, c, jump_, m);
    position_ = p;
    velocity_ = v;
    ringL_.push(inL);
    ringR_.push(inR);
}

void TapeStopUnit::moveTape(float& gain, float& v, float& p, int32_t& c, int32_t& jump, const Motion& m) const
{
    const int32_t M = kJumpPeriod;
    const float k = m.k;
    const float vmin = m.vmin;
    if (active_) {
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
    p = std::max(p, m.floor);
    p = std::max(p, -kMaxLag);
    if (p > 0.0f) p = 0.0f;
}

} // namespace vexbit
