// The Windows editor's window against the Linux editor's window (the Linux
// build's snapshot of it): the same artwork, controls and texts, so the two
// differ only where the two systems rasterise glyphs differently.
#include "windows/WindowsEditorHost.h"

#include "host/Module.h"
#include "host/PluginInstance.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vexbit::test {
namespace {

using namespace std::chrono_literals;

// A pixel counts as different when a channel is off by more than this: the
// artwork is the same PNG on both, so only anti-aliased text exceeds it.
constexpr int kChannelTolerance = 40;
// The two systems rasterise glyphs differently (nearly every text pixel
// differs somewhat), but the same letters at the same places cover the same
// amount of each small block: blocks are compared by their mean colour.
constexpr int kBlock = 4;
constexpr int kBlockTolerance = 32;
constexpr double kMaxDifferentBlockShare = 0.002;

int channelDifference(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

// The mean of each channel over the block at (bx, by), as 0x00RRGGBB.
template <typename PixelAt>
uint32_t blockMean(PixelAt pixel, int bx, int by, int w, int h)
{
    uint32_t sum[3] = {0, 0, 0}, n = 0;
    for (int y = by; y < std::min(by + kBlock, h); ++y)
        for (int x = bx; x < std::min(bx + kBlock, w); ++x) {
            const uint32_t p = pixel(x, y);
            sum[0] += (p >> 16) & 0xFF;
            sum[1] += (p >> 8) & 0xFF;
            sum[2] += p & 0xFF;
            ++n;
        }
    return ((sum[0] / n) << 16) | ((sum[1] / n) << 8) | (sum[2] / n);
}

TEST(WindowsEditorSnapshot, MatchesTheLinuxWindowButForTextEdges)
{
    cairo_surface_t* reference = cairo_image_surface_create_from_png(VEXBIT_LINUX_SNAPSHOT);
    ASSERT_EQ(cairo_surface_status(reference), CAIRO_STATUS_SUCCESS) << "no Linux snapshot at " VEXBIT_LINUX_SNAPSHOT;
    const int lw = cairo_image_surface_get_width(reference), lh = cairo_image_surface_get_height(reference);

    std::string error;
    auto module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    auto instance = host::PluginInstance::createFirstEffect(module, error);
    ASSERT_TRUE(instance && instance->controller()) << error;
    WindowsEditorHost host;
    ASSERT_TRUE(host.attach(instance->controller()));
    // As long as the Linux snapshot lets its editor settle.
    host.runFor(700ms);
    int w = 0, h = 0;
    const std::vector<uint32_t> windows = host.capture(w, h);
    host.remove();
    ASSERT_FALSE(windows.empty());
    ASSERT_EQ(w, lw);
    ASSERT_EQ(h, lh);

    cairo_surface_flush(reference);
    const unsigned char* data = cairo_image_surface_get_data(reference);
    const int stride = cairo_image_surface_get_stride(reference);
    size_t different = 0;
    cairo_surface_t* diff = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    auto* diffData = cairo_image_surface_get_data(diff);
    const int diffStride = cairo_image_surface_get_stride(diff);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        auto* out = reinterpret_cast<uint32_t*>(diffData + y * diffStride);
        for (int x = 0; x < w; ++x) {
            const bool off = channelDifference(row[x] & 0xFFFFFF, windows[y * w + x]) > kChannelTolerance;
            different += off;
            out[x] = off ? 0xFF0000 : (windows[y * w + x] >> 2) & 0x3F3F3F;
        }
    }
    cairo_surface_mark_dirty(diff);
    // Where they differ, for whoever looks into a failure.
    cairo_surface_write_to_png(diff, VEXBIT_SNAPSHOT_DIFFERENCE);
    cairo_surface_destroy(diff);

    auto linuxPixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF; };
    auto windowsPixel = [&](int x, int y) { return windows[static_cast<size_t>(y) * w + x]; };
    size_t blocks = 0, differentBlocks = 0;
    for (int by = 0; by < h; by += kBlock)
        for (int bx = 0; bx < w; bx += kBlock) {
            ++blocks;
            differentBlocks += channelDifference(blockMean(linuxPixel, bx, by, w, h),
                                                 blockMean(windowsPixel, bx, by, w, h)) > kBlockTolerance;
        }
    cairo_surface_destroy(reference);
    const double share = static_cast<double>(differentBlocks) / static_cast<double>(blocks);
    std::printf("pixels differing beyond %d per channel: %zu (%.3f%%); %dx%d blocks differing beyond %d: %zu (%.3f%%)\n",
                kChannelTolerance, different, 100.0 * static_cast<double>(different) / (static_cast<double>(w) * h),
                kBlock, kBlock, kBlockTolerance, differentBlocks, share * 100);
    EXPECT_LE(share, kMaxDifferentBlockShare) << "see " VEXBIT_SNAPSHOT_DIFFERENCE;
}

} // namespace
} // namespace vexbit::test
