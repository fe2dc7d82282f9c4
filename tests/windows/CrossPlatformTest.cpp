// The Windows bundle against what the Linux bundle did with the same scene:
// the same sound within float rounding, the same values afterwards, and
// states that move between the two byte for byte.
#include "windows/CrossPlatformScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vexbit::crossplatform {
namespace {

std::string exchangeFile(const char* name)
{
    return std::string(VEXBIT_EXCHANGE_DIR) + "/" + name;
}

TEST(CrossPlatform, TheSceneSoundsAndEndsAsOnLinux)
{
    const std::vector<float> fromLinux = floatsOf(readFile(exchangeFile("linux.render")));
    ASSERT_EQ(fromLinux.size(), static_cast<std::size_t>(2 * kLength)) << "no rendering from the Linux build";
    auto session = e2e::BundleSession::open();
    ASSERT_TRUE(session);
    const e2e::Rendering rendering = session->render(scene(), input(), kBlockSize);
    // Kept beside the Linux rendering, to look into a difference.
    writeFile(exchangeFile("windows.render"), samplesOf(rendering));
    const std::vector<float> fromWindows = floatsOf(samplesOf(rendering));
    ASSERT_EQ(fromWindows.size(), fromLinux.size());

    // The two C runtimes' mathematics may differ in the last bit of a
    // coefficient; what reaches the output stays far below audibility.
    double worst = 0.0;
    double energy = 0.0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < fromLinux.size(); ++i) {
        const double difference = std::fabs(static_cast<double>(fromWindows[i]) - fromLinux[i]);
        if (difference > worst) worst = difference, worstAt = i / 2;
        energy += static_cast<double>(fromLinux[i]) * fromLinux[i];
    }
    EXPECT_GT(energy / static_cast<double>(fromLinux.size()), 1e-3) << "the scene must make sound";
    EXPECT_LT(worst, 1e-4) << "largest difference at frame " << worstAt;
    std::printf("largest difference from the Linux rendering: %.3g at frame %zu\n", worst, worstAt);

    EXPECT_EQ(stateOf(session->component()), readFile(exchangeFile("linux.state")));
}

TEST(CrossPlatform, ALinuxStateRestoresByteForByteAndAWindowsStateGoesBack)
{
    const Bytes linuxState = readFile(exchangeFile("linux.state"));
    ASSERT_FALSE(linuxState.empty()) << "no state from the Linux build";
    auto session = e2e::BundleSession::open();
    ASSERT_TRUE(session);
    ASSERT_EQ(restore(session->component(), linuxState), Steinberg::kResultOk);
    EXPECT_EQ(stateOf(session->component()), linuxState);

    // Values of the Windows build's own for the Linux build to restore.
    e2e::Script edits;
    edits.length = kBlockSize;
    edits.changes = {{0, kMaxConcurrencyId, e2e::normalizedOf(kMaxConcurrencyId, 5.0)},
                     {0, kRetriggerPitchId, e2e::normalizedOf(kRetriggerPitchId, -7.0)},
                     {0, kLoFiBitDepthId, e2e::normalizedOf(kLoFiBitDepthId, 9.0)}};
    session->render(edits, {}, kBlockSize);
    const Bytes windowsState = stateOf(session->component());
    EXPECT_NE(windowsState, linuxState);
    ASSERT_TRUE(writeFile(exchangeFile("windows.state"), windowsState));
}

} // namespace
} // namespace vexbit::crossplatform
