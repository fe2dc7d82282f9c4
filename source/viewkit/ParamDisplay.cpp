#include "viewkit/ParamDisplay.h"
#include "viewkit/DrawContext.h"
#include "viewkit/GraphicsPath.h"
#include "viewkit/Bitmap.h"

#include <cstdio>

namespace viewkit {

CParamDisplay::CParamDisplay(const CRect& r, CBitmap* bg, int32_t s) : CControl(r, nullptr, -1, bg), style(s)
{
    setFont(kNormalFont);
}

CParamDisplay::~CParamDisplay()
{
    if (font) font->forget();
}

void CParamDisplay::setFont(CFontRef f)
{
    if (f) f->remember();
    if (font) font->forget();
    font = f;
    setDirty();
}

std::string CParamDisplay::formatValue(float v)
{
    char buffer[256] = {};
    if (valueToString && valueToString(v, buffer, this)) {
        buffer[255] = 0;
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(precision), static_cast<double>(v));
    return buffer;
}

CMouseEventResult CParamDisplay::onMouseDown(CPoint&, const CButtonState&)
{
    return kMouseEventNotHandled;
}

void CParamDisplay::drawBack(CDrawContext* context)
{
    if (background) {
        background->draw(context, size);
        return;
    }
    if (getTransparency()) return;
    const bool framed = !(style & (k3DIn | k3DOut | kNoFrame));
    const CCoord lineWidth = frameWidth < 0 ? context->getHairlineSize() : frameWidth;
    context->setDrawMode(kAliasing);
    context->setLineWidth(lineWidth);
    context->setFillColor(backColor);
    context->setFrameColor(frameColor);
    // Stroke half a line inside, so a 1 px frame covers exactly the outer pixel ring.
    CRect r = size;
    if (framed) r.inset(lineWidth / 2, lineWidth / 2);
    if (style & kRoundRectStyle) {
        context->setDrawMode(kAntiAliasing);
        CGraphicsPath* path = context->createRoundRectGraphicsPath(r, roundRectRadius);
        context->drawGraphicsPath(path, CDrawContext::kPathFilled);
        if (framed) context->drawGraphicsPath(path, CDrawContext::kPathStroked);
        path->forget();
    } else {
        context->drawRect(size, kDrawFilled);
        if (framed) context->drawRect(r, kDrawStroked);
    }
    if (style & (k3DIn | k3DOut)) {
        const CColor topLeft = (style & k3DOut) ? frameColor : backColor;
        const CColor bottomRight = (style & k3DOut) ? backColor : frameColor;
        const CRect e = CRect(size).inset(0.5, 0.5);
        context->setFrameColor(topLeft);
        context->drawLine({e.left, e.bottom}, {e.left, e.top});
        context->drawLine({e.left, e.top}, {e.right, e.top});
        context->setFrameColor(bottomRight);
        context->drawLine({e.right, e.top}, {e.right, e.bottom});
        context->drawLine({e.right, e.bottom}, {e.left, e.bottom});
    }
}

void CParamDisplay::drawPlatformText(CDrawContext* context, const std::string& text)
{
    if (style & kNoTextStyle || text.empty()) return;
    CRect textRect = size;
    textRect.inset(textInset.x, textInset.y);
    context->saveGlobalState();
    context->setClipRect(textRect);
    context->setFont(font);
    if (style & kShadowText) {
        context->setFontColor(shadowColor);
        context->drawString(text, CRect(textRect).offset(1, 1), horiAlign, antialias);
    }
    context->setFontColor(fontColor);
    context->drawString(text, textRect, horiAlign, antialias);
    context->restoreGlobalState();
}

void CParamDisplay::draw(CDrawContext* context)
{
    if (!(style & kNoDrawStyle)) {
        drawBack(context);
        drawPlatformText(context, formatValue(value));
    }
    setDirty(false);
}

CTextLabel::CTextLabel(const CRect& r, const char* txt, CBitmap* bg, int32_t s) : CParamDisplay(r, bg, s)
{
    if (txt) text = txt;
}

void CTextLabel::setText(const std::string& txt)
{
    if (txt == text) return;
    text = txt;
    setDirty();
}

void CTextLabel::draw(CDrawContext* context)
{
    if (!(style & kNoDrawStyle)) {
        drawBack(context);
        drawPlatformText(context, text);
    }
    setDirty(false);
}

} // namespace viewkit
