#pragma once

#include <string>
#include <vector>

namespace vexbit::host {

// Where the tool looks for our own plug-in when no bundle is named: beside the
// tool and in the folders above it (the build tree keeps the bundle two levels
// up), then in the folders Linux hosts search. Paths in search order.
std::vector<std::string> defaultPluginCandidates(const std::string& bundleFileName);

// The first candidate that holds a loadable binary, or "" when none does.
std::string findDefaultPlugin(const std::string& bundleFileName);

// The path of the running program; "" when the platform cannot tell.
std::string executablePath();

} // namespace vexbit::host
