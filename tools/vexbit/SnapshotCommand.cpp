// "vexbit snapshot": saves a picture of a plug-in's editor as PNG, starting a
// virtual X server when there is no display.
#include "vexbit/CommandError.h"
#include "vexbit/SnapshotCommand.h"
#include "vexbit/EditorSession.h"

#include "host/VirtualDisplay.h"

#include <chrono>
#include <iostream>
#include <memory>

namespace vexbit::cli {

namespace {

struct SnapshotOptions {
    std::string bundle;
    std::string output;
    int settleMs = 500;
    double scale = 0.0;
};

void runSnapshot(const SnapshotOptions& options)
{
    host::VirtualDisplay virtualDisplay;
    // A scaled editor may not fit on the desktop's screen, and only what is on screen can be read back.
    if (!host::displayReachable() || options.scale > 1.0) {
        std::string error;
        if (!virtualDisplay.start(error)) throw CommandError(error);
    }
    EditorSession session = EditorSession::open(options.bundle, false, options.scale);
    // Let the plug-in draw and run its first timer ticks.
    session.window->runFor(std::chrono::milliseconds(options.settleMs));
    if (!session.window->writePng(options.output)) throw CommandError("cannot write " + options.output);
    std::cout << "Wrote " << options.output << " (" << session.window->width() << " x " << session.window->height()
              << ")\n";
}

} // namespace

void addSnapshotCommand(CLI::App& app)
{
    auto options = std::make_shared<SnapshotOptions>();
    auto* command = app.add_subcommand("snapshot", "Save a picture of a plug-in's editor as PNG");
    command->add_option("bundle", options->bundle, "Path of the .vst3 bundle (default: Vexbit Glitch)");
    command->add_option("-o,--output", options->output, "PNG file to write")->required();
    command->add_option("--settle-ms", options->settleMs, "How long the editor runs before the picture")
        ->check(CLI::Range(0, 60000));
    addScaleOption(*command, options->scale);
    command->callback([options] { runSnapshot(*options); });
}

} // namespace vexbit::cli
