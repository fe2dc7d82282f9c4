#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit demo [-o DIR]": a synthesised drum loop through our plug-in with
// AutoPlay on; writes the dry loop, the render and its timeline picture.
void addDemoCommand(CLI::App& app);

} // namespace vexbit::cli
