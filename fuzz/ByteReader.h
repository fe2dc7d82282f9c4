#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vexbit::fuzz {

// Takes fields from the front of a fuzz input, little-endian; past the end
// every field reads as zero, so any input decodes to something. Simple enough
// that seeds and reproducers can be written by hand.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool atEnd() const { return pos_ >= size_; }

    template <typename T>
    T take()
    {
        T value{};
        uint8_t bytes[sizeof(T)] = {};
        for (size_t i = 0; i < sizeof(T) && pos_ < size_; ++i) bytes[i] = data_[pos_++];
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // Up to n bytes, fewer when the input ends first.
    std::string takeBytes(size_t n)
    {
        n = std::min(n, size_ - std::min(pos_, size_));
        std::string bytes(reinterpret_cast<const char*>(data_) + pos_, n);
        pos_ += n;
        return bytes;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace vexbit::fuzz
