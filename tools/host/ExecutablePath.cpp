// The one place the tool asks the platform where its own program lives.
#include "host/PluginLocator.h"

#include <filesystem>
#include <system_error>

namespace vexbit::host {

std::string executablePath()
{
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

} // namespace vexbit::host
