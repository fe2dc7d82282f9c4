#pragma once

#include "vexbit/PluginSetup.h"
#include "host/PresetMetaInfo.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vexbit::cli {

// A factory preset as the repository keeps it: a small text file of
//   Name: <the preset's name>
//   Category: <a path such as Fx|Glitch|Stutter>
//   <parameter title or ID> = <display text or plain value>
// lines; '#' starts a comment line. Every parameter not named keeps its default.
struct PresetSource {
    std::string name;
    std::string category;
    std::vector<std::string> settings; // "NAME=VALUE", as `vexbit render --set` takes them
};

// Throws CommandError naming `where` and the line for anything it cannot read.
PresetSource parsePresetSource(const std::string& text, const std::string& where);

// Builds the preset into a .vstpreset file: the plug-in's default state with
// the settings applied, restored into the plug-in (which must accept it) and
// saved back as the plug-in writes it, with the name and category as meta
// information. `plugin` must be this product's plug-in; its state is replaced.
void buildPreset(const LoadedPlugin& plugin, const PresetSource& source, const std::filesystem::path& file);

// Where hosts look for a plug-in's presets on this system
// (~/.vst3/presets/<vendor>/<plug-in>), and the bank shipped in a bundle.
std::filesystem::path userPresetFolder(const LoadedPlugin& plugin);
std::filesystem::path bundlePresetFolder(const LoadedPlugin& plugin);

struct PresetEntry {
    std::filesystem::path file;
    host::PresetMetaInfo info; // name falls back to the file's stem
};

// The presets in the folders, sorted by category then name; a name that an
// earlier folder already holds is left out. Missing folders are skipped.
std::vector<PresetEntry> listPresets(const std::vector<std::filesystem::path>& folders);

// The user's folder for the plug-in, then the bank in its bundle.
std::vector<std::filesystem::path> presetFolders(const LoadedPlugin& plugin);

// A preset by file path, or by name or file name (case-insensitive) in the
// preset folders. Throws CommandError saying where it looked.
std::string findPreset(const std::string& nameOrPath, const LoadedPlugin& plugin);

} // namespace vexbit::cli
