#pragma once
// Builds PNG bytes in memory, so tests need no files: film strips whose frames
// are solid colours that tell which frame was drawn.
#include "viewkit/Color.h"

#include <cairo.h>
#include <cstdint>
#include <vector>

namespace viewkit::test {

inline std::vector<uint8_t> makeStripPng(int width, int frameHeight, const std::vector<CColor>& frameColors)
{
    const int frames = static_cast<int>(frameColors.size());
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, frameHeight * frames);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < frames; ++i) {
        const CColor& c = frameColors[static_cast<size_t>(i)];
        cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
        cairo_rectangle(cr, 0, i * frameHeight, width, frameHeight);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    std::vector<uint8_t> bytes;
    cairo_surface_write_to_png_stream(
        s,
        [](void* closure, const unsigned char* data, unsigned int length) {
            auto* out = static_cast<std::vector<uint8_t>*>(closure);
            out->insert(out->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    cairo_surface_destroy(s);
    return bytes;
}

// Frame i of a knob strip has red = i * 8, so the drawn frame can be read back.
inline std::vector<CColor> knobFrameColors(int frames)
{
    std::vector<CColor> colors;
    for (int i = 0; i < frames; ++i) colors.emplace_back(static_cast<uint8_t>(i * 8), 200, 50);
    return colors;
}

} // namespace viewkit::test
