#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit snapshot [bundle] -o file.png": a picture of the editor, also without a display.
void addSnapshotCommand(CLI::App& app);

} // namespace vexbit::cli
