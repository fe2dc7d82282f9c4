#include "viewkit/Offscreen.h"
#include "viewkit/Frame.h"

#include <cairo.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace viewkit {

OffscreenImage OffscreenImage::render(CFrame* frame)
{
    OffscreenImage image;
    if (!frame) return image;
    const CRect r = frame->getViewSize();
    // At the frame's scale factor: the image has that many pixels per unit.
    const double scale = frame->getScaleFactor();
    const int w = std::max(0, static_cast<int>(std::ceil(r.getWidth() * scale)));
    const int h = std::max(0, static_cast<int>(std::ceil(r.getHeight() * scale)));
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return image;
    }
    image.surface = s;
    if (w == 0 || h == 0) return image;
    cairo_surface_set_device_scale(s, scale, scale);
    cairo_t* cr = cairo_create(s);
    frame->paint(cr, r);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return image;
}

OffscreenImage::~OffscreenImage()
{
    if (surface) cairo_surface_destroy(surface);
}

OffscreenImage::OffscreenImage(OffscreenImage&& other) noexcept : surface(std::exchange(other.surface, nullptr)) {}

OffscreenImage& OffscreenImage::operator=(OffscreenImage&& other) noexcept
{
    if (this != &other) {
        if (surface) cairo_surface_destroy(surface);
        surface = std::exchange(other.surface, nullptr);
    }
    return *this;
}

int OffscreenImage::width() const
{
    return surface ? cairo_image_surface_get_width(surface) : 0;
}
int OffscreenImage::height() const
{
    return surface ? cairo_image_surface_get_height(surface) : 0;
}

CColor OffscreenImage::pixel(int x, int y) const
{
    if (!surface || x < 0 || y < 0 || x >= width() || y >= height()) return CColor(0, 0, 0, 0);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t argb = 0;
    std::memcpy(&argb, row + 4 * x, 4);
    const uint8_t a = argb >> 24;
    auto unpremultiply = [a](uint32_t c) -> uint8_t {
        return a == 0 ? 0 : static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return CColor(unpremultiply((argb >> 16) & 0xFF), unpremultiply((argb >> 8) & 0xFF), unpremultiply(argb & 0xFF), a);
}

bool OffscreenImage::writePng(const std::string& path) const
{
    if (!surface || width() == 0 || height() == 0) return false;
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace viewkit
