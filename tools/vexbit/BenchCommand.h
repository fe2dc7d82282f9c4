#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit bench BUNDLE...": times each plug-in's process over the same audio,
// runs interleaved, and compares them.
void addBenchCommand(CLI::App& app);

} // namespace vexbit::cli
