#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexbit {

using ParamID = uint32_t;

// How a parameter's plain value maps onto the host's 0..1 scale. The numbers
// live in memory only; they never reach a file.
enum class ParamKind : int32_t {
    Linear = 0,
    Integer = 1,
    Skewed = 2,
    Text = 3,
    List = 4,
};

enum ParamFlags : uint32_t {
    // A list whose entries may be replaced at run time; the entries then travel
    // with the processor state and the controller messages.
    kListInState = 1,
    // Never written to the processor state (the Randomise triggers).
    kTransient = 2,
};

// Skew exponent that puts one tenth of the range at the normalized midpoint.
inline constexpr double kDefaultSkewMidFraction = 0.1;

// One parameter's description. Copied freely; never shared.
struct ParamRecord {
    std::string name;
    std::string units;
    double min = 0.0;
    double max = 1.0;
    double defaultValue = 0.0;
    double skewExponent = 1.0;
    ParamKind kind = ParamKind::Linear;
    int32_t midiController = -1;
    uint32_t flags = 0;
    std::vector<std::string> list;
};

// Exponent for which a skewed parameter reaches midFraction of its range at
// normalized 0.5. Fractions outside (0, 1) would give a degenerate map, so
// they fall back to 0.1.
double skewExponentFor(double midFraction);

// Brings a freshly built record into its canonical form: ordered range, default
// inside it, whole numbers for Integer, list range and index for List.
void normaliseRecord(ParamRecord& record);

} // namespace vexbit
