#include "vexbit/InfoCommand.h"

#include "vexbit/CommandError.h"
#include "host/Module.h"
#include "host/PluginInstance.h"

#include "pluginterfaces/vst/ivstcomponent.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace vexbit::cli {

namespace {

std::string parameterFlagNames(int32_t flags)
{
    using Steinberg::Vst::ParameterInfo;
    static const std::pair<int32_t, const char*> names[] = {
        {ParameterInfo::kCanAutomate, "automate"}, {ParameterInfo::kIsReadOnly, "read-only"},
        {ParameterInfo::kIsWrapAround, "wrap"},    {ParameterInfo::kIsList, "list"},
        {ParameterInfo::kIsHidden, "hidden"},      {ParameterInfo::kIsProgramChange, "program-change"},
        {ParameterInfo::kIsBypass, "bypass"},
    };
    std::string text;
    for (const auto& [bit, name] : names) {
        if ((flags & bit) != 0) text += (text.empty() ? "" : "|") + std::string(name);
    }
    return text.empty() ? "-" : text;
}

void printFactory(const host::Module& module)
{
    const host::FactoryDescription f = module.factoryInfo();
    std::cout << "Module: " << module.path() << "\n"
              << "Factory:\n"
              << "  vendor: " << f.vendor << "\n"
              << "  url: " << f.url << "\n"
              << "  email: " << f.email << "\n"
              << "  flags: " << f.flags << "\n";
}

void printClasses(const std::vector<host::ClassDescription>& classes)
{
    std::cout << "Classes: " << classes.size() << "\n";
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const host::ClassDescription& c = classes[i];
        std::cout << "  [" << i << "] " << c.name << "\n"
                  << "    cid: " << c.cidText << "\n"
                  << "    category: " << c.category << "\n"
                  << "    sub-categories: " << c.subCategories << "\n"
                  << "    vendor: " << c.vendor << "\n"
                  << "    version: " << c.version << "\n"
                  << "    sdk version: " << c.sdkVersion << "\n"
                  << "    cardinality: " << c.cardinality << "\n"
                  << "    class flags: " << c.classFlags << "\n";
    }
}

void printParameters(const host::PluginInstance& instance, const std::string& className)
{
    const auto parameters = instance.parameters();
    std::cout << "Parameters of " << className << ": " << parameters.size() << "\n";
    std::cout << "  "
              << "id"
              << "\t"
              << "title"
              << "\t"
              << "default"
              << "\t"
              << "steps"
              << "\t"
              << "flags"
              << "\n";
    for (const host::ParameterDescription& p : parameters) {
        char defaultText[32];
        std::snprintf(defaultText, sizeof defaultText, "%.6f", p.defaultNormalized);
        std::cout << "  " << p.id << "\t\"" << p.title << "\"\t" << defaultText << " ("
                  << instance.parameterText(p.id, p.defaultNormalized) << ")\t" << p.stepCount << "\t0x" << std::hex
                  << p.flags << std::dec << " " << parameterFlagNames(p.flags) << "\n";
    }
}

void runInfo(const std::string& path)
{
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(path, error);
    if (!module) throw CommandError(error);

    printFactory(*module);
    const auto classes = module->classes();
    printClasses(classes);
    for (const host::ClassDescription& c : classes) {
        if (c.category != kVstAudioEffectClass) continue;
        auto instance = host::PluginInstance::create(module, c, error);
        if (!instance) throw CommandError(error);
        printParameters(*instance, c.name);
    }
}

} // namespace

void addInfoCommand(CLI::App& app)
{
    auto* command = app.add_subcommand("info", "Show a module's factory, classes and parameters");
    auto path = std::make_shared<std::string>();
    command->add_option("bundle", *path, "Path of the .vst3 bundle (or its binary)")->required();
    command->callback([path] { runInfo(*path); });
}

} // namespace vexbit::cli
