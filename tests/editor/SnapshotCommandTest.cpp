// "vexbit snapshot" through the built tool and bundle: a PNG of the whole window,
// with the display the tests run under or with a virtual one the tool starts itself.
#include "support/RunVexbit.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

namespace {

struct PngSize {
    int width = 0;
    int height = 0;
};

PngSize pngSize(const std::string& path)
{
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    PngSize size;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(image), cairo_image_surface_get_height(image)};
    cairo_surface_destroy(image);
    return size;
}

TEST(SnapshotCommand, SavesTheWholeEditorWithOrWithoutADisplay)
{
    if (!std::filesystem::exists("/usr/bin/Xvfb")) GTEST_SKIP() << "no Xvfb to stand in for a display";
    const std::string bundle = VEXBIT_BUNDLE_PATH;
    const std::string out = std::string(VEXBIT_SCRATCH_DIR) + "/snapshot.png";
    const std::string headless = std::string(VEXBIT_SCRATCH_DIR) + "/snapshot-headless.png";
    std::remove(out.c_str());
    std::remove(headless.c_str());

    if (std::getenv("DISPLAY") != nullptr) {
        ASSERT_EQ(vexbit::test::runVexbit({"snapshot", bundle, "-o", out}).status, 0);
        EXPECT_EQ(pngSize(out).width, 1211);
        EXPECT_EQ(pngSize(out).height, 665);
    }
    ASSERT_EQ(vexbit::test::runVexbit({"snapshot", bundle, "--settle-ms", "200", "-o", headless}, false).status, 0);
    EXPECT_EQ(pngSize(headless).width, 1211);
    EXPECT_EQ(pngSize(headless).height, 665);

    // A bundle that does not exist is an error, not an empty picture.
    EXPECT_NE(vexbit::test::runVexbit({"snapshot", "/nonexistent.vst3", "-o", out + "-missing.png"}).status, 0);
}

TEST(SnapshotCommand, TheScaleSizesThePictureAndOutOfRangeScalesAreRefused)
{
    if (!std::filesystem::exists("/usr/bin/Xvfb")) GTEST_SKIP() << "no Xvfb to stand in for a display";
    const std::string bundle = VEXBIT_BUNDLE_PATH;
    const std::string out = std::string(VEXBIT_SCRATCH_DIR) + "/snapshot-scaled.png";
    for (const auto& [scale, width, height] : {std::tuple{"1.5", 1817, 998}, std::tuple{"2", 2422, 1330}}) {
        std::remove(out.c_str());
        ASSERT_EQ(
            vexbit::test::runVexbit({"snapshot", bundle, "--settle-ms", "200", "--scale", scale, "-o", out}).status, 0)
            << scale;
        EXPECT_EQ(pngSize(out).width, width) << scale;
        EXPECT_EQ(pngSize(out).height, height) << scale;
    }
    for (const std::string bad : {"0.5", "5"})
        EXPECT_NE(vexbit::test::runVexbit({"snapshot", bundle, "--scale", bad, "-o", out}).status, 0) << bad;
}

} // namespace
