#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexbit {

// The processor's saved state, little-endian and unpadded: header (byte count,
// format tag, zero), bypass byte, list blocks (ID, entry count, entries as
// counted texts), value pairs (ID, plain double), then whatever extra state
// the product appends. A stream that ends early (or holds an impossible byte
// count) leaves the read image holding every field and every whole entry that
// came before the damage.
struct ProcessorStateImage {
    struct StringList {
        uint32_t id = 0;
        std::vector<std::string> entries;
    };
    struct Value {
        uint32_t id = 0;
        double plain = 0.0;
    };

    std::string header;
    std::optional<bool> bypass;
    std::vector<StringList> lists;
    std::vector<Value> values; // a read drops pairs for the Bypass ID: the bypass byte alone says it
};

enum class StateReadResult {
    Complete,    // every field read; the stream now stands at the extra state
    WrongHeader, // another format (or garbage): nothing beyond the header was read
    Damaged,     // ended early or held an impossible byte count
};

// Reads header, bypass byte, list blocks and value pairs; stops in front of
// whatever extra state follows. `expectedHeader` is the format tag the caller
// understands; any other header ends the reading at once.
StateReadResult readProcessorState(Steinberg::IBStream& stream, const std::string& expectedHeader,
                                   ProcessorStateImage& image);

// Writes the image in the format above (an unset bypass is written as 0); the
// caller appends its extra state after it.
void writeProcessorState(Steinberg::IBStream& stream, const ProcessorStateImage& image);

} // namespace vexbit
