#include "vexbit/RenderJob.h"

#include "vexbit/CommandError.h"
#include "vexbit/PresetBank.h"
#include "vexbit/PluginSetup.h"
#include "vexbit/ProgressBar.h"
#include "host/AtomicFile.h"
#include "host/EngagementSpans.h"
#include "host/Timeline.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace vexbit::cli {

namespace {

void checkFolderOf(const std::string& path)
{
    if (path.empty()) return;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty() && !std::filesystem::is_directory(parent, ec))
        throw CommandError(path + ": the folder " + parent.string() + " does not exist");
    if (std::filesystem::is_directory(path, ec)) throw CommandError(path + ": is a folder");
}

const char* eventName(host::OutputEvent::Kind kind)
{
    switch (kind) {
    case host::OutputEvent::Kind::NoteOn: return "note-on";
    case host::OutputEvent::Kind::NoteOff: return "note-off";
    case host::OutputEvent::Kind::Controller: return "controller";
    }
    return "";
}

void writeEventsCsv(const std::string& path, const std::vector<host::OutputEvent>& events, double sampleRate,
                    double bpm)
{
    host::AtomicFile output(path);
    {
        std::ofstream out(output.temporaryPath());
        out << "frame,seconds,beat,event,channel,number,value\n";
        char line[160];
        for (const host::OutputEvent& e : events) {
            const double seconds = static_cast<double>(e.frame) / sampleRate;
            std::snprintf(line, sizeof line, "%lld,%.6f,%.4f,%s,%d,%d,%g\n", static_cast<long long>(e.frame), seconds,
                          seconds * bpm / 60.0, eventName(e.kind), e.channel, e.number, static_cast<double>(e.value));
            out << line;
        }
        out.flush();
        if (!out) throw CommandError(path + ": cannot write the file");
    }
    std::string error;
    if (!output.commit(error)) throw CommandError(error);
}

} // namespace

void checkRenderOutputs(const RenderRequest& request)
{
    if (host::audioFormatForPath(request.outputPath) == 0)
        throw CommandError(request.outputPath + ": unknown audio file type (use .wav, .flac, .aiff or .ogg)");
    for (const std::string* path :
         {&request.outputPath, &request.saveStatePath, &request.timelinePath, &request.eventsPath})
        checkFolderOf(*path);
    if (!request.timelinePath.empty() &&
        (request.timelineWidth < host::kMinTimelineWidth || request.timelineWidth > host::kMaxTimelineWidth))
        throw CommandError("--timeline-width must be from " + std::to_string(host::kMinTimelineWidth) + " to " +
                           std::to_string(host::kMaxTimelineWidth));
}

namespace {

void renderAndWrite(const host::AudioBuffer& input, const RenderRequest& request)
{
    checkRenderOutputs(request);
    LoadedPlugin plugin = loadPlugin(pluginPathOrDefault(request.pluginPath));
    if (!request.statePath.empty()) loadStateFile(plugin, request.statePath);
    if (!request.presetName.empty()) loadStateFile(plugin, findPreset(request.presetName, plugin));

    host::RenderOptions options;
    options.blockSize = request.blockSize;
    options.bpm = request.bpm;
    options.notes = request.notes;
    options.settings = resolveSettings(plugin, request.settings);
    options.tailFrames = static_cast<std::size_t>(std::llround(request.tailSeconds * input.sampleRate));

    host::AudioBuffer output;
    host::RenderReport report;
    const auto started = std::chrono::steady_clock::now();
    {
        std::string error;
        auto renderer = host::Renderer::create(*plugin.instance, input.sampleRate, options, error);
        if (!renderer) throw CommandError(plugin.name + ": " + error);
        ProgressBar progress("rendering");
        output = renderer->render(input, report,
                                  [&progress](std::size_t done, std::size_t total) { progress.update(done, total); });
    }
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::string error;
    if (!host::writeAudioFile(request.outputPath, output, request.preferredFormat, error)) throw CommandError(error);
    if (!request.saveStatePath.empty()) saveStateFile(plugin, request.saveStatePath);
    if (!request.timelinePath.empty()) {
        host::TimelineContent content;
        content.title = request.title.empty() ? plugin.name : request.title;
        content.input = &input;
        content.output = &output;
        content.events = report.events;
        content.lanes = host::glitchEffectLanes();
        content.bpm = request.bpm;
        if (!host::writeTimelinePng(request.timelinePath, content, request.timelineWidth, error))
            throw CommandError(error);
    }
    if (!request.eventsPath.empty()) writeEventsCsv(request.eventsPath, report.events, output.sampleRate, request.bpm);

    const double seconds = static_cast<double>(output.frames()) / output.sampleRate;
    char summary[256];
    std::snprintf(summary, sizeof summary, "%zu frames (%.2f s at %.0f Hz) in %.2f s, %.1fx real time", output.frames(),
                  seconds, output.sampleRate, wallSeconds, wallSeconds > 0 ? seconds / wallSeconds : 0.0);
    std::cout << "rendered " << summary << " through " << plugin.name << ": " << request.outputPath << "\n";
}

} // namespace

void runRenderJob(const host::AudioBuffer& input, const RenderRequest& request)
{
    // Released after the plug-in is unloaded, on failures too.
    struct DrawingCachesRelease {
        bool drew;
        ~DrawingCachesRelease()
        {
            if (drew) host::releaseDrawingCaches();
        }
    } release{!request.timelinePath.empty()};
    renderAndWrite(input, request);
}

} // namespace vexbit::cli
