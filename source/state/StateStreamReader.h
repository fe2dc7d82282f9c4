#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vexbit {

// Reads the little-endian fields of a saved state from a host stream. Every
// read either delivers the whole field or fails; byte counts taken from the
// stream are checked against what the stream still holds before anything is
// allocated for them.
class StateStreamReader {
public:
    explicit StateStreamReader(Steinberg::IBStream& stream);

    bool readByte(uint8_t& out);
    bool readUInt32(uint32_t& out);
    bool readInt32(int32_t& out);
    bool readDouble(double& out);

    // Reads a block whose length was read from the stream. A negative length,
    // or one beyond the end of the stream, fails without reading or allocating.
    // The text ends at the first zero byte inside the block.
    bool readCountedText(int32_t byteCount, std::string& out);

    // Bytes left after the current position, when the stream can tell.
    std::optional<int64_t> remaining();

private:
    bool readExactly(void* buffer, int32_t byteCount);

    Steinberg::IBStream& stream;
};

} // namespace vexbit
