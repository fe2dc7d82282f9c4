#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit state dump <file>", "vexbit state save <bundle> <file>" and
// "vexbit state load <bundle> <file>": saved states in files, as a DAW keeps them.
void addStateCommand(CLI::App& app);

} // namespace vexbit::cli
