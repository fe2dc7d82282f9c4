#include "vexbit/StateCommand.h"

#include "vexbit/CommandError.h"
#include "vexbit/StateDump.h"
#include "host/Module.h"
#include "host/PluginInstance.h"
#include "host/PluginState.h"
#include "product/ModuleConfig.h"

#include <iostream>
#include <memory>
#include <string>

namespace vexbit::cli {

namespace {

struct Opened {
    std::shared_ptr<host::Module> module;
    host::ClassDescription effectClass;
    std::unique_ptr<host::PluginInstance> instance;
};

Opened openFirstEffect(const std::string& bundle)
{
    std::string error;
    Opened o;
    o.module = host::Module::load(bundle, error);
    if (!o.module) throw CommandError(error);
    const auto effect = o.module->firstClassOfCategory(kVstAudioEffectClass);
    if (!effect) throw CommandError(bundle + ": the module offers no audio effect class");
    o.effectClass = *effect;
    o.instance = host::PluginInstance::create(o.module, *effect, error);
    if (!o.instance) throw CommandError(error);
    return o;
}

void runDump(const std::string& path)
{
    std::string error;
    const auto file = host::readStateFile(path, error);
    if (!file) throw CommandError(error);
    if (file->isPreset) {
        char cid[33] = {};
        file->componentClass.toString(cid);
        std::cout << "preset of class " << cid << "\n"
                  << "controller state: " << file->state.controller.size() << " bytes\n";
    }
    configureModule(); // the titles come from this plug-in's own table
    if (!dumpProcessorState(file->state.component, parameterTable(), moduleConfig().frameworkVersion, std::cout))
        throw CommandError(path + ": not a complete " + moduleConfig().pluginName + " processor state");
}

void runSave(const std::string& bundle, const std::string& path)
{
    Opened o = openFirstEffect(bundle);
    std::string error;
    const auto state = host::saveState(*o.instance, error);
    if (!state || !host::writeStateFile(path, o.effectClass.cid, *state, error)) throw CommandError(error);
    std::cout << "saved " << state->component.size() << " bytes of component state and " << state->controller.size()
              << " bytes of controller state to " << path << "\n";
}

void runLoad(const std::string& bundle, const std::string& path)
{
    Opened o = openFirstEffect(bundle);
    std::string error;
    const auto file = host::readStateFile(path, error);
    if (!file) throw CommandError(error);
    if (file->isPreset && file->componentClass != o.effectClass.cid)
        throw CommandError(path + ": the preset belongs to another plug-in class");
    if (!host::restoreState(*o.instance, file->state, error)) throw CommandError(path + ": " + error);

    // What the host now shows: every parameter as the controller reports it.
    Steinberg::Vst::IEditController* controller = o.instance->controller();
    for (const host::ParameterDescription& p : o.instance->parameters()) {
        const double value = controller->getParamNormalized(p.id);
        std::cout << "  " << p.id << "\t\"" << p.title << "\"\t" << o.instance->parameterText(p.id, value) << "\n";
    }
}

} // namespace

void addStateCommand(CLI::App& app)
{
    auto* state = app.add_subcommand("state", "Save, load and show plug-in states kept in files");
    state->require_subcommand(1);

    auto dumpPath = std::make_shared<std::string>();
    auto* dump = state->add_subcommand("dump", "Show a saved processor state (preset file or bare state)");
    dump->add_option("file", *dumpPath, "State file")->required();
    dump->callback([dumpPath] { runDump(*dumpPath); });

    auto saveBundle = std::make_shared<std::string>();
    auto savePath = std::make_shared<std::string>();
    auto* save = state->add_subcommand("save", "Save a fresh instance's state to a preset file");
    save->add_option("bundle", *saveBundle, "Path of the .vst3 bundle")->required();
    save->add_option("file", *savePath, "Preset file to write")->required();
    save->callback([saveBundle, savePath] { runSave(*saveBundle, *savePath); });

    auto loadBundle = std::make_shared<std::string>();
    auto loadPath = std::make_shared<std::string>();
    auto* load = state->add_subcommand("load", "Restore a state into a fresh instance and list its parameters");
    load->add_option("bundle", *loadBundle, "Path of the .vst3 bundle")->required();
    load->add_option("file", *loadPath, "Preset file or bare state")->required();
    load->callback([loadBundle, loadPath] { runLoad(*loadBundle, *loadPath); });
}

} // namespace vexbit::cli
