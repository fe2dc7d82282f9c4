#pragma once

#include <cstdint>

namespace vexbit {

// Square-wave gate: open for half of each cycle, closed for the other half,
// with 10-sample linear ramps at the edges. The phase runs whether the gate is
// engaged or not; only a switch-off brings it back to the start of an open half.
class GatorUnit {
public:
    GatorUnit();

    void process(float& l, float& r)
    {
        if (phase_ < kPi) {
            gain_ += kRampStep;
            if (gain_ > 1.0f) gain_ = 1.0f;
        } else {
            gain_ -= kRampStep;
            if (gain_ < 1.0f - depth_) gain_ = 1.0f - depth_;
        }
        l *= gain_;
        r *= gain_;
        phase_ += phaseIncrement_;
        if (phase_ > kTwoPi) phase_ -= kTwoPi;
    }

    void processBlock(float* l, float* r, int32_t n)
    {
        // Disengaged with the gate fully open, the gain stays exactly 1 and the
        // signal passes untouched; only the phase moves on.
        if (depth_ == 0.0f && gain_ == 1.0f) {
            advancePhase(n);
            return;
        }
        // The same steps as process, with gain and phase in locals rather than
        // members the sample stores might overwrite.
        float gain = gain_;
        float phase = phase_;
        const float floorGain = 1.0f - depth_;
        const float step = phaseIncrement_;
        for (int32_t i = 0; i < n; ++i) {
            if (phase < kPi) {
                gain += kRampStep;
                if (gain > 1.0f) gain = 1.0f;
            } else {
                gain -= kRampStep;
                if (gain < floorGain) gain = floorGain;
            }
            l[i] *= gain;
            r[i] *= gain;
            phase += step;
            if (phase > kTwoPi) phase -= kTwoPi;
        }
        gain_ = gain;
        phase_ = phase;
    }

    // Engaged: full gating from the current phase. Disengaged (or muted): the gate
    // stays open and the phase returns to 0, so the next switch-on opens first.
    void setEngaged(bool engaged);
    // Cycles per second. Values that are not finite are ignored; the rate is kept
    // between 0 and half the sample rate so one step never skips a whole cycle.
    void setSpeed(double cyclesPerSecond);
    // Ignored unless finite and positive.
    void setSampleRate(double sampleRate);

    static constexpr float kPi = 3.1415927f;
    static constexpr float kTwoPi = 6.2831855f;
    static constexpr float kRampStep = 0.1f;

    bool engaged() const { return depth_ > 0.0f; }
    float speed() const { return speed_; }
    float sampleRate() const { return sampleRate_; }

private:
    void advancePhase(int32_t n)
    {
        float phase = phase_;
        const float step = phaseIncrement_;
        for (int32_t i = 0; i < n; ++i) {
            phase += step;
            phase = phase > kTwoPi ? phase - kTwoPi : phase;
        }
        phase_ = phase;
    }

    float speed_ = 8.0f;
    float depth_ = 0.0f;
    // Starts at 0 so the engine's output fades in over its first ten samples.
    float gain_ = 0.0f;
    float phase_ = 0.0f;
    float phaseIncrement_;
    float sampleRate_ = 44100.0f;
};

} // namespace vexbit
