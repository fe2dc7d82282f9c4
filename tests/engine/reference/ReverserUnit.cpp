#include "engine/reference/ReverserUnit.h"

#include "engine/reference/NumericConversions.h"

#include <algorithm>
#include <cmath>

namespace vexbit::reference {

namespace {
int32_t boundedLength(double samples)
{
    return std::clamp(truncToInt32(samples), 1, ReverserUnit::kMaxLength);
}
} // namespace

ReverserUnit::ReverserUnit() = default;

void ReverserUnit::setEngaged(bool engaged)
{
    if (engaged) {
        position_ = 0.0f;
        counter_ = 0;
    }
    active_ = engaged;
}

void ReverserUnit::setLength(double thirtySecondNotes, double tempo)
{
    if (!std::isfinite(thirtySecondNotes)) return;
    if (isUsableRate(tempo)) lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (lastTempo_ / 60.0);
    const double ms = std::max(1.0, msPerBeat * thirtySecondNotes * 0.125);
    length_ = boundedLength(static_cast<double>(sampleRate_) * ms / 1000.0);
}

void ReverserUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    length_ = boundedLength(newRate / static_cast<double>(sampleRate_) * length_);
    sampleRate_ = rate;
}

} // namespace vexbit::reference
