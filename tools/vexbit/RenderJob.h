#pragma once

#include "host/AudioFile.h"
#include "host/NoteList.h"
#include "host/Renderer.h"

#include <string>
#include <vector>

namespace vexbit::cli {

// Everything one render asks for, as the command line gave it.
struct RenderRequest {
    std::string pluginPath; // empty: our own plug-in
    int32_t blockSize = 512;
    double bpm = 120.0;
    double tailSeconds = 0.0;
    std::vector<host::TimedNote> notes;
    std::vector<std::string> settings; // "NAME=VALUE"
    std::string statePath;             // restored before rendering
    std::string presetName;            // a preset by name (from the preset folders) or path, restored likewise
    std::string saveStatePath;         // written after rendering
    std::string outputPath;
    int preferredFormat = 0; // libsndfile sample format to keep, if the type allows
    std::string timelinePath;
    int timelineWidth = 0;
    std::string eventsPath; // the plug-in's event output as CSV
    std::string title;      // for the timeline's header
};

// Checks what can be checked before any work: output types and folders, the
// picture width. Throws CommandError.
void checkRenderOutputs(const RenderRequest& request);

// Loads the plug-in, renders the input through it and writes the outputs,
// each complete or not at all; prints a one-line summary. Throws CommandError.
void runRenderJob(const host::AudioBuffer& input, const RenderRequest& request);

} // namespace vexbit::cli
