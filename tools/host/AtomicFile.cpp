#include "host/AtomicFile.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace vexbit::host {

namespace {

std::string uniqueSuffix()
{
    static std::atomic<unsigned> counter{0};
    return ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

} // namespace

AtomicFile::AtomicFile(std::string finalPath) : finalPath_(std::move(finalPath))
{
    const std::filesystem::path path(finalPath_);
    // Hidden, so a file browser or a glob over the folder does not pick it up.
    temporaryPath_ = (path.parent_path() / ("." + path.filename().string() + uniqueSuffix())).string();
}

AtomicFile::~AtomicFile()
{
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporaryPath_, ignored);
    }
}

bool AtomicFile::commit(std::string& error)
{
    std::error_code ec;
    std::filesystem::rename(temporaryPath_, finalPath_, ec);
    if (ec) {
        error = finalPath_ + ": cannot write the file (" + ec.message() + ")";
        return false;
    }
    committed_ = true;
    return true;
}

} // namespace vexbit::host
