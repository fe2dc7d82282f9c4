// The Linux side of the comparison with the Windows build: plays the scene and
// keeps its rendering and state for the Windows tests, then restores the state
// the Windows build saved. The folder comes in VEXBIT_EXCHANGE_DIR.
#include "windows/CrossPlatformScene.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vexbit::crossplatform {
namespace {

std::string exchangeFile(const char* name)
{
    const char* dir = std::getenv("VEXBIT_EXCHANGE_DIR");
    if (dir == nullptr) return {};
    std::filesystem::create_directories(dir);
    return (std::filesystem::path(dir) / name).string();
}

TEST(LinuxReference, PlaysTheSceneAndKeepsItsRenderingAndState)
{
    const std::string renderPath = exchangeFile("linux.render");
    ASSERT_FALSE(renderPath.empty()) << "VEXBIT_EXCHANGE_DIR names no folder";
    auto session = e2e::BundleSession::open();
    ASSERT_TRUE(session);
    const e2e::Rendering rendering = session->render(scene(), input(), kBlockSize);
    ASSERT_EQ(rendering.left.size(), static_cast<std::size_t>(kLength));
    ASSERT_TRUE(writeFile(renderPath, samplesOf(rendering)));
    const Bytes state = stateOf(session->component());
    ASSERT_FALSE(state.empty());
    ASSERT_TRUE(writeFile(exchangeFile("linux.state"), state));
}

TEST(LinuxReference, RestoresTheWindowsStateByteForByte)
{
    const Bytes windowsState = readFile(exchangeFile("windows.state"));
    ASSERT_FALSE(windowsState.empty()) << "the Windows tests left no state";
    auto session = e2e::BundleSession::open();
    ASSERT_TRUE(session);
    ASSERT_EQ(restore(session->component(), windowsState), Steinberg::kResultOk);
    EXPECT_EQ(stateOf(session->component()), windowsState);
}

} // namespace
} // namespace vexbit::crossplatform
