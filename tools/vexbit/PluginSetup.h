#pragma once

#include "host/Module.h"
#include "host/ParameterSetting.h"
#include "host/PluginInstance.h"

#include <memory>
#include <string>
#include <vector>

namespace vexbit::cli {

// A plug-in ready to render: its module and one instance of its first audio
// effect. Every step throws CommandError with one line on failure.
struct LoadedPlugin {
    std::shared_ptr<host::Module> module;
    host::ClassDescription effectClass;
    std::unique_ptr<host::PluginInstance> instance;
    std::string name; // the bundle's name without ".vst3", for messages
};

// The bundle to use for --plugin: the given path, or our own plug-in found
// beside the tool, in the build tree or in the VST 3 folders.
std::string pluginPathOrDefault(const std::string& given);

LoadedPlugin loadPlugin(const std::string& bundlePath);

// Restores a state file (preset or bare processor state) into the instance.
void loadStateFile(const LoadedPlugin& plugin, const std::string& path);

// Saves the instance's state to a preset file, complete or not at all.
void saveStateFile(const LoadedPlugin& plugin, const std::string& path);

// "NAME=VALUE" texts resolved against the instance's parameters.
std::vector<host::ParameterSetting> resolveSettings(const LoadedPlugin& plugin, const std::vector<std::string>& texts);

} // namespace vexbit::cli
