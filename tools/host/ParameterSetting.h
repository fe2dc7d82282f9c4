#pragma once

#include "host/PluginInstance.h"

#include <optional>
#include <string>

namespace vexbit::host {

// A parameter value as a host sends it: the parameter and its normalized value.
struct ParameterSetting {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    double normalized = 0.0;
};

// Resolves "NAME=VALUE" against the instance's parameters, as a user writes it
// on a command line. NAME is the parameter's ID or its title (exact, or else
// ignoring case and surrounding spaces); a title that two parameters share must
// be given by ID. VALUE is one of the parameter's display texts ("On",
// "1/4 Note") or a number in the parameter's own plain units. Read-only
// parameters, unknown names and values outside the parameter's range are
// refused with one line in error.
std::optional<ParameterSetting> resolveParameterSetting(const PluginInstance& instance, const std::string& text,
                                                        std::string& error);

} // namespace vexbit::host
