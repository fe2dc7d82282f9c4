#pragma once

#include <string>
#include <string_view>

namespace vexbit::host {

// What a preset file says about itself in its meta-info chunk: an XML list of
// attributes that hosts show in their preset browsers.
struct PresetMetaInfo {
    std::string name;     // "Name": the preset's own name
    std::string category; // "MusicalCategory": a path such as "Fx|Glitch|Stutter"
    std::string pluginName;
    std::string pluginCategory; // "PlugInCategory": the plug-in's sub-categories, e.g. "Fx"

    bool empty() const { return name.empty() && category.empty() && pluginName.empty() && pluginCategory.empty(); }
};

// The meta-info XML of a preset; empty fields are left out.
std::string presetMetaInfoXml(const PresetMetaInfo& info);

// Reads the attributes back from such XML; unknown attributes are ignored and
// a malformed document yields whatever complete attributes came before.
PresetMetaInfo parsePresetMetaInfo(std::string_view xml);

} // namespace vexbit::host
