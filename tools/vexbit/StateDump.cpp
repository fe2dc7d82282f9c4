#include "vexbit/StateDump.h"

#include "state/ProcessorStateImage.h"

#include "public.sdk/source/common/memorystream.h"

#include <charconv>
#include <cstdio>

namespace vexbit::cli {

using namespace Steinberg;

namespace {

// The shortest text that reads back as the same double.
std::string number(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string valueLine(const ProcessorStateImage::Value& value, const ParameterTable& table)
{
    char id[16];
    std::snprintf(id, sizeof id, "%6u", static_cast<unsigned>(value.id));
    const ParamRecord* record = table.find(value.id);
    std::string line =
        std::string(id) + "  " + (record ? quoted(record->name) : "(no such parameter)") + " = " + number(value.plain);
    // A list value is an index; show the entry it selects.
    if (record && (record->kind == ParamKind::List || record->kind == ParamKind::Text) && value.plain >= 0.0 &&
        value.plain < static_cast<double>(record->list.size()))
        line += " (" + record->list[static_cast<size_t>(value.plain)] + ")";
    return line;
}

} // namespace

bool dumpProcessorState(const std::string& bytes, const ParameterTable& table, const std::string& formatTag,
                        std::ostream& out)
{
    MemoryStream stream(const_cast<char*>(bytes.data()), static_cast<TSize>(bytes.size()));
    ProcessorStateImage image;
    const StateReadResult result = readProcessorState(stream, formatTag, image);

    out << "state: " << bytes.size() << " bytes\n";
    if (result == StateReadResult::WrongHeader) {
        out << "header: " << quoted(image.header) << ", not the format " << quoted(formatTag) << "\n";
        return false;
    }
    out << "header: " << quoted(image.header) << "\n";
    if (image.bypass) out << "bypass: " << (*image.bypass ? "on" : "off") << "\n";

    out << "string lists: " << image.lists.size() << "\n";
    for (const auto& list : image.lists) {
        const ParamRecord* record = table.find(list.id);
        out << "  " << list.id << "  " << (record ? quoted(record->name) : "(no such parameter)") << ": "
            << list.entries.size() << " entries\n";
        for (size_t i = 0; i < list.entries.size(); ++i) out << "    " << i << ": " << quoted(list.entries[i]) << "\n";
    }

    out << "values: " << image.values.size() << "\n";
    for (const auto& value : image.values) out << valueLine(value, table) << "\n";

    if (result != StateReadResult::Complete) {
        out << "damaged: the state ends early or holds an impossible length\n";
        return false;
    }
    int64 position = 0;
    stream.tell(&position);
    out << "extra state: " << (static_cast<int64>(bytes.size()) - position) << " bytes\n";
    return true;
}

} // namespace vexbit::cli
