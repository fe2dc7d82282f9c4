#pragma once

#include "host/DynamicLibrary.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexbit::host {

struct FactoryDescription {
    std::string vendor;
    std::string url;
    std::string email;
    int32_t flags = 0;
};

// One class the factory offers, from the richest info interface it has.
struct ClassDescription {
    Steinberg::FUID cid;
    std::string cidText; // 32 hex digits
    std::string category;
    std::string name;
    int32_t cardinality = 0;
    // The fields below come from IPluginFactory2/3; empty for an old factory.
    uint32_t classFlags = 0;
    std::string subCategories;
    std::string vendor;
    std::string version;
    std::string sdkVersion;
};

// A VST 3 module loaded the way a DAW of this platform loads it: the bundle's
// binary is opened, entered and asked for its factory; on destruction the
// factory is released, the module exited and the library closed. Instances made from it
// share ownership, so the library stays loaded while one exists.
class Module {
public:
    // Accepts a bundle folder (X.vst3) or the binary itself. Returns null with
    // one line in error when the path is missing, is not a bundle, cannot be
    // loaded or lacks the entry points.
    static std::shared_ptr<Module> load(const std::string& path, std::string& error);

    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const std::string& path() const { return path_; }
    const std::string& binaryPath() const { return binaryPath_; }
    Steinberg::IPluginFactory* factory() const { return factory_; }
    // The host's application object, handed to the factory and to every instance.
    Steinberg::FUnknown* hostContext() const { return hostContext_.get(); }
    // A symbol of the loaded binary, for tests that call entry points themselves.
    void* symbol(const char* name) const { return library_.symbol(name); }

    FactoryDescription factoryInfo() const;
    std::vector<ClassDescription> classes() const;
    std::optional<ClassDescription> firstClassOfCategory(const std::string& category) const;

private:
    Module() = default;

    std::string path_;
    std::string binaryPath_;
    DynamicLibrary library_;
    bool entered_ = false;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory_;
    // The SDK's host application does not count references; it lives as long
    // as the module, and so outlives every instance made from it.
    std::unique_ptr<Steinberg::Vst::HostApplication> hostContext_;
};

// Fixed-size SDK text fields need not be terminated; read at most N bytes.
template <std::size_t N>
std::string fieldText(const char (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length] != '\0') ++length;
    return std::string(field, length);
}

} // namespace vexbit::host
