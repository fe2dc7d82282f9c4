#include "RetriggerUnit.h"

namespace vexbit {

RetriggerUnit::RetriggerUnit() = default;

void RetriggerUnit::process(float& l, float& r)
{
    if (beatSync)
        processBeatSynced(l, r);
    else
        processFree(l, r);
}
void RetriggerUnit::processFree(float&, float&) {}
void RetriggerUnit::processBeatSynced(float&, float&) {}
void RetriggerUnit::beatTick() {}
void RetriggerUnit::setEngaged(bool) {}
void RetriggerUnit::setSliceLength(double, double) {}
void RetriggerUnit::setPitchSemitones(double) {}
void RetriggerUnit::setBeatSync(bool) {}
void RetriggerUnit::setSampleRate(double) {}

} // namespace vexbit
