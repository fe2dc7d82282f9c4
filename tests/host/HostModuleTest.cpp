#include "host/Module.h"
#include "host/PluginInstance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using vexbit::host::Module;
using vexbit::host::PluginInstance;

namespace {

std::string loadError(const std::string& path)
{
    std::string error;
    EXPECT_EQ(Module::load(path, error), nullptr);
    return error;
}

} // namespace

TEST(HostModule, ExplainsWhyAPathCannotBeLoaded)
{
    EXPECT_EQ(loadError("/no/such/Thing.vst3"), "/no/such/Thing.vst3: no such file or directory");
    EXPECT_EQ(loadError(""), "no module path given");
    EXPECT_EQ(loadError(VEXBIT_NOT_A_BUNDLE),
              std::string(VEXBIT_NOT_A_BUNDLE) + ": not a VST 3 bundle (no Contents/x86_64-linux/NotABundle.so)");
    EXPECT_EQ(loadError(VEXBIT_NO_ENTRY_BUNDLE),
              std::string(VEXBIT_NO_ENTRY_BUNDLE) +
                  ": not a VST 3 module (no ModuleEntry or GetPluginFactory entry point)");
    const std::string notLibrary = loadError(__FILE__);
    EXPECT_EQ(notLibrary.rfind(std::string(__FILE__) + ": cannot load the module: ", 0), 0u) << notLibrary;
}

TEST(HostModule, BundlePathWithTrailingSlashAndBinaryPathBothLoad)
{
    std::string error;
    auto viaSlash = Module::load(std::string(VEXBIT_BUNDLE_PATH) + "/", error);
    ASSERT_TRUE(viaSlash) << error;
    EXPECT_TRUE(std::filesystem::is_regular_file(viaSlash->binaryPath()));
    auto viaBinary = Module::load(viaSlash->binaryPath(), error);
    ASSERT_TRUE(viaBinary) << error;
    EXPECT_EQ(viaBinary->classes().size(), 2u);
}

TEST(HostModule, InstanceKeepsItsModuleLoaded)
{
    std::string error;
    auto module = Module::load(VEXBIT_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    auto instance = PluginInstance::createFirstEffect(module, error);
    ASSERT_TRUE(instance) << error;
    module.reset();
    // Still usable: the instance shares ownership of the library.
    EXPECT_EQ(instance->parameters().size(), 83u);
    EXPECT_EQ(instance->module().classes().size(), 2u);
}

TEST(HostModule, LoadsAThirdPartyBundle)
{
    const std::string zam = "/usr/lib/vst3/ZamDelay.vst3";
    if (!std::filesystem::exists(zam)) GTEST_SKIP() << "ZamDelay is not installed";
    std::string error;
    auto module = Module::load(zam, error);
    ASSERT_TRUE(module) << error;
    auto instance = PluginInstance::createFirstEffect(module, error);
    ASSERT_TRUE(instance) << error;
    EXPECT_FALSE(instance->parameters().empty());
}
