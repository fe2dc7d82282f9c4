#include "state/StateStreamReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vexbit {

using namespace Steinberg;

StateStreamReader::StateStreamReader(IBStream& stream) : stream(stream) {}

bool StateStreamReader::readExactly(void* buffer, int32_t byteCount)
{
    if (byteCount == 0) return true;
    int32 got = 0;
    if (stream.read(buffer, byteCount, &got) != kResultOk) return false;
    return got == byteCount;
}

bool StateStreamReader::readByte(uint8_t& out)
{
    return readExactly(&out, 1);
}

bool StateStreamReader::readUInt32(uint32_t& out)
{
    uint8_t b[4];
    if (!readExactly(b, 4)) return false;
    out = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool StateStreamReader::readInt32(int32_t& out)
{
    uint32_t raw = 0;
    if (!readUInt32(raw)) return false;
    out = static_cast<int32_t>(raw);
    return true;
}

bool StateStreamReader::readDouble(double& out)
{
    uint8_t b[8];
    if (!readExactly(b, 8)) return false;
    uint64_t raw = 0;
    for (int i = 7; i >= 0; --i) raw = raw << 8 | b[i];
    out = std::bit_cast<double>(raw);
    return true;
}

std::optional<int64_t> StateStreamReader::remaining()
{
    int64 here = 0;
    int64 end = 0;
    if (stream.tell(&here) != kResultOk || here < 0) return std::nullopt;
    if (stream.seek(0, IBStream::kIBSeekEnd, &end) != kResultOk) {
        stream.seek(here, IBStream::kIBSeekSet, nullptr);
        return std::nullopt;
    }
    int64 back = -1;
    if (stream.seek(here, IBStream::kIBSeekSet, &back) != kResultOk || back != here) return std::nullopt;
    return std::max<int64_t>(0, end - here);
}

bool StateStreamReader::readCountedText(int32_t byteCount, std::string& out)
{
    if (byteCount < 0) return false;
    if (auto left = remaining(); left && byteCount > *left) return false;

    // Even when the stream cannot tell its size, read in chunks so that memory
    // only grows with bytes that really arrive.
    constexpr int32_t chunkSize = 4096;
    std::string bytes;
    char chunk[chunkSize];
    for (int32_t done = 0; done < byteCount;) {
        const int32_t n = std::min(chunkSize, byteCount - done);
        if (!readExactly(chunk, n)) return false;
        bytes.append(chunk, static_cast<size_t>(n));
        done += n;
    }
    const auto nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    out = std::move(bytes);
    return true;
}

} // namespace vexbit
