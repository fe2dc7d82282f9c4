#include "viewkit/Control.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Frame.h"

#include <algorithm>
#include <cmath>

namespace viewkit {

int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kControl;

CControl::CControl(const CRect& r, IControlListener* l, int32_t t, CBitmap* bg) : CView(r), tag(t), listener(l)
{
    if (bg) setBackground(bg);
}

CControl::~CControl() = default;

void CControl::setValue(float v)
{
    const float lo = std::min(getMin(), getMax()), hi = std::max(getMin(), getMax());
    value = std::isnan(v) ? lo : std::clamp(v, lo, hi);
}

void CControl::setValueNormalized(float n)
{
    if (std::isnan(n)) n = 0;
    n = std::clamp(n, 0.f, 1.f);
    setValue(getMin() + n * getRange());
}

float CControl::getValueNormalized() const
{
    const float range = getRange();
    if (range == 0) return 0;
    return (value - getMin()) / range;
}

void CControl::bounceValue()
{
    setValue(value);
}

void CControl::setTag(int32_t t)
{
    if (listener) listener->controlTagWillChange(this);
    tag = t;
    if (listener) listener->controlTagDidChange(this);
}

void CControl::beginEdit()
{
    if (editing++ > 0) return;
    ScopedRef<CControl> keep(this);
    if (listener) listener->controlBeginEdit(this);
    if (CFrame* f = getFrame()) f->beginEdit(tag);
}

void CControl::endEdit()
{
    if (editing == 0 || --editing > 0) return;
    ScopedRef<CControl> keep(this);
    if (CFrame* f = getFrame()) f->endEdit(tag);
    if (listener) listener->controlEndEdit(this);
}

void CControl::valueChanged()
{
    ScopedRef<CControl> keep(this);
    if (listener) listener->valueChanged(this);
}

void CControl::setDirty(bool state)
{
    CView::setDirty(state);
    if (!state) lastDrawnValue = value;
}

bool CControl::isDirty() const
{
    return CView::isDirty() || lastDrawnValue != value;
}

void CControl::beginDrag()
{
    entryValue = value;
    dragging = true;
}

void CControl::reportValueChange()
{
    valueChanged();
    if (isDirty()) invalid();
}

void CControl::restoreEntryValue()
{
    setValue(entryValue);
    reportValueChange();
}

CMouseEventResult CControl::onMouseUp(CPoint&, const CButtonState&)
{
    if (!dragging) return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CControl::onMouseCancel()
{
    if (!dragging) return kMouseEventNotHandled;
    ScopedRef<CControl> keep(this);
    dragging = false;
    restoreEntryValue();
    endEdit();
    return kMouseEventHandled;
}

int32_t CControl::stepOnArrowKey(const VstKeyCode& key)
{
    const float step = (key.modifier & MODIFIER_SHIFT) ? 0.01f : wheelInc;
    switch (key.virt) {
    case VKEY_UP:
    case VKEY_RIGHT: stepBy(step); return 1;
    case VKEY_DOWN:
    case VKEY_LEFT: stepBy(-step); return 1;
    default: return -1;
    }
}

void CControl::stepOnWheel(float distance, const CButtonState& buttons)
{
    const float step = (buttons & kZoomModifier) ? 0.01f : wheelInc;
    stepBy(distance > 0 ? step : -step);
}

bool CControl::removed(CView* parent)
{
    // A control leaving the window in mid-gesture still closes the host's edit.
    dragging = false;
    if (editing > 0) {
        editing = 1;
        endEdit();
    }
    return CView::removed(parent);
}

} // namespace viewkit
