#include "viewkit/DrawMethods.h"
#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"

#include <cairo.h>

namespace viewkit {

void CDrawMethods::drawIconAndText(CDrawContext* context, CBitmap* icon, IconPosition iconPosition,
                                   CHoriTxtAlign textAlignment, CCoord textMargin, const CRect& rect,
                                   std::string_view title, CFontRef font, const CColor& textColor)
{
    if (!context) return;
    CRect textRect = rect;
    if (icon && icon->isLoaded()) {
        const CCoord w = icon->getWidth(), h = icon->getHeight();
        CRect iconRect(0, 0, w, h);
        switch (iconPosition) {
        case kIconLeft:
            iconRect.offset(rect.left + textMargin, rect.top + (rect.getHeight() - h) / 2);
            textRect.left = iconRect.right;
            break;
        case kIconRight:
            iconRect.offset(rect.right - textMargin - w, rect.top + (rect.getHeight() - h) / 2);
            textRect.right = iconRect.left;
            break;
        case kIconCenterAbove:
            iconRect.offset(rect.left + (rect.getWidth() - w) / 2, rect.top + textMargin);
            textRect.top = iconRect.bottom;
            break;
        case kIconCenterBelow:
            iconRect.offset(rect.left + (rect.getWidth() - w) / 2, rect.bottom - textMargin - h);
            textRect.bottom = iconRect.top;
            break;
        }
        icon->draw(context, iconRect);
    }
    if (title.empty()) return;
    if (textAlignment == kLeftText)
        textRect.left += textMargin;
    else if (textAlignment == kRightText)
        textRect.right -= textMargin;
    context->saveGlobalState();
    context->setClipRect(rect);
    context->setFont(font);
    context->setFontColor(textColor);
    context->drawString(title, textRect, textAlignment);
    context->restoreGlobalState();
}

CCoord measureStringWidth(CFontRef font, std::string_view text)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    CCoord width = 0;
    {
        CDrawContext context(cr, CRect(0, 0, 1, 1));
        context.setFont(font);
        width = context.getStringWidth(text);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return width;
}

} // namespace viewkit
