#include "viewkit/AnimKnob.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace viewkit {

CAnimKnob::CAnimKnob(const CRect& r, IControlListener* l, int32_t t, CBitmap* bg, const CPoint&) : CControl(r, l, t, bg)
{
    frameHeight = r.getHeight();
    if (bg && frameHeight > 0) subPixmaps = static_cast<int32_t>(bg->getHeight() / frameHeight);
    setWantsFocus(true);
}

CAnimKnob::CAnimKnob(const CRect& r, IControlListener* l, int32_t t, int32_t frames, CCoord height, CBitmap* bg,
                     const CPoint&)
    : CControl(r, l, t, bg), subPixmaps(frames), frameHeight(height)
{
    setWantsFocus(true);
}

int32_t CAnimKnob::getFrameIndex() const
{
    if (subPixmaps <= 0) return 0;
    float n = std::clamp(getValueNormalized(), 0.f, 1.f);
    if (inverseBitmap) n = 1.f - n;
    return std::clamp(static_cast<int32_t>(std::floor(n * static_cast<float>(subPixmaps - 1))), 0, subPixmaps - 1);
}

void CAnimKnob::draw(CDrawContext* context)
{
    if (background && subPixmaps > 0) background->draw(context, size, CPoint(0, frameHeight * getFrameIndex()));
    setDirty(false);
}

float CAnimKnob::valueFromPoint(const CPoint& p) const
{
    const CPoint c = size.getCenter();
    double angle = std::atan2(p.y - c.y, p.x - c.x) * 180.0 / std::numbers::pi;
    double a = std::fmod(angle - kStartAngle + 720.0, 360.0);
    double n;
    if (a <= kRangeAngle)
        n = a / kRangeAngle;
    else
        n = a < kRangeAngle + (360.0 - kRangeAngle) / 2 ? 1.0 : 0.0; // dead zone: nearer end
    return getMin() + static_cast<float>(n) * getRange();
}

void CAnimKnob::setAndReport(float v)
{
    setValue(v);
    if (value != lastReported) {
        lastReported = value;
        reportValueChange();
    }
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    ScopedRef<CAnimKnob> keep(this);
    beginEdit();
    if (buttons.getModifierState() == kDefaultValueModifier) {
        if (value != defaultValue) {
            beginEdit();
            lastReported = value;
            setAndReport(defaultValue);
            endEdit();
        }
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    const int32_t mode = getFrame() ? getFrame()->getKnobMode() : kCircularMode;
    linear = (mode == kLinearMode) != ((buttons & kAlt) != 0);
    beginDrag();
    firstPoint = where;
    linearBase = lastReported = value;
    fine = (buttons & kZoomModifier) != 0;
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isDragging()) return kMouseEventNotHandled;
    ScopedRef<CAnimKnob> keep(this);
    if (linear) {
        const bool nowFine = (buttons & kZoomModifier) != 0;
        if (nowFine != fine) {
            // Rebase so that pressing or releasing Shift does not make the value jump.
            linearBase = value;
            firstPoint = where;
            fine = nowFine;
        }
        const double pixels = fine ? 200.0 * zoomFactor : 200.0;
        const double delta = ((firstPoint.y - where.y) + (where.x - firstPoint.x)) * getRange() / pixels;
        setAndReport(linearBase + static_cast<float>(delta));
    } else {
        float v = valueFromPoint(where);
        // A jump of more than half the range crosses the dead zone: stay at the end.
        if (std::fabs(v - value) > getRange() / 2) v = (value - getMin()) > getRange() / 2 ? getMax() : getMin();
        setAndReport(v);
    }
    return kMouseEventHandled;
}

void CAnimKnob::restoreEntryValue()
{
    setValue(dragEntryValue());
    lastReported = value;
    reportValueChange();
}

void CAnimKnob::stepBy(float normalizedDelta)
{
    ScopedRef<CAnimKnob> keep(this);
    beginEdit();
    lastReported = value;
    setValueNormalized(getValueNormalized() + normalizedDelta);
    const float v = value;
    value = lastReported;
    setAndReport(v);
    endEdit();
}

bool CAnimKnob::onWheel(const CPoint&, float distance, const CButtonState& buttons)
{
    stepOnWheel(distance, buttons);
    return true;
}

int32_t CAnimKnob::onKeyDown(VstKeyCode& key)
{
    return stepOnArrowKey(key);
}

} // namespace viewkit
