// "vexbit editor": shows a plug-in's editor until its window is closed.
#include "vexbit/EditorCommand.h"
#include "vexbit/EditorSession.h"

#include <chrono>
#include <memory>

namespace vexbit::cli {

namespace {

struct EditorOptions {
    std::string bundle;
    double seconds = 0.0;
    bool printEdits = false;
    double scale = 0.0;
};

void runEditor(const EditorOptions& options)
{
    EditorSession session = EditorSession::open(options.bundle, options.printEdits, options.scale);
    const auto start = std::chrono::steady_clock::now();
    const auto limit = std::chrono::duration<double>(options.seconds);
    while (!session.window->closeRequested()) {
        if (options.seconds > 0.0 && std::chrono::steady_clock::now() - start >= limit) break;
        session.window->runOnce();
    }
}

} // namespace

void addEditorCommand(CLI::App& app)
{
    auto options = std::make_shared<EditorOptions>();
    auto* command = app.add_subcommand("editor", "Open a plug-in's editor in a window of its own");
    command->add_option("bundle", options->bundle, "Path of the .vst3 bundle (default: Vexbit Glitch)");
    command->add_option("--seconds", options->seconds, "Close the window after this many seconds")
        ->check(CLI::NonNegativeNumber);
    command->add_flag("--print-edits", options->printEdits, "Print every parameter edit as \"edit ID VALUE\"");
    addScaleOption(*command, options->scale);
    command->callback([options] { runEditor(*options); });
}

} // namespace vexbit::cli
