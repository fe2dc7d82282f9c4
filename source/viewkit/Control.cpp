#include "Control.h"
#include "Bitmap.h"
#include "Frame.h"

#include <algorithm>
#include <cmath>

namespace viewkit {

int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kControl;

CControl::CControl(const CRect& r, IControlListener* l, int32_t t, CBitmap* bg) : CView(r), tag(t), listener(l) {
    if (bg) setBackground(bg);
}

CControl::~CControl() = default;

void CControl::setValue(float v) {
    const float lo = std::min(getMin(), getMax()), hi = std::max(getMin(), getMax());
    value = std::isnan(v) ? lo : std::clamp(v, lo, hi);
}

void CControl::setValueNormalized(float n) {
    if (std::isnan(n)) n = 0;
    n = std::clamp(n, 0.f, 1.f);
    setValue(getMin() + n * getRange());
}

float CControl::getValueNormalized() const {
    const float range = getRange();
    if (range == 0) return 0;
    return (value - getMin()) / range;
}

void CControl::bounceValue() { setValue(value); }

void CControl::setTag(int32_t t) {
    if (listener) listener->controlTagWillChange(this);
    tag = t;
    if (listener) listener->controlTagDidChange(this);
}

void CControl::beginEdit() {
    if (editing++ > 0) return;
    ScopedRef<CControl> keep(this);
    if (listener) listener->controlBeginEdit(this);
    if (CFrame* f = getFrame()) f->beginEdit(tag);
}

void CControl::endEdit() {
    if (editing == 0 || --editing > 0) return;
    ScopedRef<CControl> keep(this);
    if (CFrame* f = getFrame()) f->endEdit(tag);
    if (listener) listener->controlEndEdit(this);
}

void CControl::valueChanged() {
    ScopedRef<CControl> keep(this);
    if (listener) listener->valueChanged(this);
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (!state) lastDrawnValue = value;
}

bool CControl::isDirty() const { return CView::isDirty() || lastDrawnValue != value; }

bool CControl::removed(CView* parent) {
    // A control leaving the window in mid-gesture still closes the host's edit.
    if (editing > 0) {
        editing = 1;
        endEdit();
    }
    return CView::removed(parent);
}

} // namespace viewkit
