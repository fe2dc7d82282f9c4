#pragma once

#include <cairo.h>

#include <string_view>

#include "editor/layout/ControlLayout.h"
#include "editor/layout/EditorColours.h"

namespace vexbit::art {

inline constexpr const char* kFontFamily = "Liberation Sans";

void setColour(cairo_t* cr, Rgba colour, double alphaScale = 1.0);
void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);
// Outline on the pixel grid so one-pixel lines stay sharp.
void strokeRect(cairo_t* cr, FrameRect rect, Rgba colour, double radius, double lineWidth = 1.0);
void fillRect(cairo_t* cr, FrameRect rect, Rgba colour);

enum class Align { Left, Centre, Right };
// Draws text with its vertical middle on centreY.
void drawText(cairo_t* cr, std::string_view text, double x, double centreY, double size, Rgba colour,
              Align align = Align::Left, bool bold = false);
double textWidth(cairo_t* cr, std::string_view text, double size, bool bold = false);

} // namespace vexbit::art
