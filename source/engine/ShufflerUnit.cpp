#include "ShufflerUnit.h"

namespace vexbit {

ShufflerUnit::ShufflerUnit() { setTempo(120.0); }

void ShufflerUnit::process(float&, float&) {}
void ShufflerUnit::setTempo(double) {}
void ShufflerUnit::gridTick(int) {}
void ShufflerUnit::jump(int) {}
void ShufflerUnit::setSampleRate(double) {}
void ShufflerUnit::setEngaged(bool) {}

} // namespace vexbit
