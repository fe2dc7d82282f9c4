#pragma once

#include <string>

namespace vexbit::host {

// A shared library opened by path; closed when the object goes. The only place
// the host tool talks to the platform's loader (one source file per platform).
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

// Where a bundle keeps its binary for this machine: Contents/<arch>-linux/<stem>.so
// on Linux, Contents/x86_64-win/<stem>.vst3 on Windows.
std::string bundleBinaryPath(const std::string& bundlePath);

// The entry point a host of this platform calls right after loading a module
// (ModuleEntry with the library's handle on Linux, InitDll on Windows) and the
// one it calls right before unloading it (ModuleExit, ExitDll).
const char* moduleEntryName();
// False when the entry point is missing or refuses to start the module.
bool enterModule(const DynamicLibrary& library);
void exitModule(const DynamicLibrary& library);

} // namespace vexbit::host
