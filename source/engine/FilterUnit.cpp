#include "FilterUnit.h"

namespace vexbit {

FilterUnit::FilterUnit()
{
    setLowPass(5000.0, 0.7, 44100.0);
    setHighPass(1000.0, 0.7, 44100.0);
}

void FilterUnit::process(float& l, float& r)
{
    if (lowPassOn) {
        l = lowPass[0].process(l);
        r = lowPass[1].process(r);
    }
    if (highPassOn) {
        l = highPass[0].process(l);
        r = highPass[1].process(r);
    }
}

void FilterUnit::setLowPass(double frequency, double q, double sampleRate)
{
    for (BiquadSection& s : lowPass) s.setLowPass(frequency, q, sampleRate);
}

void FilterUnit::setHighPass(double frequency, double q, double sampleRate)
{
    for (BiquadSection& s : highPass) s.setHighPass(frequency, q, sampleRate);
}

void FilterUnit::setEngaged(bool engaged)
{
    lowPassOn = engaged;
    highPassOn = engaged;
    if (!engaged) return;
    for (BiquadSection& s : lowPass) s.clearHistory();
    for (BiquadSection& s : highPass) s.clearHistory();
}

} // namespace vexbit
