#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"

#include <cairo.h>
#include <cstring>

namespace viewkit {

namespace {
ResourceLookup& resourceLookup()
{
    static ResourceLookup lookup;
    return lookup;
}

struct PngReader {
    std::span<const uint8_t> bytes;
    size_t pos = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length)
{
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->pos < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->pos, length);
    reader->pos += length;
    return CAIRO_STATUS_SUCCESS;
}
} // namespace

void setResourceLookup(ResourceLookup lookup)
{
    resourceLookup() = std::move(lookup);
}

CBitmap::CBitmap(const CResourceDescription& desc) : resourceName(desc.name)
{
    if (resourceLookup()) decode(resourceLookup()(resourceName));
}

CBitmap::CBitmap(const uint8_t* pngData, size_t size)
{
    if (pngData) decode({pngData, size});
}

CBitmap::~CBitmap()
{
    if (surface) cairo_surface_destroy(surface);
}

void CBitmap::decode(std::span<const uint8_t> bytes)
{
    if (bytes.empty()) return;
    PngReader reader{bytes};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    surface = s;
    width = cairo_image_surface_get_width(s);
    height = cairo_image_surface_get_height(s);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha)
{
    if (!surface || !context || dest.isEmpty()) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface, dest.left - offset.x, dest.top - offset.y);
    cairo_paint_with_alpha(cr, alpha * context->getGlobalAlpha());
    cairo_restore(cr);
}

} // namespace viewkit
