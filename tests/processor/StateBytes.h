#pragma once

// Byte-level helpers for building and reading processor state streams.

#include "public.sdk/source/common/memorystream.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vexbit::test {

using Bytes = std::vector<unsigned char>;

inline void putU32(Bytes& b, uint32_t v)
{
    const unsigned char le[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                 static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    b.insert(b.end(), le, le + 4);
}
inline void putF64(Bytes& b, double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    putU32(b, static_cast<uint32_t>(bits));
    putU32(b, static_cast<uint32_t>(bits >> 32));
}
// The length (bytes including the terminator), the text and one zero byte.
inline void putText(Bytes& b, const std::string& text)
{
    putU32(b, static_cast<uint32_t>(text.size() + 1));
    const auto* first = reinterpret_cast<const unsigned char*>(text.c_str());
    b.insert(b.end(), first, first + text.size() + 1);
}
inline uint32_t getU32(const Bytes& b, std::size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b.at(at + i)) << (8 * i);
    return v;
}
inline double getF64(const Bytes& b, std::size_t at)
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(b.at(at + i)) << (8 * i);
    double v = 0.0;
    std::memcpy(&v, &bits, 8);
    return v;
}

// A state that starts like ours: header "2.0", the bypass byte and no lists.
inline Bytes stateHead(bool bypass = false)
{
    Bytes b;
    putText(b, "2.0");
    b.push_back(bypass ? 1 : 0);
    putU32(b, 0);
    return b;
}

// A read-only stream over a copy of the bytes.
class ByteStream {
public:
    explicit ByteStream(Bytes bytes)
        : bytes_(std::move(bytes)), stream_(bytes_.data(), static_cast<Steinberg::TSize>(bytes_.size()))
    {}
    Steinberg::IBStream* get() { return &stream_; }

private:
    Bytes bytes_;
    Steinberg::MemoryStream stream_;
};

inline Bytes bytesOf(Steinberg::MemoryStream& stream)
{
    const auto* data = reinterpret_cast<const unsigned char*>(stream.getData());
    return Bytes(data, data + stream.getSize());
}

} // namespace vexbit::test
