#pragma once

// State streams byte by byte, little-endian, as the processor writes them: a
// builder for the tests' own streams and readers for what the plug-in saved.

#include "public.sdk/source/common/memorystream.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace vexbit::test {

using Bytes = std::string;

class StateBytes {
public:
    StateBytes& u8(uint8_t v)
    {
        bytes.push_back(static_cast<char>(v));
        return *this;
    }
    StateBytes& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    StateBytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    StateBytes& f64(double v)
    {
        const auto raw = std::bit_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i) u8(static_cast<uint8_t>(raw >> (8 * i)));
        return *this;
    }
    // A counted text with its terminating zero, as headers and list entries are stored.
    StateBytes& text(const std::string& s)
    {
        u32(static_cast<uint32_t>(s.size() + 1));
        bytes.append(s);
        return u8(0);
    }
    StateBytes& raw(const std::string& s)
    {
        bytes.append(s);
        return *this;
    }
    StateBytes& header(const std::string& tag = "2.0") { return text(tag); }
    StateBytes& list(uint32_t id, const std::vector<std::string>& entries)
    {
        u32(id).u32(static_cast<uint32_t>(entries.size()));
        for (const auto& e : entries) text(e);
        return *this;
    }
    StateBytes& value(uint32_t id, double plain) { return u32(id).f64(plain); }
    operator const Bytes&() const { return bytes; }

    Bytes bytes;
};

// A state that starts like ours: header "2.0", the bypass byte and no lists.
inline StateBytes stateHead(bool bypass = false)
{
    StateBytes b;
    b.header().u8(bypass ? 1 : 0).u32(0);
    return b;
}

inline uint32_t getU32(const Bytes& b, std::size_t at)
{
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b.at(at + i))) << (8 * i);
    return v;
}

inline double getF64(const Bytes& b, std::size_t at)
{
    uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(static_cast<unsigned char>(b.at(at + i))) << (8 * i);
    return std::bit_cast<double>(bits);
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

// A stream of its own over a copy of the bytes, for a call that keeps it.
inline Steinberg::IPtr<Steinberg::MemoryStream> streamOf(const Bytes& bytes)
{
    auto stream = Steinberg::owned(new Steinberg::MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<Steinberg::int32>(bytes.size()), nullptr);
    stream->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    return stream;
}

inline Bytes bytesOf(Steinberg::MemoryStream& stream)
{
    return Bytes(stream.getData(), static_cast<std::size_t>(stream.getSize()));
}

} // namespace vexbit::test
