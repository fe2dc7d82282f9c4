#pragma once

#include "params/ParameterTable.h"

#include "pluginterfaces/base/funknown.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vexbit {

// What the module tells hosts about itself and how the processor lays out its
// buses. The defaults hold until configureModule() runs.
struct ModuleConfig {
    std::string vendor = "no vendor name";
    std::string vendorUrl;
    std::string vendorEmail;
    std::string pluginName = "test vst3";
    std::string version = "0";
    std::string subCategories = "Fx|Instrument";
    std::string frameworkVersion = "2.0";
    Steinberg::FUID processorClassId{0, 0, 0, 1};
    Steinberg::FUID controllerClassId{0, 0, 0, 2};
    int32_t sideChainBusCount = 0;
    int32_t eventOutputBusCount = 0;
};

// The process-wide configuration and parameter table (read-only once the
// module is initialised).
ModuleConfig& moduleConfig();
ParameterTable& parameterTable();

// The module's start-up work: sets the product configuration and rebuilds the
// parameter table. Safe to call more than once.
void configureModule();

// Parses a class ID written as a braced, dashed GUID; an unreadable text gives
// the all-zero ID.
Steinberg::FUID classIdFromGuidString(std::string_view guid);

// The version reported for each class: version and framework version joined by "-".
std::string classVersion(const ModuleConfig& config);

} // namespace vexbit
