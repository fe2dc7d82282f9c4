#pragma once

#include "host/EditorHost.h"
#include "host/Module.h"
#include "host/PluginInstance.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

namespace vexbit::cli {

// A plug-in loaded as a host loads it, its controller brought up to date with
// the processor's state, and its editor open in a window.
struct EditorSession {
    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;
    std::unique_ptr<host::EditorHost> window;

    // Throws CommandError when any step fails. An empty path means our own bundle.
    // A scale above 0 is given to the editor as the screen's scale factor.
    static EditorSession open(const std::string& bundlePath, bool printEdits, double scale = 0.0);
    ~EditorSession();
    EditorSession() = default;
    EditorSession(EditorSession&&) = default;
    EditorSession& operator=(EditorSession&&) = default;
};

// "--scale": the screen scale factor the editor is told (1 to 4); without it
// the editor follows the desktop's.
void addScaleOption(CLI::App& command, double& scale);

// Where our own bundle is: beside the tool in the build tree, else the standard VST 3 folders.
std::string defaultBundlePath();

} // namespace vexbit::cli
