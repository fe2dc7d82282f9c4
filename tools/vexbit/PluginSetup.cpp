#include "vexbit/PluginSetup.h"

#include "vexbit/CommandError.h"
#include "host/AtomicFile.h"
#include "host/PluginLocator.h"
#include "host/PluginState.h"

#include "pluginterfaces/vst/ivstcomponent.h"

#include <filesystem>

namespace vexbit::cli {

namespace {

const char* const kOwnBundle = "Vexbit Glitch.vst3";

} // namespace

std::string pluginPathOrDefault(const std::string& given)
{
    if (!given.empty()) return given;
    const std::string found = host::findDefaultPlugin(kOwnBundle);
    if (found.empty())
        throw CommandError(std::string("cannot find ") + kOwnBundle +
                           " beside the tool, in the build tree or in ~/.vst3; name a bundle with --plugin");
    return found;
}

LoadedPlugin loadPlugin(const std::string& bundlePath)
{
    std::string error;
    LoadedPlugin plugin;
    std::filesystem::path path(bundlePath);
    if (!path.has_filename()) path = path.parent_path();
    plugin.name = path.stem().string();
    plugin.module = host::Module::load(bundlePath, error);
    if (!plugin.module) throw CommandError(error);
    const auto effect = plugin.module->firstClassOfCategory(kVstAudioEffectClass);
    if (!effect) throw CommandError(bundlePath + ": the module offers no audio effect");
    plugin.effectClass = *effect;
    plugin.instance = host::PluginInstance::create(plugin.module, *effect, error);
    if (!plugin.instance) throw CommandError(error);
    return plugin;
}

void loadStateFile(const LoadedPlugin& plugin, const std::string& path)
{
    std::string error;
    const auto file = host::readStateFile(path, error);
    if (!file) throw CommandError(error);
    if (file->isPreset && file->componentClass != plugin.effectClass.cid)
        throw CommandError(path + ": the state belongs to another plug-in");
    if (!host::restoreState(*plugin.instance, file->state, error))
        throw CommandError(path + ": the plug-in refused the state (" + error + ")");
}

void saveStateFile(const LoadedPlugin& plugin, const std::string& path)
{
    std::string error;
    const auto state = host::saveState(*plugin.instance, error);
    if (!state) throw CommandError(error);
    host::AtomicFile output(path);
    if (!host::writeStateFile(output.temporaryPath(), plugin.effectClass.cid, *state, error))
        throw CommandError(path + ": cannot write the state file");
    if (!output.commit(error)) throw CommandError(error);
}

std::vector<host::ParameterSetting> resolveSettings(const LoadedPlugin& plugin, const std::vector<std::string>& texts)
{
    std::vector<host::ParameterSetting> settings;
    for (const std::string& text : texts) {
        std::string error;
        const auto setting = host::resolveParameterSetting(*plugin.instance, text, error);
        if (!setting) throw CommandError(error);
        settings.push_back(*setting);
    }
    return settings;
}

} // namespace vexbit::cli
