#include "product/ModuleConfig.h"

#include "product/PluginParameterTable.h"

#include "common/ProductInfo.h"

namespace vexbit {

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
    config.vendor = product::kVendor;
    config.vendorUrl = product::kVendorUrl;
    config.vendorEmail = "";
    config.pluginName = product::kName;
    config.version = product::kVersion;
    config.subCategories = "Fx";
    config.processorClassId = classIdFromGuidString(product::kProcessorClassId);
    config.controllerClassId = classIdFromGuidString(product::kControllerClassId);
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
        if (c != '-' && c != '{' && c != '}') hex += c;
    }
    Steinberg::FUID id;
    if (!id.fromString(hex.c_str())) return Steinberg::FUID(0, 0, 0, 0);
    return id;
}

std::string classVersion(const ModuleConfig& config)
{
    return config.version + "-" + config.frameworkVersion;
}

} // namespace vexbit
