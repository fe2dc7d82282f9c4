#include "viewkit/ViewContainer.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Control.h"
#include "viewkit/DrawContext.h"
#include "viewkit/Frame.h"

#include <algorithm>

namespace viewkit {

CViewContainer::CViewContainer(const CRect& r) : CView(r) {}

CViewContainer::~CViewContainer()
{
    removeAll(true);
}

bool CViewContainer::addView(CView* view)
{
    return addView(view, nullptr);
}

bool CViewContainer::addView(CView* view, CView* before)
{
    if (!view || view == this || view->getParentView()) return false;
    auto pos = std::find(children.begin(), children.end(), before);
    children.insert(pos, view);
    if (isAttached()) view->attached(this);
    view->invalid();
    return true;
}

bool CViewContainer::removeView(CView* view, bool withForget)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end()) return false;
    view->invalid();
    children.erase(it);
    forgetMouseTarget(view);
    if (view->getParentView()) view->removed(this);
    if (withForget) view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget)
{
    while (!children.empty()) removeView(children.back(), withForget);
    return true;
}

bool CViewContainer::isChild(const CView* view) const
{
    return std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::getView(int32_t index) const
{
    if (index < 0 || index >= getNbViews()) return nullptr;
    return children[static_cast<size_t>(index)];
}

bool CViewContainer::changeViewZOrder(CView* view, int32_t newIndex)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end() || newIndex < 0 || newIndex >= getNbViews()) return false;
    children.erase(it);
    children.insert(children.begin() + newIndex, view);
    invalid();
    return true;
}

void CViewContainer::forgetMouseTarget(const CView* view)
{
    if (mouseDownView == view) mouseDownView = nullptr;
}

bool CViewContainer::attached(CView* parent)
{
    if (!CView::attached(parent)) return false;
    for (CView* child : children) child->attached(this);
    return true;
}

bool CViewContainer::removed(CView* parent)
{
    for (CView* child : children) child->removed(this);
    mouseDownView = nullptr;
    return CView::removed(parent);
}

void CViewContainer::draw(CDrawContext* context)
{
    drawRect(context, size);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& /*updateRect*/)
{
    if (background) {
        background->draw(context, size, backgroundOffset);
    } else if (backgroundColor.alpha != 0 && (!getTransparency() || backgroundColor.alpha < 255)) {
        // A transparent container paints only a see-through colour.
        context->setFillColor(backgroundColor);
        context->setFrameColor(backgroundColor);
        context->setLineWidth(1);
        context->setDrawMode(kAliasing);
        context->drawRect(size, backgroundColorDrawStyle);
    }
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect)
{
    context->saveGlobalState();
    context->setClipRect(size);
    drawBackgroundRect(context, updateRect);
    context->translate(size.left, size.top);
    CRect localUpdate = updateRect;
    localUpdate.offset(-size.left, -size.top);
    for (CView* child : std::vector<CView*>(children)) {
        if (!child->isVisible() || !child->getViewSize().rectOverlap(localUpdate)) continue;
        context->saveGlobalState();
        context->setClipRect(child->getViewSize());
        child->drawRect(context, localUpdate);
        child->setDirty(false);
        context->restoreGlobalState();
    }
    context->restoreGlobalState();
    setDirty(false);
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    ScopedRef<CViewContainer> keepSelf(this);
    const CPoint local = toLocal(where);
    std::vector<CView*> snapshot(children.rbegin(), children.rend());
    for (CView* v : snapshot) v->remember();
    CMouseEventResult result = kMouseEventNotHandled;
    for (CView* child : snapshot) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() ||
            !child->getMouseableArea().pointInside(local))
            continue;
        if (auto* control = dynamic_cast<CControl*>(child);
            control && control->getListener() && (buttons.getModifierState() || (buttons & kRButton))) {
            if (control->getListener()->controlModifierClicked(control, buttons) != 0) {
                result = kMouseDownEventHandledButDontNeedMovedOrUpEvents;
                break;
            }
        }
        if (child->wantsFocus() && getFrame()) getFrame()->setFocusView(child);
        CPoint p = local;
        const CMouseEventResult r = child->onMouseDown(p, buttons);
        if (r == kMouseEventHandled) {
            if (isChild(child)) mouseDownView = child;
            result = r;
            break;
        }
        if (r != kMouseEventNotHandled && r != kMouseEventNotImplemented) {
            result = r;
            break;
        }
        if (!child->getTransparency()) break;
    }
    for (CView* v : snapshot) v->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* target = mouseDownView;
    ScopedRef<CView> keep(target);
    mouseDownView = nullptr;
    CPoint p = toLocal(where);
    return target->onMouseUp(p, buttons);
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* target = mouseDownView;
    ScopedRef<CView> keep(target);
    CPoint p = toLocal(where);
    const CMouseEventResult r = target->onMouseMoved(p, buttons);
    if (r == kMouseMoveEventHandledButDontNeedMoreEvents || r == kMouseEventNotHandled) forgetMouseTarget(target);
    return r;
}

CMouseEventResult CViewContainer::onMouseCancel()
{
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* target = mouseDownView;
    ScopedRef<CView> keep(target);
    mouseDownView = nullptr;
    return target->onMouseCancel();
}

void CViewContainer::interruptGesture()
{
    ScopedRef<CViewContainer> keepSelf(this);
    std::vector<CView*> snapshot(children.begin(), children.end());
    for (CView* v : snapshot) v->remember();
    for (CView* child : snapshot)
        if (isChild(child)) child->interruptGesture();
    for (CView* v : snapshot) v->forget();
}

bool CViewContainer::onWheel(const CPoint& where, float distance, const CButtonState& buttons)
{
    ScopedRef<CViewContainer> keepSelf(this);
    const CPoint local = toLocal(where);
    std::vector<CView*> snapshot(children.rbegin(), children.rend());
    for (CView* v : snapshot) v->remember();
    bool handled = false;
    for (CView* child : snapshot) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() ||
            !child->getMouseableArea().pointInside(local))
            continue;
        if (child->onWheel(local, distance, buttons)) {
            handled = true;
            break;
        }
        if (!child->getTransparency()) break;
    }
    for (CView* v : snapshot) v->forget();
    return handled;
}

} // namespace viewkit
