#include "vexbit/DemoCommand.h"

#include "vexbit/CommandError.h"
#include "vexbit/DemoLoop.h"
#include "vexbit/RenderJob.h"
#include "host/Timeline.h"

#include <sndfile.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace vexbit::cli {

namespace {

constexpr double kDemoSampleRate = 44100.0;
constexpr double kDemoTempo = 120.0;
constexpr int kDemoBars = 4;

struct DemoArguments {
    std::string folder = "vexbit-demo";
    std::string pluginPath;
    std::string presetName;
};

void runDemo(const DemoArguments& args)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(args.folder, ec);
    if (!fs::is_directory(args.folder, ec)) throw CommandError(args.folder + ": cannot create the folder");
    const fs::path folder(args.folder);

    const host::AudioBuffer loop = synthesiseDemoLoop(kDemoSampleRate, kDemoTempo, kDemoBars);
    const std::string dryPath = (folder / "demo-dry.wav").string();
    std::string error;
    if (!host::writeAudioFile(dryPath, loop, SF_FORMAT_PCM_24, error)) throw CommandError(error);

    RenderRequest request;
    request.pluginPath = args.pluginPath;
    request.bpm = kDemoTempo;
    request.tailSeconds = 1.0; // let delays and reversed slices ring out
    // Without a preset, AutoPlay's defaults; a preset plays as it was saved.
    request.presetName = args.presetName;
    if (args.presetName.empty()) request.settings = {"AutoPlay=On"};
    request.outputPath = (folder / "demo.wav").string();
    request.preferredFormat = SF_FORMAT_PCM_24;
    request.timelinePath = (folder / "demo.png").string();
    request.timelineWidth = host::kDefaultTimelineWidth;
    request.title = args.presetName.empty() ? "Demo loop with AutoPlay" : "Demo loop with " + args.presetName;
    runRenderJob(loop, request);

    std::cout << "demo files in " << fs::absolute(folder).lexically_normal().string() << ":\n"
              << "  demo-dry.wav  the loop as synthesised\n"
              << "  demo.wav      the loop through the plug-in, "
              << (args.presetName.empty() ? "AutoPlay on" : "preset " + args.presetName) << "\n"
              << "  demo.png      input, output and when each effect was engaged\n";
}

} // namespace

void addDemoCommand(CLI::App& app)
{
    auto args = std::make_shared<DemoArguments>();
    auto* command = app.add_subcommand("demo", "Render a synthesised drum loop through the plug-in with AutoPlay on");
    command->add_option("-o,--output", args->folder, "Folder for demo-dry.wav, demo.wav and demo.png")
        ->default_val("vexbit-demo");
    command->add_option("--plugin", args->pluginPath, "VST 3 bundle to use (default: Vexbit Glitch)");
    command->add_option("--preset", args->presetName, "Preset to play the loop through instead of AutoPlay's defaults");
    command->callback([args] { runDemo(*args); });
}

} // namespace vexbit::cli
