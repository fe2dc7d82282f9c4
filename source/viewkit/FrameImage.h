#pragma once
#include "viewkit/Frame.h"

typedef struct _cairo_surface cairo_surface_t;

namespace viewkit {

// The memory image a frame's window shows: views draw into it at the frame's
// scale (exactly what an offscreen rendering shows), and the window system
// copies the painted part into the window.
class FrameImage {
public:
    FrameImage() = default;
    ~FrameImage();
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    // A rectangle of pixels.
    struct Area {
        int x = 0, y = 0, width = 0, height = 0;
    };

    // Paints the window pixels left..right, top..bottom of `frame`, clipped to
    // its size; false when there is nothing to copy. `painted` gets the area.
    bool paint(CFrame& frame, int left, int top, int right, int bottom, Area& painted);

    // RGB24 pixels, valid after a successful paint.
    unsigned char* data() const;
    int stride() const;

private:
    cairo_surface_t* surface = nullptr;
};

} // namespace viewkit
