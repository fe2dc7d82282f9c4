#include "viewkit/FrameImage.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace viewkit {

FrameImage::~FrameImage()
{
    if (surface) cairo_surface_destroy(surface);
}

bool FrameImage::paint(CFrame& frame, int left, int top, int right, int bottom, Area& painted)
{
    const CRect frameRect = frame.getViewSize();
    const double scale = frame.getScaleFactor();
    const int w = static_cast<int>(std::ceil(frameRect.getWidth() * scale));
    const int h = static_cast<int>(std::ceil(frameRect.getHeight() * scale));
    if (w <= 0 || h <= 0) return false;
    if (!surface || cairo_image_surface_get_width(surface) != w || cairo_image_surface_get_height(surface) != h) {
        if (surface) cairo_surface_destroy(surface);
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    }
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return false;
    // Views draw in their own units; the image's device scale turns them into pixels.
    cairo_surface_set_device_scale(surface, scale, scale);
    const int x0 = std::clamp(left, 0, w), y0 = std::clamp(top, 0, h);
    const int x1 = std::clamp(right, 0, w), y1 = std::clamp(bottom, 0, h);
    if (x1 <= x0 || y1 <= y0) return false;
    cairo_t* cr = cairo_create(surface);
    frame.paint(cr, CRect(x0 / scale, y0 / scale, x1 / scale, y1 / scale));
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    painted = {x0, y0, x1 - x0, y1 - y0};
    return true;
}

unsigned char* FrameImage::data() const
{
    return surface ? cairo_image_surface_get_data(surface) : nullptr;
}

int FrameImage::stride() const
{
    return surface ? cairo_image_surface_get_stride(surface) : 0;
}

} // namespace viewkit
