// Loading modules the way a Linux host does: dlopen, ModuleEntry, ModuleExit.
#include "host/DynamicLibrary.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <filesystem>

namespace vexbit::host {

DynamicLibrary::~DynamicLibrary()
{
    close();
}

bool DynamicLibrary::open(const std::string& path, std::string& error)
{
    close();
    int flags = RTLD_LAZY | RTLD_LOCAL;
#if defined(__SANITIZE_ADDRESS__)
    // Under the leak checker an unloaded plug-in takes its code and its libraries
    // (cairo, pixman, fontconfig) with it: their load-time tables then read as
    // leaks and every stack into them is unreadable. Keeping the code mapped
    // keeps both honest; the host still calls ModuleExit and dlclose as usual.
    flags |= RTLD_NODELETE;
#endif
    handle_ = ::dlopen(path.c_str(), flags);
    if (handle_ == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "unknown loader error";
        return false;
    }
    return true;
}

void DynamicLibrary::close()
{
    if (handle_ != nullptr) ::dlclose(handle_);
    handle_ = nullptr;
}

void* DynamicLibrary::symbol(const char* name) const
{
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

std::string bundleBinaryPath(const std::string& bundlePath)
{
    std::filesystem::path bundle(bundlePath);
    if (!bundle.has_filename()) bundle = bundle.parent_path(); // "X.vst3/" names the same folder as "X.vst3"
    struct utsname machine {};
    const std::string arch = ::uname(&machine) == 0 ? machine.machine : "x86_64";
    return (bundle / "Contents" / (arch + "-linux") / (bundle.stem().string() + ".so")).string();
}

const char* moduleEntryName()
{
    return "ModuleEntry";
}

bool enterModule(const DynamicLibrary& library)
{
    auto entry = reinterpret_cast<bool (*)(void*)>(library.symbol("ModuleEntry"));
    return entry != nullptr && entry(library.nativeHandle());
}

void exitModule(const DynamicLibrary& library)
{
    if (auto exit = reinterpret_cast<bool (*)()>(library.symbol("ModuleExit"))) exit();
}

} // namespace vexbit::host
