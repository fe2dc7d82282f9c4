#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"

#include <cairo.h>
#include <cmath>
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
    if (!resourceLookup()) return;
    adopt(decode(resourceLookup()(resourceName)));
    if (!surface) return;
    for (const double scale : kBitmapResolutions) resolutions.push_back({scale});
}

CBitmap::CBitmap(const uint8_t* pngData, size_t size)
{
    if (pngData) adopt(decode({pngData, size}));
}

CBitmap::~CBitmap()
{
    if (surface) cairo_surface_destroy(surface);
    for (const Resolution& r : resolutions)
        if (r.surface) cairo_surface_destroy(r.surface);
}

cairo_surface_t* CBitmap::decode(std::span<const uint8_t> bytes)
{
    if (bytes.empty()) return nullptr;
    PngReader reader{bytes};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

void CBitmap::adopt(cairo_surface_t* plain)
{
    if (!plain) return;
    surface = plain;
    width = cairo_image_surface_get_width(plain);
    height = cairo_image_surface_get_height(plain);
}

cairo_surface_t* CBitmap::load(Resolution& r)
{
    if (r.looked) return r.surface;
    r.looked = true;
    if (!resourceLookup()) return nullptr;
    cairo_surface_t* s = decode(resourceLookup()(scaledResourceName(resourceName, r.scale)));
    if (!s) return nullptr;
    // Only a version of the plain one's size times its scale can stand in for it.
    if (cairo_image_surface_get_width(s) != static_cast<int>(std::ceil(width * r.scale)) ||
        cairo_image_surface_get_height(s) != static_cast<int>(std::ceil(height * r.scale))) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_set_device_scale(s, r.scale, r.scale);
    r.surface = s;
    return s;
}

cairo_surface_t* CBitmap::surfaceFor(double scale)
{
    if (scale <= 1.0) return surface;
    // The coarsest version not coarser than the screen (cairo makes it smaller),
    // else the finest there is (cairo makes it larger).
    for (Resolution& r : resolutions)
        if (r.scale >= scale)
            if (cairo_surface_t* s = load(r)) return s;
    for (auto r = resolutions.rbegin(); r != resolutions.rend(); ++r)
        if (r->scale < scale)
            if (cairo_surface_t* s = load(*r)) return s;
    return surface;
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha)
{
    if (!surface || !context || dest.isEmpty()) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surfaceFor(context->getScaleFactor()), dest.left - offset.x, dest.top - offset.y);
    cairo_paint_with_alpha(cr, alpha * context->getGlobalAlpha());
    cairo_restore(cr);
}

} // namespace viewkit
