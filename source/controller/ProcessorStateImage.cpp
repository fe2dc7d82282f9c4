#include "controller/ProcessorStateImage.h"

#include "controller/StateStreamReader.h"

namespace vexbit {

namespace {

// Bypass lives in the bypass byte alone; a value pair carrying its ID is read
// and dropped by every reader, so processor and controller never disagree
// about whether the plug-in is bypassed.
constexpr uint32_t kBypassParamId = 0x7FFFFFFF;

bool readStringList(StateStreamReader& reader, ProcessorStateImage::StringList& list)
{
    uint32_t entryCount = 0;
    if (!reader.readUInt32(list.id) || !reader.readUInt32(entryCount)) return false;
    for (uint32_t i = 0; i < entryCount; ++i) {
        int32_t length = 0;
        std::string entry;
        if (!reader.readInt32(length) || !reader.readCountedText(length, entry)) return false;
        list.entries.push_back(std::move(entry));
    }
    return true;
}

} // namespace

StateReadResult readProcessorState(Steinberg::IBStream& stream, const std::string& expectedHeader,
                                   ProcessorStateImage& image)
{
    StateStreamReader reader(stream);
    image = {};

    int32_t headerLength = 0;
    if (!reader.readInt32(headerLength) || !reader.readCountedText(headerLength, image.header))
        return StateReadResult::WrongHeader;
    if (image.header != expectedHeader) return StateReadResult::WrongHeader;

    uint8_t bypassByte = 0;
    if (!reader.readByte(bypassByte)) return StateReadResult::Damaged;
    image.bypass = bypassByte != 0;

    uint32_t listCount = 0;
    if (!reader.readUInt32(listCount)) return StateReadResult::Damaged;
    for (uint32_t i = 0; i < listCount; ++i) {
        ProcessorStateImage::StringList list;
        if (!readStringList(reader, list)) return StateReadResult::Damaged;
        image.lists.push_back(std::move(list));
    }

    uint32_t valueCount = 0;
    if (!reader.readUInt32(valueCount)) return StateReadResult::Damaged;
    for (uint32_t i = 0; i < valueCount; ++i) {
        ProcessorStateImage::Value value;
        if (!reader.readUInt32(value.id) || !reader.readDouble(value.plain)) return StateReadResult::Damaged;
        if (value.id != kBypassParamId) image.values.push_back(value);
    }
    return StateReadResult::Complete;
}

} // namespace vexbit
