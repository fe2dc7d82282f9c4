#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace vexbit::test {

// Builds state streams byte by byte, little-endian, as the processor writes them.
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

    std::string bytes;
};

} // namespace vexbit::test
