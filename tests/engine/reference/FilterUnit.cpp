#include "engine/reference/FilterUnit.h"

namespace vexbit::reference {

FilterUnit::FilterUnit()
{
    setLowPass(5000.0, 0.7, 44100.0);
    setHighPass(1000.0, 0.7, 44100.0);
}

void FilterUnit::process(float& l, float& r)
{
    if (!engaged_) return;
    l = lowPass_[0].process(l);
    r = lowPass_[1].process(r);
    l = highPass_[0].process(l);
    r = highPass_[1].process(r);
}

void FilterUnit::setLowPass(double frequency, double q, double sampleRate)
{
    for (BiquadSection& s : lowPass_) s.setLowPass(frequency, q, sampleRate);
}

void FilterUnit::setHighPass(double frequency, double q, double sampleRate)
{
    for (BiquadSection& s : highPass_) s.setHighPass(frequency, q, sampleRate);
}

void FilterUnit::setEngaged(bool engaged)
{
    engaged_ = engaged;
    if (!engaged) return;
    for (BiquadSection& s : lowPass_) s.clearHistory();
    for (BiquadSection& s : highPass_) s.clearHistory();
}

} // namespace vexbit::reference
