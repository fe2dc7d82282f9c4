#include "host/Module.h"

#include "common/Utf.h"

#include <filesystem>
#include <system_error>

namespace vexbit::host {

using namespace Steinberg;

namespace {

using GetFactoryFunc = IPluginFactory* (*)();

template <std::size_t N>
std::string fieldText16(const char16 (&field)[N])
{
    return utf16ToUtf8(field, N);
}

// Resolves what the user named to the binary to open, or explains why it cannot.
bool resolveBinary(const std::string& path, std::string& binary, std::string& error)
{
    namespace fs = std::filesystem;
    if (path.empty()) {
        error = "no module path given";
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        error = path + ": no such file or directory";
        return false;
    }
    if (fs::is_directory(status)) {
        binary = bundleBinaryPath(path);
        if (!fs::is_regular_file(binary, ec)) {
            error = path + ": not a VST 3 bundle (no " + fs::relative(binary, path, ec).string() + ")";
            return false;
        }
        return true;
    }
    binary = path;
    return true;
}

} // namespace

std::shared_ptr<Module> Module::load(const std::string& path, std::string& error)
{
    std::shared_ptr<Module> module(new Module());
    module->path_ = path;
    if (!resolveBinary(path, module->binaryPath_, error)) return nullptr;

    std::string reason;
    if (!module->library_.open(module->binaryPath_, reason)) {
        error = path + ": cannot load the module: " + reason;
        return nullptr;
    }
    const std::string entryName = moduleEntryName();
    auto getFactory = reinterpret_cast<GetFactoryFunc>(module->library_.symbol("GetPluginFactory"));
    if (module->library_.symbol(entryName.c_str()) == nullptr || getFactory == nullptr) {
        error = path + ": not a VST 3 module (no " + entryName + " or GetPluginFactory entry point)";
        return nullptr;
    }
    if (!enterModule(module->library_)) {
        error = path + ": the module refused to start (" + entryName + " returned false)";
        return nullptr;
    }
    module->entered_ = true;

    IPluginFactory* factory = getFactory();
    if (factory == nullptr) {
        error = path + ": the module returned no factory";
        return nullptr;
    }
    module->factory_ = owned(factory);
    module->hostContext_ = std::make_unique<Vst::HostApplication>();
    FUnknownPtr<IPluginFactory3> factory3(factory);
    if (factory3) factory3->setHostContext(module->hostContext_.get());
    return module;
}

Module::~Module()
{
    factory_ = nullptr;
    if (entered_) exitModule(library_);
    library_.close();
    hostContext_.reset();
}

FactoryDescription Module::factoryInfo() const
{
    PFactoryInfo info;
    FactoryDescription result;
    if (factory_->getFactoryInfo(&info) != kResultOk) return result;
    result.vendor = fieldText(info.vendor);
    result.url = fieldText(info.url);
    result.email = fieldText(info.email);
    result.flags = info.flags;
    return result;
}

std::vector<ClassDescription> Module::classes() const
{
    std::vector<ClassDescription> result;
    FUnknownPtr<IPluginFactory2> factory2(factory_);
    FUnknownPtr<IPluginFactory3> factory3(factory_);
    const int32 count = factory_->countClasses();
    for (int32 i = 0; i < count; ++i) {
        ClassDescription d;
        PClassInfoW infoW;
        PClassInfo2 info2;
        PClassInfo info1;
        if (factory3 && factory3->getClassInfoUnicode(i, &infoW) == kResultOk) {
            d.cid = FUID::fromTUID(infoW.cid);
            d.category = fieldText(infoW.category);
            d.name = fieldText16(infoW.name);
            d.cardinality = infoW.cardinality;
            d.classFlags = infoW.classFlags;
            d.subCategories = fieldText(infoW.subCategories);
            d.vendor = fieldText16(infoW.vendor);
            d.version = fieldText16(infoW.version);
            d.sdkVersion = fieldText16(infoW.sdkVersion);
        } else if (factory2 && factory2->getClassInfo2(i, &info2) == kResultOk) {
            d.cid = FUID::fromTUID(info2.cid);
            d.category = fieldText(info2.category);
            d.name = fieldText(info2.name);
            d.cardinality = info2.cardinality;
            d.classFlags = info2.classFlags;
            d.subCategories = fieldText(info2.subCategories);
            d.vendor = fieldText(info2.vendor);
            d.version = fieldText(info2.version);
            d.sdkVersion = fieldText(info2.sdkVersion);
        } else if (factory_->getClassInfo(i, &info1) == kResultOk) {
            d.cid = FUID::fromTUID(info1.cid);
            d.category = fieldText(info1.category);
            d.name = fieldText(info1.name);
            d.cardinality = info1.cardinality;
        } else {
            continue;
        }
        char text[33] = {};
        d.cid.toString(text);
        d.cidText = text;
        result.push_back(std::move(d));
    }
    return result;
}

std::optional<ClassDescription> Module::firstClassOfCategory(const std::string& category) const
{
    for (ClassDescription& d : classes()) {
        if (d.category == category) return d;
    }
    return std::nullopt;
}

} // namespace vexbit::host
