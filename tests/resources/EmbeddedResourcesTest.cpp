#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <memory>
#include <string>

#include "editor/layout/ControlLayout.h"
#include "editor/layout/EditorColours.h"
#include "editor/layout/EditorGeometry.h"
#include "resource/EmbeddedResources.h"

using namespace vexbit;

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct Reader {
    std::span<const uint8_t> bytes;
    size_t offset = 0;
};

cairo_status_t readChunk(void* closure, unsigned char* data, unsigned int length)
{
    auto* reader = static_cast<Reader*>(closure);
    if (reader->bytes.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

// Decodes an embedded PNG the way the editor loads its bitmaps.
Surface decode(std::string_view name)
{
    Reader reader{findEmbeddedResource(name)};
    Surface surface(cairo_image_surface_create_from_png_stream(readChunk, &reader));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return surface;
}

// Straight (not premultiplied) colour of one pixel.
Rgba pixel(cairo_surface_t* s, int x, int y)
{
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    const auto a = static_cast<uint8_t>(argb >> 24);
    auto channel = [&](int shift) {
        const uint32_t c = (argb >> shift) & 0xff;
        return static_cast<uint8_t>(a == 0 ? 0 : (c * 255 + a / 2) / a);
    };
    return {channel(16), channel(8), channel(0), a};
}

// Whether two equally sized areas of two images hold the same pixels.
bool sameArea(cairo_surface_t* a, int ax, int ay, cairo_surface_t* b, int bx, int by, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!(pixel(a, ax + x, ay + y) == pixel(b, bx + x, by + y))) return false;
    return true;
}

bool allOf(cairo_surface_t* s, FrameRect r, Rgba colour)
{
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (!(pixel(s, x, y) == colour)) return false;
    return true;
}

} // namespace

TEST(EmbeddedResources, EachBitmapDecodesAtItsSize)
{
    struct Expect {
        std::string_view name;
        int w, h;
    };
    for (const auto& e : {Expect{kBackgroundResource, 1212, 666}, Expect{kShufflerPageResource, 595, 80},
                          Expect{kKnobResource, 50, 1550}, Expect{kRockerResource, 21, 63}}) {
        EXPECT_FALSE(findEmbeddedResource(e.name).empty()) << e.name;
        Surface s = decode(e.name);
        ASSERT_TRUE(s) << e.name;
        EXPECT_EQ(cairo_image_surface_get_width(s.get()), e.w) << e.name;
        EXPECT_EQ(cairo_image_surface_get_height(s.get()), e.h) << e.name;
    }
    // Each also drawn at 1.5 and 2 pixels per unit.
    EXPECT_EQ(embeddedResources().size(), 12u);
}

TEST(EmbeddedResources, UnknownNamesFindNothing)
{
    for (std::string_view name : {"", "background", "background.png ", "BACKGROUND.PNG", "animeknob.png/", "x"})
        EXPECT_TRUE(findEmbeddedResource(name).empty()) << '"' << name << '"';
    const std::string withNul("background.png\0", 15);
    EXPECT_TRUE(findEmbeddedResource(withNul).empty());
}

TEST(EmbeddedResources, KnobFramesTurnAndLeaveTheCornersClear)
{
    Surface knob = decode(kKnobResource);
    ASSERT_TRUE(knob);
    const int last = (kKnobFrames - 1) * kKnobSize;
    EXPECT_FALSE(sameArea(knob.get(), 0, 0, knob.get(), 0, last, kKnobSize, kKnobSize));
    EXPECT_FALSE(sameArea(knob.get(), 0, 0, knob.get(), 0, 15 * kKnobSize, kKnobSize, kKnobSize));
    EXPECT_FALSE(sameArea(knob.get(), 0, 14 * kKnobSize, knob.get(), 0, 15 * kKnobSize, kKnobSize, kKnobSize));
    // The pointer (the light line) starts lower left, points up at mid travel, ends lower right.
    auto pointer = [&](int frame) {
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = 0; y < kKnobSize; ++y)
            for (int x = 0; x < kKnobSize; ++x) {
                const Rgba p = pixel(knob.get(), x, frame * kKnobSize + y);
                if (p.a > 200 && p.r > 200 && p.g > 220 && p.b > 180) {
                    sx += x + 0.5;
                    sy += y + 0.5;
                    ++n;
                }
            }
        EXPECT_GT(n, 0) << frame;
        return std::pair{n ? sx / n - kKnobSize / 2.0 : 0.0, n ? sy / n - 21.0 : 0.0};
    };
    const auto [x0, y0] = pointer(0);
    const auto [xm, ym] = pointer(kKnobFrames / 2);
    const auto [x1, y1] = pointer(kKnobFrames - 1);
    EXPECT_LT(x0, -2.0);
    EXPECT_GT(y0, 2.0);
    EXPECT_NEAR(xm, 0.0, 1.0);
    EXPECT_LT(ym, -2.0);
    EXPECT_GT(x1, 2.0);
    EXPECT_GT(y1, 2.0);
    EXPECT_NEAR(x0, -x1, 1.0);
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        const int top = frame * kKnobSize;
        EXPECT_EQ(pixel(knob.get(), 0, top).a, 0) << frame;
        EXPECT_EQ(pixel(knob.get(), kKnobSize - 1, top + kKnobSize - 1).a, 0) << frame;
        EXPECT_GT(pixel(knob.get(), kKnobSize / 2, top + 21).a, 0) << frame;
    }
}

