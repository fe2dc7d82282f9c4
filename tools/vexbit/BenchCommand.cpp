#include "vexbit/BenchCommand.h"

#include "vexbit/CommandError.h"
#include "vexbit/DemoLoop.h"
#include "vexbit/PluginSetup.h"
#include "host/Renderer.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace vexbit::cli {

namespace {

struct BenchArguments {
    std::vector<std::string> contenderTexts;
    double seconds = 60.0;
    int32_t blockSize = 512;
    int runs = 5;
    double sampleRate = 44100.0;
    double bpm = 120.0;
};

// One entry of the comparison: a bundle and the settings it runs with.
struct Contender {
    std::string label;
    LoadedPlugin plugin;
    std::vector<std::string> settings;
    std::vector<double> processSeconds; // one per run
    int64_t blocks = 0;
};

// "PATH?NAME=VALUE&NAME=VALUE"; an empty PATH is our own plug-in.
Contender parseContender(const std::string& text)
{
    Contender c;
    const auto question = text.find('?');
    const std::string path = text.substr(0, question);
    if (question != std::string::npos) {
        std::string rest = text.substr(question + 1);
        std::size_t start = 0;
        while (start <= rest.size()) {
            const auto amp = rest.find('&', start);
            const std::string item = rest.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
            if (!item.empty()) c.settings.push_back(item);
            if (amp == std::string::npos) break;
            start = amp + 1;
        }
    }
    c.plugin = loadPlugin(pluginPathOrDefault(path));
    c.label = c.plugin.name;
    if (question != std::string::npos) c.label += " ?" + text.substr(question + 1);
    return c;
}

void runOnce(Contender& c, const host::AudioBuffer& input, const BenchArguments& args)
{
    std::string error;
    // A fresh instance each run, so no run inherits another's state.
    auto instance = host::PluginInstance::create(c.plugin.module, c.plugin.effectClass, error);
    if (!instance) throw CommandError(error);
    LoadedPlugin view{c.plugin.module, c.plugin.effectClass, std::move(instance), c.plugin.name};
    host::RenderOptions options;
    options.blockSize = args.blockSize;
    options.bpm = args.bpm;
    options.offline = false;
    options.settings = resolveSettings(view, c.settings);
    auto renderer = host::Renderer::create(*view.instance, args.sampleRate, options, error);
    if (!renderer) throw CommandError(c.plugin.name + ": " + error);
    host::RenderReport report;
    renderer->render(input, report);
    c.processSeconds.push_back(report.processSeconds);
    c.blocks = report.blocks;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

void runBench(const BenchArguments& args)
{
    std::vector<Contender> contenders;
    for (const std::string& text : args.contenderTexts) contenders.push_back(parseContender(text));

    // The demo loop repeated to the length asked for: music, not noise, so
    // plug-ins with signal-dependent paths take them as they would in use.
    const int bars = std::max(1, static_cast<int>(std::ceil(args.seconds * args.bpm / 60.0 / 4.0)));
    host::AudioBuffer input = synthesiseDemoLoop(args.sampleRate, args.bpm, bars);
    input.resize(static_cast<std::size_t>(args.seconds * args.sampleRate));

    for (int run = 0; run < args.runs; ++run)
        for (Contender& c : contenders) runOnce(c, input, args);

    std::printf("%.1f s of audio at %.0f Hz in blocks of %d; median of %d interleaved runs\n", args.seconds,
                args.sampleRate, args.blockSize, args.runs);
    // The label goes last: settings make it long.
    std::printf("%2s %11s %10s %8s  %s\n", "#", "real time", "us/block", "time/#1", "plug-in");
    const double first = median(contenders.front().processSeconds);
    for (std::size_t i = 0; i < contenders.size(); ++i) {
        const Contender& c = contenders[i];
        const double m = median(c.processSeconds);
        std::printf("%2zu %10.1fx %10.2f %8.2f  %s\n", i + 1, m > 0 ? args.seconds / m : 0.0,
                    c.blocks > 0 ? m / static_cast<double>(c.blocks) * 1e6 : 0.0, first > 0 ? m / first : 0.0,
                    c.label.c_str());
    }
}

} // namespace

void addBenchCommand(CLI::App& app)
{
    auto args = std::make_shared<BenchArguments>();
    auto* command = app.add_subcommand("bench", "Time plug-ins' process over the same audio and compare them");
    command
        ->add_option("bundles", args->contenderTexts,
                     "Bundles to compare, each BUNDLE[?NAME=VALUE&...] with parameter settings; "
                     "an empty BUNDLE is Vexbit Glitch")
        ->required();
    command->add_option("--seconds", args->seconds, "Length of the audio")
        ->default_val(60.0)
        ->check(CLI::Range(0.1, 3600.0));
    command->add_option("--block", args->blockSize, "Frames per process call")
        ->default_val(512)
        ->check(CLI::Range(1, 65536));
    command->add_option("--runs", args->runs, "Runs per plug-in (the median counts)")
        ->default_val(5)
        ->check(CLI::Range(1, 100));
    command->add_option("--rate", args->sampleRate, "Sample rate")
        ->default_val(44100.0)
        ->check(CLI::Range(8000.0, 384000.0));
    command->callback([args] { runBench(*args); });
}

} // namespace vexbit::cli
