#include "viewkit/Slider.h"
#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"

#include <algorithm>

namespace viewkit {

CHorizontalSlider::CHorizontalSlider(const CRect& r, IControlListener* l, int32_t t, int32_t iMinPos, int32_t iMaxPos,
                                     CBitmap* h, CBitmap* bg, const CPoint& offset, int32_t s)
    : CControl(r, l, t, bg), handle(h), travel(iMaxPos - iMinPos), handleOffset(offset), minPos(iMinPos),
      style(s | kHorizontal)
{
    if (handle) {
        handle->remember();
        handleWidth = handle->getWidth();
        handleHeight = handle->getHeight();
    }
    setWantsFocus(true);
}

CHorizontalSlider::~CHorizontalSlider()
{
    if (handle) handle->forget();
}

float CHorizontalSlider::positionAt(CCoord x) const
{
    if (travel <= 0) return 0;
    const double n = (x - (size.left + handleOffset.x + handleWidth / 2 - 1)) / travel;
    return static_cast<float>(std::clamp(n, 0.0, 1.0));
}

void CHorizontalSlider::setNormalizedAndReport(float n)
{
    if (style & kRight) n = 1.f - n;
    const float before = value;
    setValueNormalized(n);
    if (value != before) reportValueChange();
}

CMouseEventResult CHorizontalSlider::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    ScopedRef<CHorizontalSlider> keep(this);
    if (buttons.getModifierState() == kDefaultValueModifier) {
        if (value != defaultValue) {
            beginEdit();
            setValue(defaultValue);
            reportValueChange();
            endEdit();
        }
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    beginEdit();
    beginDrag();
    fine = (buttons & kZoomModifier) != 0;
    if (fine) {
        fineBaseValue = getValueNormalized();
        fineBasePos = positionAt(where.x);
    } else {
        setNormalizedAndReport(positionAt(where.x));
    }
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSlider::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isDragging()) return kMouseEventNotHandled;
    ScopedRef<CHorizontalSlider> keep(this);
    const bool nowFine = (buttons & kZoomModifier) != 0;
    const float pos = positionAt(where.x);
    if (nowFine && !fine) {
        fineBaseValue = getValueNormalized();
        fineBasePos = pos;
    }
    fine = nowFine;
    if (fine) {
        float delta = (pos - fineBasePos) / zoomFactor;
        if (style & kRight) delta = -delta;
        float n = std::clamp(fineBaseValue + delta, 0.f, 1.f);
        if (style & kRight) n = 1.f - n; // undone by setNormalizedAndReport
        setNormalizedAndReport(n);
    } else {
        setNormalizedAndReport(pos);
    }
    return kMouseEventHandled;
}

void CHorizontalSlider::stepBy(float delta)
{
    ScopedRef<CHorizontalSlider> keep(this);
    if (style & kRight) delta = -delta;
    beginEdit();
    const float before = value;
    setValueNormalized(getValueNormalized() + delta);
    if (value != before) reportValueChange();
    endEdit();
}

bool CHorizontalSlider::onWheel(const CPoint&, float distance, const CButtonState& buttons)
{
    stepOnWheel(distance, buttons);
    return true;
}

int32_t CHorizontalSlider::onKeyDown(VstKeyCode& key)
{
    return stepOnArrowKey(key);
}

void CHorizontalSlider::draw(CDrawContext* context)
{
    if (background) background->draw(context, size);
    const bool framed = drawStyle & kDrawFrame;
    const CCoord half = framed ? frameWidth / 2 : 0;
    if (drawStyle & (kDrawFrame | kDrawBack)) {
        CRect r = CRect(size).inset(half, half);
        context->setDrawMode(kAliasing);
        context->setLineWidth(frameWidth);
        context->setFillColor(backColor);
        context->setFrameColor(frameColor);
        if (drawStyle & kDrawBack) context->drawRect(framed ? r : size, kDrawFilled);
        if (framed) context->drawRect(r, kDrawStroked);
    }
    if (drawStyle & kDrawValue) {
        CRect r = CRect(size).inset(2 * half, 2 * half);
        const float n = std::clamp(getValueNormalized(), 0.f, 1.f);
        const CCoord w = r.getWidth();
        if (drawStyle & kDrawValueFromCenter) {
            const CCoord mid = r.left + w / 2, pos = r.left + w * ((drawStyle & kDrawInverted) ? 1 - n : n);
            r = CRect(std::min(mid, pos), r.top, std::max(mid, pos), r.bottom);
        } else if (drawStyle & kDrawInverted) {
            r.left = r.right - w * n;
        } else {
            r.right = r.left + w * n;
        }
        if (r.getWidth() >= 0.5 && r.getHeight() >= 0.5) {
            context->setDrawMode(kAliasing);
            context->setFillColor(valueColor);
            context->drawRect(r, kDrawFilled);
        }
    }
    if (handle) {
        float n = std::clamp(getValueNormalized(), 0.f, 1.f);
        if (style & kRight) n = 1.f - n;
        const CCoord x = std::clamp<CCoord>(size.left + handleOffset.x + n * travel - handleWidth / 2 + 1, minPos,
                                            std::max<CCoord>(minPos, minPos + travel));
        const CCoord y = size.top + handleOffset.y;
        handle->draw(context, CRect(x, y, x + handleWidth, y + handleHeight));
    }
    setDirty(false);
}

} // namespace viewkit
