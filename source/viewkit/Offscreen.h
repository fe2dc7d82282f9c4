#pragma once
#include "viewkit/Color.h"
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace viewkit {

class CFrame;

// A frame rendered into memory, no display needed: read pixels or save a PNG.
class OffscreenImage {
public:
    // Paints the whole frame (background, then every visible view) at the
    // frame's scale factor: a frame scaled by 2 gives twice the pixels each way.
    static OffscreenImage render(CFrame* frame);

    OffscreenImage() = default;
    ~OffscreenImage();
    OffscreenImage(OffscreenImage&& other) noexcept;
    OffscreenImage& operator=(OffscreenImage&& other) noexcept;
    OffscreenImage(const OffscreenImage&) = delete;
    OffscreenImage& operator=(const OffscreenImage&) = delete;

    int width() const;
    int height() const;
    // Un-premultiplied colour; transparent black outside the image.
    CColor pixel(int x, int y) const;
    bool writePng(const std::string& path) const;

private:
    cairo_surface_t* surface = nullptr;
};

} // namespace viewkit
