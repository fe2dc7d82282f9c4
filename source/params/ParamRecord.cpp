#include "params/ParamRecord.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vexbit {

double skewExponentFor(double midFraction)
{
    if (!(midFraction > 0.0 && midFraction < 1.0)) midFraction = kDefaultSkewMidFraction;
    return std::log(midFraction) / std::log(0.5);
}

void normaliseRecord(ParamRecord& r)
{
    if (r.min > r.max) std::swap(r.min, r.max);
    r.defaultValue = std::max(r.min, r.defaultValue);
    if (r.kind != ParamKind::List) r.defaultValue = std::min(r.max, r.defaultValue);

    if (r.kind == ParamKind::Integer) {
        r.min = std::floor(r.min);
        r.max = std::floor(r.max);
        r.defaultValue = std::floor(r.defaultValue);
    }
    if (r.kind == ParamKind::List) {
        r.min = 0.0;
        r.max = std::max(0.0, static_cast<double>(r.list.size()) - 1.0);
        r.defaultValue = r.defaultValue > r.max ? r.max : std::floor(r.defaultValue);
    }
}

} // namespace vexbit
