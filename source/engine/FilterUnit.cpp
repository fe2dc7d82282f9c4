#include "engine/FilterUnit.h"

namespace vexbit {

FilterUnit::FilterUnit()
{
    setLowPass(5000.0, 0.7, 44100.0);
    setHighPass(1000.0, 0.7, 44100.0);
}

void FilterUnit::processBlock(float* l, float* r, int32_t n)
{
    if (!engaged_) return;
    // The channels never meet, so each runs through both its sections in turn.
    lowPass_[0].processBlock(l, n);
    highPass_[0].processBlock(l, n);
    lowPass_[1].processBlock(r, n);
    highPass_[1].processBlock(r, n);
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

} // namespace vexbit
