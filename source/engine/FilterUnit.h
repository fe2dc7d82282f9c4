#pragma once

#include "engine/BiquadSection.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexbit {

// A band-pass made of a low-pass and a high-pass section in series, per
// channel, switched in and out as a whole. Coefficients follow their settings
// whether the filter is on or off; switching on starts every section from rest.
class FilterUnit {
public:
    FilterUnit();

    void process(float& l, float& r) { processBlock(&l, &r, 1); }
    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);

    // Both channels' sections; the histories stay. Unusable arguments are ignored.
    void setLowPass(double frequency, double q, double sampleRate);
    void setHighPass(double frequency, double q, double sampleRate);
    // On: both switches set and every history cleared. Off: histories frozen.
    void setEngaged(bool engaged);

    bool engaged() const { return engaged_; }
    const BiquadSection& lowPass(int channel) const { return lowPass_[static_cast<std::size_t>(channel & 1)]; }
    const BiquadSection& highPass(int channel) const { return highPass_[static_cast<std::size_t>(channel & 1)]; }

private:
    bool engaged_ = false;
    std::array<BiquadSection, 2> lowPass_{};
    std::array<BiquadSection, 2> highPass_{};
};

} // namespace vexbit
