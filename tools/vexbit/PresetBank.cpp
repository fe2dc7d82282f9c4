#include "vexbit/PresetBank.h"

#include "vexbit/CommandError.h"
#include "host/AtomicFile.h"
#include "host/PluginState.h"
#include "common/ParameterIds.h"
#include "product/ModuleConfig.h"
#include "state/ProcessorStateImage.h"

#include "public.sdk/source/common/memorystream.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace vexbit::cli {

namespace fs = std::filesystem;
using namespace Steinberg;

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string lowered(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Characters that some file systems refuse in a name.
bool isSafeFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:*?\"<>|") == std::string::npos;
}

} // namespace

PresetSource parsePresetSource(const std::string& text, const std::string& where)
{
    PresetSource source;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#') continue;
        const std::string at = where + ":" + std::to_string(number) + ": ";
        if (const auto eq = content.find('='); eq != std::string::npos) {
            source.settings.push_back(trimmed(content.substr(0, eq)) + "=" + trimmed(content.substr(eq + 1)));
            continue;
        }
        const auto colon = content.find(':');
        const std::string key = colon == std::string::npos ? std::string() : lowered(trimmed(content.substr(0, colon)));
        const std::string value = colon == std::string::npos ? std::string() : trimmed(content.substr(colon + 1));
        if (key == "name")
            source.name = value;
        else if (key == "category")
            source.category = value;
        else
            throw CommandError(at + "expected \"Name:\", \"Category:\" or NAME=VALUE");
    }
    if (!isSafeFileName(source.name)) throw CommandError(where + ": the preset needs a Name: usable as a file name");
    return source;
}

void buildPreset(const LoadedPlugin& plugin, const PresetSource& source, const fs::path& file)
{
    const std::string where = source.name + ": ";
    const std::vector<host::ParameterSetting> settings = resolveSettings(plugin, source.settings);

    std::string error;
    // Start from defaults: a fresh instance of the already loaded module, apart
    // from the one the settings were resolved against.
    const auto fresh = host::PluginInstance::create(plugin.module, plugin.effectClass, error);
    if (!fresh) throw CommandError(where + error);
    auto defaults = host::saveState(*fresh, error);
    if (!defaults) throw CommandError(where + error);

    auto stream = owned(new MemoryStream(defaults->component.data(), static_cast<TSize>(defaults->component.size())));
    ProcessorStateImage image;
    if (readProcessorState(*stream, moduleConfig().frameworkVersion, image) != StateReadResult::Complete)
        throw CommandError(where + "the plug-in's default state is not of the format this tool builds presets for");
    int64 extraAt = 0;
    stream->tell(&extraAt);
    const std::string extra = defaults->component.substr(static_cast<std::size_t>(extraAt));

    Vst::IEditController* controller = fresh->controller();
    for (const host::ParameterSetting& s : settings) {
        if (s.id == kBypassId) {
            image.bypass = s.normalized >= 0.5;
            continue;
        }
        const double plain = controller->normalizedParamToPlain(s.id, s.normalized);
        auto value =
            std::find_if(image.values.begin(), image.values.end(), [&](const auto& v) { return v.id == s.id; });
        if (value == image.values.end()) throw CommandError(where + "\"" + s.title + "\" is not kept in saved states");
        value->plain = plain;
    }

    auto composed = owned(new MemoryStream());
    writeProcessorState(*composed, image);
    composed->write(const_cast<char*>(extra.data()), static_cast<int32>(extra.size()), nullptr);
    host::PluginState state;
    state.component.assign(composed->getData(), static_cast<std::size_t>(composed->getSize()));
    state.controller = defaults->controller;
    // What the plug-in accepts and writes back is what the preset holds.
    if (!host::restoreState(*fresh, state, error))
        throw CommandError(where + "the plug-in refused the preset's state (" + error + ")");
    const auto saved = host::saveState(*fresh, error);
    if (!saved) throw CommandError(where + error);

    host::PresetMetaInfo info;
    info.name = source.name;
    info.category = source.category;
    info.pluginName = plugin.effectClass.name;
    info.pluginCategory = plugin.effectClass.subCategories;
    host::AtomicFile output(file.string());
    if (!host::writeStateFile(output.temporaryPath(), plugin.effectClass.cid, *saved, error, info) ||
        !output.commit(error))
        throw CommandError(file.string() + ": cannot write the preset (" + error + ")");
}

fs::path userPresetFolder(const LoadedPlugin& plugin)
{
    const char* home = std::getenv("HOME");
    std::string vendor = plugin.effectClass.vendor;
    if (vendor.empty()) vendor = plugin.module->factoryInfo().vendor;
    return fs::path(home != nullptr ? home : "") / ".vst3" / "presets" / vendor / plugin.effectClass.name;
}

fs::path bundlePresetFolder(const LoadedPlugin& plugin)
{
    const fs::path path(plugin.module->path());
    std::error_code ec;
    // A module named by its binary: Bundle.vst3/Contents/<arch>/Bundle.so.
    const fs::path contents = fs::is_regular_file(path, ec) ? path.parent_path().parent_path() : path / "Contents";
    return contents / "Resources" / "Presets";
}

std::vector<fs::path> presetFolders(const LoadedPlugin& plugin)
{
    return {userPresetFolder(plugin), bundlePresetFolder(plugin)};
}

std::vector<PresetEntry> listPresets(const std::vector<fs::path>& folders)
{
    std::vector<PresetEntry> entries;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        std::vector<fs::path> files;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".vstpreset") files.push_back(it->path());
        for (const fs::path& path : files) {
            std::string error;
            const auto file = host::readStateFile(path.string(), error);
            if (!file || !file->isPreset) continue;
            PresetEntry entry{path, file->info};
            if (entry.info.name.empty()) entry.info.name = path.stem().string();
            const bool known = std::any_of(entries.begin(), entries.end(), [&](const PresetEntry& e) {
                return lowered(e.info.name) == lowered(entry.info.name);
            });
            if (!known) entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const PresetEntry& a, const PresetEntry& b) {
        return std::tie(a.info.category, a.info.name) < std::tie(b.info.category, b.info.name);
    });
    return entries;
}

std::string findPreset(const std::string& nameOrPath, const LoadedPlugin& plugin)
{
    std::error_code ec;
    if (fs::is_regular_file(nameOrPath, ec)) return nameOrPath;
    const std::vector<fs::path> folders = presetFolders(plugin);
    for (const PresetEntry& entry : listPresets(folders)) {
        if (lowered(entry.info.name) == lowered(nameOrPath) ||
            lowered(entry.file.stem().string()) == lowered(nameOrPath))
            return entry.file.string();
    }
    throw CommandError("no preset named \"" + nameOrPath + "\" in " + folders[0].string() + " or " +
                       folders[1].string() + " (see vexbit presets)");
}

} // namespace vexbit::cli
