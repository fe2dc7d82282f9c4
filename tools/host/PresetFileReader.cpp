#include "host/PresetFileReader.h"

#include <cstring>

namespace vexbit::host {

namespace {

// Layout: "VST3", format version (int32), the class ID as 32 hex digits, the
// offset of the chunk list (int64); the list: "List", entry count (int32),
// entries of chunk ID (4 bytes), offset (int64) and size (int64). Little-endian.
constexpr std::size_t kClassIdDigits = 32;
constexpr std::size_t kHeaderSize = 4 + 4 + kClassIdDigits + 8;
constexpr std::size_t kListOffsetAt = kHeaderSize - 8;
constexpr std::size_t kListHeaderSize = 4 + 4;
constexpr std::size_t kEntrySize = 4 + 8 + 8;

int64_t readInt64(std::string_view bytes, std::size_t at)
{
    uint64_t value = 0;
    for (std::size_t i = 8; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<int64_t>(value);
}

int32_t readInt32(std::string_view bytes, std::size_t at)
{
    uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<int32_t>(value);
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

bool looksLikePreset(std::string_view file)
{
    return file.substr(0, 4) == "VST3";
}

std::optional<PresetChunks> readPresetChunks(std::string_view file, std::string& error)
{
    if (file.size() < kHeaderSize || !looksLikePreset(file)) {
        error = "too short for a preset header";
        return std::nullopt;
    }
    char classText[kClassIdDigits + 1] = {};
    std::memcpy(classText, file.data() + 8, kClassIdDigits);
    for (std::size_t i = 0; i < kClassIdDigits; ++i) {
        if (!isHexDigit(classText[i])) {
            error = "the class ID is not 32 hex digits";
            return std::nullopt;
        }
    }
    PresetChunks preset;
    preset.componentClass.fromString(classText);

    const int64_t listAt = readInt64(file, kListOffsetAt);
    if (listAt < static_cast<int64_t>(kHeaderSize) || static_cast<uint64_t>(listAt) > file.size() - kListHeaderSize) {
        error = "the chunk list lies outside the file";
        return std::nullopt;
    }
    const auto list = static_cast<std::size_t>(listAt);
    if (file.substr(list, 4) != "List") {
        error = "no chunk list where the header points";
        return std::nullopt;
    }
    const int32_t count = readInt32(file, list + 4);
    const std::size_t entriesAt = list + kListHeaderSize;
    if (count < 0 || static_cast<std::size_t>(count) > (file.size() - entriesAt) / kEntrySize) {
        error = "the chunk list has more entries than the file holds";
        return std::nullopt;
    }
    for (int32_t i = 0; i < count; ++i) {
        const std::size_t entry = entriesAt + static_cast<std::size_t>(i) * kEntrySize;
        const std::string_view id = file.substr(entry, 4);
        const int64_t offset = readInt64(file, entry + 4);
        const int64_t size = readInt64(file, entry + 12);
        if (offset < 0 || size < 0 || static_cast<uint64_t>(offset) > file.size() ||
            static_cast<uint64_t>(size) > file.size() - static_cast<uint64_t>(offset)) {
            error = "a chunk lies outside the file";
            return std::nullopt;
        }
        const std::string_view bytes = file.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
        // The first chunk of each kind counts, as in every reader of these files.
        if (id == "Comp" && !preset.componentState)
            preset.componentState = bytes;
        else if (id == "Cont" && !preset.controllerState)
            preset.controllerState = bytes;
        else if (id == "Info" && !preset.metaInfo)
            preset.metaInfo = bytes;
    }
    return preset;
}

} // namespace vexbit::host
