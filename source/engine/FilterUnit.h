#pragma once

#include "BiquadSection.h"

#include <array>

namespace vexbit {

// A band-pass made of a low-pass and a high-pass section in series, per
// channel, switched in and out as a whole. Coefficients follow their settings
// whether the filter is on or off; switching on starts every section from rest.
class FilterUnit {
public:
    FilterUnit();

    void process(float& l, float& r);

    // Both channels' sections; the histories stay. Unusable arguments are ignored.
    void setLowPass(double frequency, double q, double sampleRate);
    void setHighPass(double frequency, double q, double sampleRate);
    // On: both switches set and every history cleared. Off: histories frozen.
    void setEngaged(bool engaged);

    bool lowPassOn = false;
    bool highPassOn = false;
    std::array<BiquadSection, 2> lowPass{};
    std::array<BiquadSection, 2> highPass{};
};

} // namespace vexbit
