#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit render IN -o OUT": an audio file through a VST 3 plug-in, played
// as a DAW plays a project, with notes, parameter settings and states.
void addRenderCommand(CLI::App& app);

} // namespace vexbit::cli
