#include "GatorUnit.h"

namespace vexbit {

GatorUnit::GatorUnit() : phaseIncrement(0.0f) {}

void GatorUnit::process(float&, float&) {}
void GatorUnit::setEngaged(bool) {}
void GatorUnit::setSpeed(double) {}
void GatorUnit::setSampleRate(double) {}

} // namespace vexbit
