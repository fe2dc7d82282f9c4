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
