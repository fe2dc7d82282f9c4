#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit presets": lists a plug-in's presets with their categories;
// "vexbit presets build": makes .vstpreset files from preset source texts.
void addPresetCommand(CLI::App& app);

} // namespace vexbit::cli
