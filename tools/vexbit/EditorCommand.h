#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit editor [bundle]": a plug-in's editor in a window of its own.
void addEditorCommand(CLI::App& app);

} // namespace vexbit::cli
