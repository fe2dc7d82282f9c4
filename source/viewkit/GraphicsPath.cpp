#include "viewkit/GraphicsPath.h"

#include <cairo.h>
#include <numbers>

namespace viewkit {

namespace {
constexpr double toRadians(double deg)
{
    return deg * std::numbers::pi / 180.0;
}
} // namespace

void CGraphicsPath::addRect(const CRect& r)
{
    beginSubpath(r.getTopLeft());
    addLine({r.right, r.top});
    addLine({r.right, r.bottom});
    addLine({r.left, r.bottom});
    closeSubpath();
}

void CGraphicsPath::addRoundRect(const CRect& r, CCoord radius)
{
    if (radius <= 0) return addRect(r);
    // Clockwise from the top edge near the right corner, one quarter arc per corner.
    beginSubpath({r.right - radius, r.top});
    addArc({r.right - 2 * radius, r.top, r.right, r.top + 2 * radius}, 270, 360, true);
    addArc({r.right - 2 * radius, r.bottom - 2 * radius, r.right, r.bottom}, 0, 90, true);
    addArc({r.left, r.bottom - 2 * radius, r.left + 2 * radius, r.bottom}, 90, 180, true);
    addArc({r.left, r.top, r.left + 2 * radius, r.top + 2 * radius}, 180, 270, true);
    closeSubpath();
}

void CGraphicsPath::addEllipse(const CRect& r)
{
    elements.push_back({Op::Ellipse, r});
}

void CGraphicsPath::addArc(const CRect& r, double startAngle, double endAngle, bool clockwise)
{
    elements.push_back({Op::Arc, r, startAngle, endAngle, clockwise});
}

void CGraphicsPath::beginSubpath(const CPoint& p)
{
    elements.push_back({Op::Move, CRect(p.x, p.y, p.x, p.y)});
}
void CGraphicsPath::addLine(const CPoint& p)
{
    elements.push_back({Op::Line, CRect(p.x, p.y, p.x, p.y)});
}
void CGraphicsPath::closeSubpath()
{
    elements.push_back({Op::Close, {}});
}

void CGraphicsPath::apply(cairo_t* cr) const
{
    cairo_new_path(cr);
    for (const Element& e : elements) {
        switch (e.op) {
        case Op::Move: cairo_move_to(cr, e.rect.left, e.rect.top); break;
        case Op::Line: cairo_line_to(cr, e.rect.left, e.rect.top); break;
        case Op::Close: cairo_close_path(cr); break;
        case Op::Arc:
        case Op::Ellipse: {
            const double w = e.rect.getWidth(), h = e.rect.getHeight();
            if (w <= 0 || h <= 0) break;
            cairo_save(cr);
            cairo_translate(cr, e.rect.left + w / 2, e.rect.top + h / 2);
            cairo_scale(cr, w / 2, h / 2);
            if (e.op == Op::Ellipse) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
                cairo_close_path(cr);
            } else if (e.clockwise) {
                cairo_arc(cr, 0, 0, 1, toRadians(e.a1), toRadians(e.a2));
            } else {
                cairo_arc_negative(cr, 0, 0, 1, toRadians(e.a1), toRadians(e.a2));
            }
            cairo_restore(cr);
            break;
        }
        }
    }
}

} // namespace viewkit
