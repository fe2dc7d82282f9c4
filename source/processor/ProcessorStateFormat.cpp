#include "processor/ProcessorStateFormat.h"

#include "base/source/fstreamer.h"

#include <cstring>

namespace vexbit {

using Steinberg::IBStreamer;


namespace {

void writeText(IBStreamer& out, std::string_view text)
{
    out.writeInt32u(static_cast<uint32_t>(text.size() + 1));
    out.writeRaw(text.data(), static_cast<Steinberg::int32>(text.size()));
    out.writeInt8u(0);
}

// Reads a length-prefixed text of at most maxLength bytes and keeps it up to
// its first zero byte.
bool readText(IBStreamer& in, uint32_t maxLength, std::string& text)
{
    uint32_t length = 0;
    if (!in.readInt32u(length) || length > maxLength)
        return false;
    text.resize(length);
    if (length > 0 && in.readRaw(text.data(), static_cast<Steinberg::int32>(length)) != length)
        return false;
    text.resize(std::strlen(text.c_str()));
    return true;
}

} // namespace

void writeProcessorState(Steinberg::IBStream* stream, std::string_view frameworkVersion,
                         const ProcessorStateImage& image)
{
    if (stream == nullptr)
        return;
    IBStreamer out(stream, kLittleEndian);
    writeText(out, frameworkVersion);
    out.writeInt8u(image.bypass ? 1 : 0);

    out.writeInt32u(static_cast<uint32_t>(image.lists.size()));
    for (const auto& block : image.lists) {
        out.writeInt32u(block.id);
        out.writeInt32u(static_cast<uint32_t>(block.entries.size()));
        for (const auto& entry : block.entries)
            writeText(out, entry);
    }

    out.writeInt32u(static_cast<uint32_t>(image.values.size()));
    for (const auto& value : image.values) {
        out.writeInt32u(value.id);
        out.writeDouble(value.plain);
    }
}

StateReadResult readProcessorState(Steinberg::IBStream* stream, std::string_view frameworkVersion,
                                   ProcessorStateImage& image)
{
    image = ProcessorStateImage{};
    if (stream == nullptr)
        return StateReadResult::Broken;
    IBStreamer in(stream, kLittleEndian);

    // A header that cannot be ours is told apart from a state cut short.
    std::string header;
    if (!readText(in, kMaxStateHeaderLength, header) || header != frameworkVersion)
        return StateReadResult::WrongHeader;

    Steinberg::uint8 bypass = 0;
    if (!in.readInt8u(bypass))
        return StateReadResult::Broken;
    image.bypass = bypass != 0;

    // Counts come from the stream: nothing is reserved from them, so a count
    // larger than the stream simply runs into its end.
    uint32_t listCount = 0;
    if (!in.readInt32u(listCount))
        return StateReadResult::Broken;
    for (uint32_t i = 0; i < listCount; ++i) {
        ProcessorStateImage::ListBlock block;
        uint32_t entryCount = 0;
        if (!in.readInt32u(block.id) || !in.readInt32u(entryCount))
            return StateReadResult::Broken;
        for (uint32_t e = 0; e < entryCount; ++e) {
            std::string entry;
            if (!readText(in, kMaxStateEntryLength, entry))
                return StateReadResult::Broken;
            block.entries.push_back(std::move(entry));
        }
        image.lists.push_back(std::move(block));
    }

    uint32_t valueCount = 0;
    if (!in.readInt32u(valueCount))
        return StateReadResult::Broken;
    for (uint32_t i = 0; i < valueCount; ++i) {
        ProcessorStateImage::Value value;
        if (!in.readInt32u(value.id) || !in.readDouble(value.plain))
            return StateReadResult::Broken;
        image.values.push_back(value);
    }
    return StateReadResult::Ok;
}

} // namespace vexbit
