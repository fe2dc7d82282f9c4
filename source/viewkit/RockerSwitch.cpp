#include "viewkit/RockerSwitch.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Timer.h"

namespace viewkit {

CRockerSwitch::CRockerSwitch(const CRect& r, IControlListener* l, int32_t t, CBitmap* bg, const CPoint& offset,
                             int32_t s)
    : CRockerSwitch(r, l, t, r.getHeight(), bg, offset, s)
{}

CRockerSwitch::CRockerSwitch(const CRect& r, IControlListener* l, int32_t t, CCoord fh, CBitmap* bg, const CPoint&,
                             int32_t s)
    : CControl(r, l, t, bg), frameHeight(fh), style(s)
{
    vmin = -1;
    vmax = 1;
    value = lastDrawnValue = 0;
    setWantsFocus(true);
}

CRockerSwitch::~CRockerSwitch()
{
    if (wheelTimer) wheelTimer->forget();
}

int32_t CRockerSwitch::getFrameIndex() const
{
    if (value == getMax()) return 2;
    if (value == middle()) return 1;
    return 0;
}

void CRockerSwitch::draw(CDrawContext* context)
{
    if (background) background->draw(context, size, CPoint(0, frameHeight * getFrameIndex()));
    setDirty(false);
}

void CRockerSwitch::setAndReport(float v)
{
    if (v == value) return;
    setValue(v);
    reportValueChange();
}

CMouseEventResult CRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    ScopedRef<CRockerSwitch> keep(this);
    beginDrag();
    beginEdit();
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseMoved(CPoint& where, const CButtonState&)
{
    if (!isDragging()) return kMouseEventNotHandled;
    ScopedRef<CRockerSwitch> keep(this);
    // Edges count as inside; the middle line belongs to the upper (left) half.
    const bool inside = where.x >= size.left && where.x <= size.right && where.y >= size.top && where.y <= size.bottom;
    float v = dragEntryValue();
    if (inside) {
        const bool firstHalf = (style & kVertical) ? where.y <= size.top + size.getHeight() / 2
                                                   : where.x <= size.left + size.getWidth() / 2;
        v = firstHalf ? getMin() : getMax();
    }
    setAndReport(v);
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (isDragging()) {
        // Springs back without a report: listeners see only min or max during a press.
        setValue(middle());
        if (isDirty()) invalid();
    }
    return CControl::onMouseUp(where, buttons);
}

void CRockerSwitch::restoreEntryValue()
{
    setAndReport(dragEntryValue());
}

void CRockerSwitch::returnToMiddle()
{
    ScopedRef<CRockerSwitch> keep(this);
    if (wheelTimer) wheelTimer->stop();
    setAndReport(middle());
    endEdit();
}

bool CRockerSwitch::onWheel(const CPoint&, float distance, const CButtonState&)
{
    if (!wheelTimer) {
        wheelTimer = new CVSTGUITimer([this](CVSTGUITimer*) { returnToMiddle(); }, 200, false);
    }
    if (!wheelTimer->isRunning()) beginEdit();
    setAndReport(distance > 0 ? getMin() : getMax());
    wheelTimer->stop();
    wheelTimer->start();
    return true;
}

int32_t CRockerSwitch::onKeyDown(VstKeyCode& key)
{
    if (key.modifier || !(style & kVertical) || (key.virt != VKEY_UP && key.virt != VKEY_DOWN)) return -1;
    ScopedRef<CRockerSwitch> keep(this);
    if (!keyHeld) beginEdit();
    keyHeld = true;
    setAndReport(key.virt == VKEY_UP ? getMin() : getMax());
    return 1;
}

int32_t CRockerSwitch::onKeyUp(VstKeyCode& key)
{
    if (!keyHeld || (key.virt != VKEY_UP && key.virt != VKEY_DOWN)) return -1;
    ScopedRef<CRockerSwitch> keep(this);
    keyHeld = false;
    setAndReport(middle());
    endEdit();
    return 1;
}

void CRockerSwitch::interruptGesture()
{
    // A wheel step springs back now, and a held arrow key whose release will
    // not reach us is taken as released.
    if (wheelTimer && wheelTimer->isRunning()) {
        returnToMiddle();
    } else if (keyHeld) {
        ScopedRef<CRockerSwitch> keep(this);
        keyHeld = false;
        setAndReport(middle());
        endEdit();
    }
}

bool CRockerSwitch::removed(CView* parent)
{
    // The spring-back timer must not fire for a switch that left the window.
    if (wheelTimer && wheelTimer->isRunning()) {
        wheelTimer->stop();
        value = middle();
    }
    keyHeld = false;
    return CControl::removed(parent);
}

} // namespace viewkit
