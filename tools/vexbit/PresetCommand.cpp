#include "vexbit/PresetCommand.h"

#include "vexbit/CommandError.h"
#include "vexbit/PresetBank.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace vexbit::cli {

namespace {

namespace fs = std::filesystem;

struct ListArguments {
    std::string pluginPath;
    std::vector<std::string> folders;
};

struct BuildArguments {
    std::string pluginPath;
    std::string sourceFolder;
    std::string outputFolder;
};

void runList(const ListArguments& args)
{
    const LoadedPlugin plugin = loadPlugin(pluginPathOrDefault(args.pluginPath));
    std::vector<fs::path> folders(args.folders.begin(), args.folders.end());
    if (folders.empty()) folders = presetFolders(plugin);
    const std::vector<PresetEntry> entries = listPresets(folders);
    if (entries.empty()) {
        std::cout << "no presets in";
        for (const fs::path& folder : folders) std::cout << " " << folder.string();
        std::cout << "\n";
        return;
    }
    std::size_t width = 0;
    for (const PresetEntry& e : entries) width = std::max(width, e.info.category.size());
    for (const PresetEntry& e : entries) {
        std::cout << e.info.category << std::string(width - e.info.category.size() + 2, ' ') << e.info.name << "\n";
    }
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) throw CommandError(path.string() + ": cannot read the file");
    return text.str();
}

void runBuild(const BuildArguments& args)
{
    std::error_code ec;
    std::vector<fs::path> sources;
    for (fs::directory_iterator it(args.sourceFolder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".preset") sources.push_back(it->path());
    if (ec) throw CommandError(args.sourceFolder + ": cannot read the folder");
    if (sources.empty()) throw CommandError(args.sourceFolder + ": no .preset files");
    std::sort(sources.begin(), sources.end());
    fs::create_directories(args.outputFolder, ec);
    if (!fs::is_directory(args.outputFolder, ec)) throw CommandError(args.outputFolder + ": cannot create the folder");

    const LoadedPlugin plugin = loadPlugin(pluginPathOrDefault(args.pluginPath));
    std::vector<std::string> names;
    for (const fs::path& path : sources) {
        const PresetSource source = parsePresetSource(readText(path), path.string());
        if (std::find(names.begin(), names.end(), source.name) != names.end())
            throw CommandError(path.string() + ": another preset is already named \"" + source.name + "\"");
        names.push_back(source.name);
        buildPreset(plugin, source, fs::path(args.outputFolder) / (source.name + ".vstpreset"));
    }
    std::cout << "built " << names.size() << " presets in " << args.outputFolder << "\n";
}

} // namespace

void addPresetCommand(CLI::App& app)
{
    auto list = std::make_shared<ListArguments>();
    auto* presets = app.add_subcommand("presets", "List a plug-in's presets with their categories");
    presets->add_option("--plugin", list->pluginPath, "VST 3 bundle (default: Vexbit Glitch)");
    presets->add_option("--folder", list->folders,
                        "Folder to list instead of the user's preset folder and the bundle's bank; repeatable");

    auto build = std::make_shared<BuildArguments>();
    auto* buildCommand = presets->add_subcommand("build", "Make .vstpreset files from preset source texts (.preset)");
    buildCommand->add_option("source", build->sourceFolder, "Folder of .preset texts")->required();
    buildCommand->add_option("output", build->outputFolder, "Folder to write the .vstpreset files to")->required();
    buildCommand->add_option("--plugin", build->pluginPath, "VST 3 bundle (default: Vexbit Glitch)");
    buildCommand->callback([build] { runBuild(*build); });

    presets->callback([presets, buildCommand, list] {
        if (presets->got_subcommand(buildCommand)) return;
        runList(*list);
    });
}

} // namespace vexbit::cli
