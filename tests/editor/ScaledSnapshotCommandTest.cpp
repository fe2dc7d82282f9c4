// "vexbit snapshot --scale" through the built tool and bundle.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

namespace {

// Width and height from a PNG file's header chunk; zeros when it is no PNG.
std::pair<uint32_t, uint32_t> pngDimensions(const std::string& path)
{
    std::array<unsigned char, 24> header{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) return {0, 0};
    if (header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return {0, 0};
    const auto bigEndian = [&](size_t at) {
        return (uint32_t{header[at]} << 24) | (uint32_t{header[at + 1]} << 16) | (uint32_t{header[at + 2]} << 8) |
               header[at + 3];
    };
    return {bigEndian(16), bigEndian(20)};
}

TEST(ScaledSnapshotCommand, TheScaleSizesThePictureAndOutOfRangeScalesAreRefused)
{
    if (std::system("command -v Xvfb > /dev/null") != 0) GTEST_SKIP() << "no Xvfb to stand in for a display";
    const std::string snapshot = std::string("'") + VEXBIT_EXECUTABLE + "' snapshot '" + VEXBIT_BUNDLE_PATH + "'";
    const std::string out = std::string(VEXBIT_SCRATCH_DIR) + "/snapshot-scaled.png";

    for (const auto& [scale, width, height] : {std::tuple{"1.5", 1817u, 998u}, std::tuple{"2", 2422u, 1330u}}) {
        std::remove(out.c_str());
        const std::string command = snapshot + " --settle-ms 200 --scale " + scale + " -o '" + out + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << scale;
        EXPECT_EQ(pngDimensions(out), std::make_pair(width, height)) << scale;
    }
    for (const std::string bad : {"0.5", "5"}) {
        const std::string command = snapshot + " --scale " + bad + " -o '" + out + "' 2> /dev/null";
        EXPECT_NE(std::system(command.c_str()), 0) << bad;
    }
}

} // namespace
