#pragma once

#include <string>

namespace vexbit::host {

// A shared library opened by path; closed when the object goes. The only place
// the host tool talks to the platform's loader.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // False with a readable reason in error when the library cannot be opened.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    void* symbol(const char* name) const;
    void* nativeHandle() const { return handle_; }

private:
    void* handle_ = nullptr;
};

// Where a bundle keeps its binary for this machine: Contents/<arch>-linux/<stem>.so.
std::string bundleBinaryPath(const std::string& bundlePath);

} // namespace vexbit::host
