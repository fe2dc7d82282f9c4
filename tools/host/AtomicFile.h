#pragma once

#include <string>

namespace vexbit::host {

// An output file written under a temporary name beside its final place and
// renamed over it only when complete, so a failed or interrupted write never
// leaves a half-written file (and never spoils a file that was there before).
// The temporary file is removed unless commit() succeeded.
class AtomicFile {
public:
    explicit AtomicFile(std::string finalPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where to write; in the final file's folder so the rename stays on one file system.
    const std::string& temporaryPath() const { return temporaryPath_; }
    const std::string& finalPath() const { return finalPath_; }

    // False with one line in error when the rename fails.
    bool commit(std::string& error);

private:
    std::string finalPath_;
    std::string temporaryPath_;
    bool committed_ = false;
};

} // namespace vexbit::host
