#pragma once

#include "host/PluginInstance.h"
#include "host/PresetMetaInfo.h"

#include "pluginterfaces/base/funknown.h"

#include <optional>
#include <string>

namespace vexbit::host {

// A plug-in's state as a DAW keeps it with a project: the bytes the component
// (processor) wrote and the bytes its edit controller wrote of its own.
struct PluginState {
    std::string component;
    std::string controller; // empty when there is no separate controller state
};

// Asks the component for its state, then the controller for its own.
std::optional<PluginState> saveState(const PluginInstance& instance, std::string& error);

// Restores in a DAW's order: the component reads its state, the controller
// gets the same bytes as its component state, then its own state when there
// is one. False with one line in error at the first refusal.
bool restoreState(const PluginInstance& instance, const PluginState& state, std::string& error);

// A state file is a VST 3 preset (.vstpreset): the component's class ID, the
// component state and the controller state as chunks, and the meta information
// when there is any.
bool writeStateFile(const std::string& path, const Steinberg::FUID& componentClass, const PluginState& state,
                    std::string& error, const PresetMetaInfo& info = {});

struct StateFile {
    bool isPreset = false;
    Steinberg::FUID componentClass; // invalid for a bare state
    PluginState state;
    PresetMetaInfo info; // empty for a bare state or a preset without meta information
};

// Reads a preset file; a file that is not one is taken whole as a bare
// component state (what a processor's getState wrote).
std::optional<StateFile> readStateFile(const std::string& path, std::string& error);
// The same for a file's bytes already in memory.
std::optional<StateFile> parseStateFile(std::string bytes, std::string& error);

} // namespace vexbit::host
