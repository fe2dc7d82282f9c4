#include "params/ParamConversion.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

double toPlain(double normalized, const ParamRecord& r)
{
    const double n = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    const double span = r.max - r.min;
    switch (r.kind) {
    case ParamKind::Linear: return r.min + span * n;
    case ParamKind::Integer:
    case ParamKind::List:
        // std::round takes halves away from zero: a switch at 0.5 is "On".
        return r.min + std::round(span * n);
    case ParamKind::Skewed: return r.min + span * std::pow(n, r.skewExponent);
    default: return 0.0;
    }
}

double toNormalized(double plain, const ParamRecord& r)
{
    const double span = r.max - r.min;
    if (!(span > 0.0)) return 0.0;
    const double p = std::isnan(plain) ? r.min : std::clamp(plain, r.min, r.max);
    const double fraction = (p - r.min) / span;
    switch (r.kind) {
    case ParamKind::Linear:
    case ParamKind::Integer:
    case ParamKind::List: return fraction;
    case ParamKind::Skewed: return std::pow(fraction, 1.0 / r.skewExponent);
    default: return 0.0;
    }
}

} // namespace vexbit
