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
    // Four recursions, each waiting on its own last output: stepped side by
    // side, the processor overlaps them.
    BiquadSection::Running lowL(lowPass_[0]), highL(highPass_[0]), lowR(lowPass_[1]), highR(highPass_[1]);
    for (int32_t i = 0; i < n; ++i) {
        l[i] = highL.step(lowL.step(l[i]));
        r[i] = highR.step(lowR.step(r[i]));
    }
    lowL.storeHistory(lowPass_[0]);
    highL.storeHistory(highPass_[0]);
    lowR.storeHistory(lowPass_[1]);
    highR.storeHistory(highPass_[1]);
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
