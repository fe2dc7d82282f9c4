#include "host/PluginLocator.h"

#include "host/DynamicLibrary.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vexbit::host {

namespace fs = std::filesystem;

namespace {

// Far enough to reach the build folder from tools/vexbit/, not so far that a
// tool in /usr/bin finds something unrelated in /.
constexpr int kParentLevels = 3;

} // namespace

std::vector<std::string> defaultPluginCandidates(const std::string& bundleFileName)
{
    std::vector<std::string> candidates;
    const std::string self = executablePath();
    if (!self.empty()) {
        fs::path dir = fs::path(self).parent_path();
        for (int level = 0; level <= kParentLevels && !dir.empty(); ++level) {
            candidates.push_back((dir / bundleFileName).string());
            if (dir == dir.root_path()) break;
            dir = dir.parent_path();
        }
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        candidates.push_back((fs::path(home) / ".vst3" / bundleFileName).string());
    candidates.push_back((fs::path("/usr/local/lib/vst3") / bundleFileName).string());
    candidates.push_back((fs::path("/usr/lib/vst3") / bundleFileName).string());
    return candidates;
}

std::string findDefaultPlugin(const std::string& bundleFileName)
{
    for (const std::string& candidate : defaultPluginCandidates(bundleFileName)) {
        std::error_code ec;
        if (fs::is_regular_file(bundleBinaryPath(candidate), ec)) return candidate;
    }
    return {};
}

} // namespace vexbit::host
