#include "vexbit/RenderCommand.h"

#include "vexbit/CommandError.h"
#include "vexbit/RenderJob.h"
#include "host/AudioFile.h"
#include "host/NoteList.h"
#include "host/Timeline.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vexbit::cli {

namespace {

struct RenderArguments {
    std::string input;
    std::string midiPath;
    std::vector<std::string> noteTexts;
    RenderRequest request;
};

void runRender(RenderArguments& args)
{
    RenderRequest& request = args.request;
    checkRenderOutputs(request);

    std::string error;
    host::AudioFileFormat format;
    const auto input = host::readAudioFile(args.input, error, &format);
    if (!input) throw CommandError(error);
    request.preferredFormat = format.libsndfileFormat;

    if (!args.midiPath.empty()) {
        const auto notes = host::readMidiFileNotes(args.midiPath, error);
        if (!notes) throw CommandError(error);
        request.notes = *notes;
    }
    for (const std::string& text : args.noteTexts) {
        const auto note = host::parseNoteText(text, error);
        if (!note) throw CommandError(error);
        request.notes.push_back(*note);
    }
    if (request.title.empty()) request.title = std::filesystem::path(args.input).filename().string();
    runRenderJob(*input, request);
}

} // namespace

void addRenderCommand(CLI::App& app)
{
    auto args = std::make_shared<RenderArguments>();
    RenderRequest& r = args->request;
    r.timelineWidth = host::kDefaultTimelineWidth;

    auto* command = app.add_subcommand("render", "Render an audio file through a VST 3 plug-in");
    command->add_option("input", args->input, "Audio file to render (WAV, FLAC, AIFF, Ogg...)")->required();
    command->add_option("-o,--output", r.outputPath, "Audio file to write; its extension picks the type")->required();
    command->add_option("--plugin", r.pluginPath, "VST 3 bundle to render through (default: Vexbit Glitch)");
    command->add_option("--block", r.blockSize, "Frames per process call")
        ->default_val(512)
        ->check(CLI::Range(1, 65536));
    command->add_option("--bpm", r.bpm, "Tempo the host reports, in beats per minute")
        ->default_val(120.0)
        ->check(CLI::Range(1.0, 999.0));
    command->add_option("--midi", args->midiPath, "Standard MIDI file whose notes are played (beats, not seconds)");
    command->add_option("--note", args->noteTexts, "A note PITCH@BEAT[:LENGTH] in quarter notes from bar 1; repeatable")
        ->allow_extra_args(false);
    command
        ->add_option("--set", r.settings, "Parameter NAME=VALUE (title or ID; display text or plain value); repeatable")
        ->allow_extra_args(false);
    auto* state = command->add_option("--state", r.statePath, "State file to start from");
    command->add_option("--preset", r.presetName, "Preset to start from: a name from `vexbit presets` or a file")
        ->excludes(state);
    command->add_option("--save-state", r.saveStatePath, "Preset file to save the final state to");
    command->add_option("--tail", r.tailSeconds, "Seconds of silence rendered after the input")
        ->default_val(0.0)
        ->check(CLI::Range(0.0, 3600.0));
    command->add_option("--timeline", r.timelinePath, "PNG picture of input, output and the engaged effects");
    command->add_option("--timeline-width", r.timelineWidth, "Width of the picture in pixels")
        ->default_val(host::kDefaultTimelineWidth);
    command->add_option("--events", r.eventsPath, "CSV file of the plug-in's event output");
    command->callback([args] { runRender(*args); });
}

} // namespace vexbit::cli
