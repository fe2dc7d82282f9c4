#pragma once

#include "pluginterfaces/base/funknown.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexbit::host {

// The parts of a VST 3 preset file (.vstpreset) a host restores: the class ID
// of the component it belongs to, the component and controller chunks, and the
// meta information that preset browsers show.
struct PresetChunks {
    Steinberg::FUID componentClass;
    std::optional<std::string_view> componentState; // views into the file's bytes
    std::optional<std::string_view> controllerState;
    std::optional<std::string_view> metaInfo; // the XML of the "Info" chunk
};

// True when the bytes start like a preset file ("VST3").
bool looksLikePreset(std::string_view file);

// Reads the header and the chunk list of a preset held whole in memory. Every
// offset, size and count is checked against the file before it is used, so a
// damaged or hostile file is refused (null, with the reason in `error`) and
// never read outside its bytes.
std::optional<PresetChunks> readPresetChunks(std::string_view file, std::string& error);

} // namespace vexbit::host