TEST(EmbeddedResources, RockerFramesShowWhichHalfIsPressed)
{
    Surface rocker = decode(kRockerResource);
    ASSERT_TRUE(rocker);
    const int s = kRockerSize;
    EXPECT_FALSE(sameArea(rocker.get(), 0, 0, rocker.get(), 0, s, s, s));
    EXPECT_FALSE(sameArea(rocker.get(), 0, s, rocker.get(), 0, 2 * s, s, s));
    EXPECT_FALSE(sameArea(rocker.get(), 0, 0, rocker.get(), 0, 2 * s, s, s));
    // Sample each half away from its arrow.
    auto upper = [&](int frame) { return pixel(rocker.get(), 3, frame * s + 4); };
    auto lower = [&](int frame) { return pixel(rocker.get(), 3, frame * s + s - 5); };
    EXPECT_EQ(upper(0), Green);
    EXPECT_EQ(lower(0), DarkGreen);
    EXPECT_EQ(upper(1), DarkGreen);
    EXPECT_EQ(lower(1), DarkGreen);
    EXPECT_EQ(upper(2), DarkGreen);
    EXPECT_EQ(lower(2), Green);
}

TEST(EmbeddedResources, BackgroundFollowsTheLayout)
{
    Surface bg = decode(kBackgroundResource);
    ASSERT_TRUE(bg);
    // Title bars are green where the layout puts them, away from their text.
    for (const auto& step : controlLayout()) {
        if (step.kind != LayoutKind::TitleBar || step.parent != LayoutParent::Frame) continue;
        EXPECT_EQ(pixel(bg.get(), step.x + 2, step.y + 2), Green) << step.text;
        EXPECT_EQ(pixel(bg.get(), step.x + step.w - 3, step.y + step.h - 3), Green) << step.text;
    }
    EXPECT_EQ(pixel(bg.get(), 0, 0), Black);
    EXPECT_EQ(pixel(bg.get(), kBackgroundWidth - 1, kBackgroundHeight - 1), Black);
}

TEST(EmbeddedResources, NothingIsPrintedUnderValueFields)
{
    // Sliders, text fields, rockers and menus are opaque; anything drawn under them would
    // be hidden, or show through the transparent detailed page.
    Surface bg = decode(kBackgroundResource);
    Surface tab = decode(kShufflerPageResource);
    ASSERT_TRUE(bg && tab);
    for (const auto& step : controlLayout()) {
        if (step.kind != LayoutKind::Slider && step.kind != LayoutKind::Stepper && step.kind != LayoutKind::OptionMenu)
            continue;
        const FrameRect r = frameRectOf(step);
        if (step.parent == LayoutParent::ShufflerPage0)
            EXPECT_TRUE(allOf(tab.get(), {step.x, step.y, step.w, step.h}, Black)) << step.tag;
        else
            EXPECT_TRUE(allOf(bg.get(), r, Black)) << step.tag;
    }
}

TEST(EmbeddedResources, ButtonsSitOnPlainGround)
{
    // A button lies either on black or wholly on a title bar, never on printed text.
    Surface bg = decode(kBackgroundResource);
    ASSERT_TRUE(bg);
    for (const auto& step : controlLayout()) {
        if (step.kind != LayoutKind::OnOffButton && step.kind != LayoutKind::KickButton) continue;
        const FrameRect r = frameRectOf(step);
        EXPECT_TRUE(allOf(bg.get(), r, Black) || allOf(bg.get(), r, Green)) << step.tag;
    }
}

TEST(EmbeddedResources, SimplePageContinuesThePanelAroundIt)
{
    Surface bg = decode(kBackgroundResource);
    Surface tab = decode(kShufflerPageResource);
    ASSERT_TRUE(bg && tab);
    const FrameRect page = kShufflerPageRect;
    // The panel's right border and the area under the SimpleMode button match on both bitmaps.
    EXPECT_TRUE(sameArea(bg.get(), page.x + page.w - 3, page.y, tab.get(), page.w - 3, 0, 3, page.h));
    EXPECT_TRUE(sameArea(bg.get(), 700, 525, tab.get(), 700 - page.x, 525 - page.y, 75, 21));
    EXPECT_FALSE(sameArea(bg.get(), page.x, page.y, tab.get(), 0, 0, page.w, page.h));
}
