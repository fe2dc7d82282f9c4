#include <cmath>

#include "resource/artwork/Artwork.h"
#include "editor/layout/EditorGeometry.h"
#include "resource/artwork/Paint.h"

namespace vexbit::art {

// The dial sits in the upper part of the 50 x 50 frame: the stepper below a knob covers
// its bottom ten pixels.
void drawKnobFrame(cairo_t* cr, int frame, int frameCount)
{
    constexpr double cx = kKnobSize / 2.0;
    constexpr double cy = 21.0;
    constexpr double trackRadius = 16.5;
    constexpr double bodyRadius = 12.0;
    // Clockwise from seven o'clock to five o'clock; cairo angles grow clockwise from three o'clock.
    constexpr double start = 2.0 * M_PI / 3.0;
    constexpr double sweep = 5.0 * M_PI / 3.0;
    const double position = frameCount > 1 ? static_cast<double>(frame) / (frameCount - 1) : 0.0;
    const double angle = start + sweep * position;

    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 3.0);
    cairo_arc(cr, cx, cy, trackRadius, start, start + sweep);
    setColour(cr, DarkGreen);
    cairo_stroke(cr);
    if (position > 0.0) {
        cairo_arc(cr, cx, cy, trackRadius, start, angle);
        setColour(cr, Green);
        cairo_stroke(cr);
    }

    cairo_pattern_t* shade = cairo_pattern_create_linear(cx, cy - bodyRadius, cx, cy + bodyRadius);
    cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.20, 0.30, 0.10);
    cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.05, 0.08, 0.02);
    cairo_arc(cr, cx, cy, bodyRadius, 0, 2 * M_PI);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    setColour(cr, Green);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, cx + std::cos(angle) * 3.0, cy + std::sin(angle) * 3.0);
    cairo_line_to(cr, cx + std::cos(angle) * (bodyRadius - 1.5), cy + std::sin(angle) * (bodyRadius - 1.5));
    setColour(cr, LightGreen);
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace vexbit::art
