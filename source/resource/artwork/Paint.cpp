#include "resource/artwork/Paint.h"

#include <cmath>
#include <string>

namespace vexbit::art {

void setColour(cairo_t* cr, Rgba c, double alphaScale)
{
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0 * alphaScale);
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void strokeRect(cairo_t* cr, FrameRect rect, Rgba colour, double radius, double lineWidth)
{
    const double inset = lineWidth / 2;
    roundedRectPath(cr, rect.x + inset, rect.y + inset, rect.w - lineWidth, rect.h - lineWidth, radius);
    setColour(cr, colour);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void fillRect(cairo_t* cr, FrameRect rect, Rgba colour)
{
    cairo_rectangle(cr, rect.x, rect.y, rect.w, rect.h);
    setColour(cr, colour);
    cairo_fill(cr);
}

namespace {
void selectFont(cairo_t* cr, double size, bool bold)
{
    cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}
} // namespace

double textWidth(cairo_t* cr, std::string_view text, double size, bool bold)
{
    selectFont(cr, size, bold);
    const std::string s(text);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

void drawText(cairo_t* cr, std::string_view text, double x, double centreY, double size, Rgba colour, Align align,
              bool bold)
{
    const std::string s(text);
    const double width = textWidth(cr, text, size, bold);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    double left = x;
    if (align == Align::Centre)
        left = x - width / 2;
    else if (align == Align::Right)
        left = x - width;
    const double baseline = centreY + (font.ascent - font.descent) / 2;
    cairo_move_to(cr, std::round(left), std::round(baseline));
    setColour(cr, colour);
    cairo_show_text(cr, s.c_str());
}

} // namespace vexbit::art
