#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vexbit::reference {

// Truncation toward zero that stays defined for every input: values beyond the
// int32 range saturate and NaN becomes 0 (a plain cast would be undefined).
inline int32_t truncToInt32(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

// Sample rates and tempi from the host are only used when they make sense.
inline bool isUsableRate(double x)
{
    return std::isfinite(x) && x > 0.0;
}

} // namespace vexbit::reference
