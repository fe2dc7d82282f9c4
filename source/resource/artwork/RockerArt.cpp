#include "resource/artwork/Artwork.h"
#include "editor/layout/EditorGeometry.h"
#include "resource/artwork/Paint.h"

namespace vexbit::art {
namespace {

void drawArrow(cairo_t* cr, double centreY, bool up, Rgba colour)
{
    constexpr double cx = kRockerSize / 2.0;
    const double tip = up ? -2.5 : 2.5;
    cairo_move_to(cr, cx, centreY + tip);
    cairo_line_to(cr, cx - 4.0, centreY - tip);
    cairo_line_to(cr, cx + 4.0, centreY - tip);
    cairo_close_path(cr);
    setColour(cr, colour);
    cairo_fill(cr);
}

} // namespace

void drawRockerFrame(cairo_t* cr, int frame)
{
    constexpr int half = kRockerSize / 2;
    const bool upperPressed = frame == 0;
    const bool lowerPressed = frame == 2;

    // A green rim around two halves split by a black seam.
    roundedRectPath(cr, 0, 0, kRockerSize, kRockerSize, 2.0);
    setColour(cr, Green);
    cairo_fill(cr);
    fillRect(cr, {1, 1, kRockerSize - 2, half - 1}, upperPressed ? Green : DarkGreen);
    fillRect(cr, {1, half, kRockerSize - 2, 1}, Black);
    fillRect(cr, {1, half + 1, kRockerSize - 2, kRockerSize - half - 2}, lowerPressed ? Green : DarkGreen);
    drawArrow(cr, half / 2.0 + 0.5, true, upperPressed ? Black : PaleGreen);
    drawArrow(cr, half + 1 + (kRockerSize - half - 2) / 2.0, false, lowerPressed ? Black : PaleGreen);
}

} // namespace vexbit::art
