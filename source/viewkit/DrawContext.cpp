#include "viewkit/DrawContext.h"
#include "viewkit/PlatformWindow.h"
#include "viewkit/Gradient.h"
#include "viewkit/GraphicsPath.h"

#include <cairo.h>
#include <string>

namespace viewkit {

CDrawContext::CDrawContext(cairo_t* c, const CRect& surfaceRect, double scale)
    : cr(c), scaleFactor(scale > 0 ? scale : 1.0)
{
    cairo_save(cr);
    state.clip = surfaceRect;
    setClipRect(surfaceRect);
    if (kNormalFont) kNormalFont->remember();
}

CDrawContext::~CDrawContext()
{
    while (!stack.empty()) restoreGlobalState();
    cairo_restore(cr);
    if (kNormalFont) kNormalFont->forget();
}

void CDrawContext::setFont(CFontRef font)
{
    state.font = font ? font : kNormalFont;
}

void CDrawContext::setClipRect(const CRect& r)
{
    // Clips only narrow; restoreGlobalState widens them again.
    state.clip.bound(r);
    cairo_new_path(cr);
    cairo_rectangle(cr, state.clip.left, state.clip.top, state.clip.getWidth(), state.clip.getHeight());
    cairo_clip(cr);
}

CRect CDrawContext::getClipRect() const
{
    return state.clip;
}

void CDrawContext::saveGlobalState()
{
    stack.push_back(state);
    cairo_save(cr);
}

void CDrawContext::restoreGlobalState()
{
    if (stack.empty()) return;
    state = stack.back();
    stack.pop_back();
    cairo_restore(cr);
}

void CDrawContext::translate(CCoord dx, CCoord dy)
{
    cairo_translate(cr, dx, dy);
    state.origin.offset(dx, dy);
    state.clip.offset(-dx, -dy);
}

void CDrawContext::setSourceColor(const CColor& c)
{
    cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0 * state.alpha);
}

void CDrawContext::applyLineSettings()
{
    cairo_set_line_width(cr, state.lineWidth > 0 ? state.lineWidth : getHairlineSize());
    cairo_set_antialias(cr, state.drawMode == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    if (state.lineStyle == kLineOnOffDash) {
        const double dash[] = {state.lineWidth, state.lineWidth};
        cairo_set_dash(cr, dash, 2, 0);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void CDrawContext::drawLine(const CPoint& p1, const CPoint& p2)
{
    applyLineSettings();
    cairo_new_path(cr);
    cairo_move_to(cr, p1.x, p1.y);
    cairo_line_to(cr, p2.x, p2.y);
    setSourceColor(state.frameColor);
    cairo_stroke(cr);
}

void CDrawContext::drawRect(const CRect& r, CDrawStyle style)
{
    applyLineSettings();
    cairo_new_path(cr);
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    if (style != kDrawStroked) {
        setSourceColor(state.fillColor);
        cairo_fill_preserve(cr);
    }
    if (style != kDrawFilled) {
        setSourceColor(state.frameColor);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

void CDrawContext::drawEllipse(const CRect& r, CDrawStyle style)
{
    CGraphicsPath path;
    path.addEllipse(r);
    if (style != kDrawStroked) drawGraphicsPath(&path, kPathFilled);
    if (style != kDrawFilled) drawGraphicsPath(&path, kPathStroked);
}

void CDrawContext::selectFont()
{
    CFontRef font = state.font ? state.font : kNormalFont;
    cairo_select_font_face(cr, platformFontFamily(font->getName().c_str()),
                           (font->getStyle() & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (font->getStyle() & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font->getSize());
}

CCoord CDrawContext::getStringWidth(std::string_view text)
{
    const std::string s(text);
    selectFont();
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

void CDrawContext::drawString(std::string_view text, const CRect& r, CHoriTxtAlign align, bool antialias)
{
    if (text.empty() || r.isEmpty()) return;
    const std::string s(text);
    selectFont();
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);
    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.getWidth() - ext.x_advance) / 2;
    else if (align == kRightText)
        x = r.right - ext.x_advance;
    // Baseline sits half a cap height below the middle, so the text looks centred.
    const double y = r.top + r.getHeight() / 2 + (-cap.y_bearing) / 2;
    cairo_save(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    setSourceColor(state.fontColor);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);
    cairo_restore(cr);
}

CGraphicsPath* CDrawContext::createGraphicsPath()
{
    return new CGraphicsPath;
}

CGraphicsPath* CDrawContext::createRoundRectGraphicsPath(const CRect& r, CCoord radius)
{
    auto* path = new CGraphicsPath;
    path->addRoundRect(r, radius);
    return path;
}

void CDrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode)
{
    if (!path) return;
    applyLineSettings();
    path->apply(cr);
    if (mode == kPathStroked) {
        setSourceColor(state.frameColor);
        cairo_stroke(cr);
    } else {
        cairo_set_fill_rule(cr, mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        setSourceColor(state.fillColor);
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    }
}

void CDrawContext::fillLinearGradient(CGraphicsPath* path, const CGradient& gradient, const CPoint& start,
                                      const CPoint& end, bool evenOdd)
{
    if (!path) return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    for (const auto& [offset, c] : gradient.getColorStops()) {
        cairo_pattern_add_color_stop_rgba(pattern, offset, c.red / 255.0, c.green / 255.0, c.blue / 255.0,
                                          c.alpha / 255.0 * state.alpha);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    applyLineSettings();
    path->apply(cr);
    cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_pattern_destroy(pattern);
}

} // namespace viewkit
