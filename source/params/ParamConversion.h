#pragma once

#include "params/ParamRecord.h"

namespace vexbit {

// Host scale (0..1) to the record's own range. NaN counts as 0.
double toPlain(double normalized, const ParamRecord& record);

// The record's own range to the host scale; values outside the range are
// clamped first, and a record whose range is a single point gives 0.
double toNormalized(double plain, const ParamRecord& record);

} // namespace vexbit
