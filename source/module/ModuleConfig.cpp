#include "module/ModuleConfig.h"

#include "module/PluginParameterTable.h"

namespace vexbit {

namespace {

constexpr const char* kProcessorGuid = "{6B0A2E14-58C3-4D8E-9F21-3A7C5E0B9D41}";
constexpr const char* kControllerGuid = "{C4E19F72-0D3B-4A65-8E7A-52B1F3D96C08}";

} // namespace

ModuleConfig& moduleConfig()
{
    static ModuleConfig config;
    return config;
}

ParameterTable& parameterTable()
{
    static ParameterTable table;
    return table;
}

void configureModule()
{
    ModuleConfig& config = moduleConfig();
    config.vendor = "Ornith-Kaval";
    config.vendorUrl = "https://ornith-kaval.example";
    config.vendorEmail = "";
    config.pluginName = "Vexbit Glitch";
    config.version = "2.2";
    config.subCategories = "Fx";
    config.processorClassId = classIdFromGuidString(kProcessorGuid);
    config.controllerClassId = classIdFromGuidString(kControllerGuid);
    config.sideChainBusCount = 0;
    config.eventOutputBusCount = 1;

    ParameterTable& table = parameterTable();
    table.clear();
    buildPluginParameterTable(table);
}

Steinberg::FUID classIdFromGuidString(std::string_view guid)
{
    std::string hex;
    for (char c : guid) {
        if (c != '-' && c != '{' && c != '}')
            hex += c;
    }
    Steinberg::FUID id;
    if (!id.fromString(hex.c_str()))
        return Steinberg::FUID(0, 0, 0, 0);
    return id;
}

std::string classVersion(const ModuleConfig& config)
{
    return config.version + "-" + config.frameworkVersion;
}

} // namespace vexbit
