#include "ReverserUnit.h"

namespace vexbit {

ReverserUnit::ReverserUnit() = default;

void ReverserUnit::process(float&, float&) {}
void ReverserUnit::setEngaged(bool) {}
void ReverserUnit::setLength(double, double) {}
void ReverserUnit::setSampleRate(double) {}

} // namespace vexbit
