#pragma once

#include "params/ParamRecord.h"

#include "pluginterfaces/base/ibstream.h"

#include <string>
#include <string_view>
#include <vector>

namespace vexbit {

// The processor's saved state as plain data. On the stream, little-endian and
// unpadded:
//   uint32 header length L, then L bytes: the framework version text and a zero
//   uint8  bypass
//   uint32 list count, then per list: uint32 ID, uint32 entry count, and per
//          entry uint32 byte length L and L bytes of UTF-8 text ending in a zero
//   uint32 value count, then per value: uint32 ID, float64 plain value
//   whatever extra state the concrete processor appends
struct ProcessorStateImage {
    struct ListBlock {
        ParamID id = 0;
        std::vector<std::string> entries;
    };
    struct Value {
        ParamID id = 0;
        double plain = 0.0;
    };

    bool bypass = false;
    std::vector<ListBlock> lists;
    std::vector<Value> values;
};

enum class StateReadResult {
    Ok,
    WrongHeader, // another framework version, or not a state of ours at all
    Broken,      // ends early, or holds a length no state of ours can have
};

// Lengths above these are refused rather than allocated: a real header is a few
// bytes and a list entry is a short label.
inline constexpr uint32_t kMaxStateHeaderLength = 256;
inline constexpr uint32_t kMaxStateEntryLength = 64 * 1024;

// Writes everything up to the extra state. A null stream writes nothing.
void writeProcessorState(Steinberg::IBStream* stream, std::string_view frameworkVersion,
                         const ProcessorStateImage& image);

// Reads everything up to the extra state into image, leaving the stream just
// behind the last value pair. image is complete only when the result is Ok.
StateReadResult readProcessorState(Steinberg::IBStream* stream, std::string_view frameworkVersion,
                                   ProcessorStateImage& image);

} // namespace vexbit
