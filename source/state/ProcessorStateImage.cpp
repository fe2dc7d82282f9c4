#include "state/ProcessorStateImage.h"

#include "state/StateStreamReader.h"

#include "common/ParameterIds.h"

#include "base/source/fstreamer.h"

namespace vexbit {

namespace {

// A length-prefixed text: byte count including the terminator, the UTF-8
// bytes, one zero byte.
void writeText(Steinberg::IBStreamer& out, const std::string& text)
{
    out.writeInt32u(static_cast<Steinberg::uint32>(text.size() + 1));
    out.writeRaw(text.data(), static_cast<Steinberg::TSize>(text.size()));
    out.writeInt8u(0);
}

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
        // Bypass lives in the bypass byte alone; a value pair carrying its ID is
        // dropped, so processor and controller never disagree about it.
        if (value.id != kBypassId) image.values.push_back(value);
    }
    return StateReadResult::Complete;
}

void writeProcessorState(Steinberg::IBStream& stream, const ProcessorStateImage& image)
{
    Steinberg::IBStreamer out(&stream, kLittleEndian);
    writeText(out, image.header);
    out.writeInt8u(image.bypass.value_or(false) ? 1 : 0);
    out.writeInt32u(static_cast<Steinberg::uint32>(image.lists.size()));
    for (const auto& list : image.lists) {
        out.writeInt32u(list.id);
        out.writeInt32u(static_cast<Steinberg::uint32>(list.entries.size()));
        for (const std::string& entry : list.entries) writeText(out, entry);
    }
    out.writeInt32u(static_cast<Steinberg::uint32>(image.values.size()));
    for (const auto& value : image.values) {
        out.writeInt32u(value.id);
        out.writeDouble(value.plain);
    }
}

} // namespace vexbit
