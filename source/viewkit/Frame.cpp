#include "viewkit/Frame.h"
#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"
#include "viewkit/TextEdit.h"
#include "viewkit/PlatformWindow.h"

#include <cairo.h>

namespace viewkit {

CFrame::CFrame(const CRect& r, VSTGUIEditorInterface* e) : CViewContainer(CRect(r).originize()), editor(e)
{
    frame = this;
}

CFrame::~CFrame()
{
    focusView = nullptr;
    modalView = nullptr;
    removeAll(true);
    platform.reset();
}

bool CFrame::open(void* parent, PlatformType /*type*/, const X11FrameConfig* config)
{
    if (platform) return false;
    platform = createPlatformFrame(this, parent, config);
    return platform != nullptr;
}

void CFrame::close()
{
    setModalView(nullptr);
    setFocusView(nullptr);
    removeAll(true);
    platform.reset();
    forget();
}

void CFrame::markDirtyViews(CView* view)
{
    if (!view->isVisible()) return;
    if (view->isDirty()) {
        view->invalid();
        return;
    }
    if (auto* container = dynamic_cast<CViewContainer*>(view)) {
        for (int32_t i = 0; i < container->getNbViews(); ++i) markDirtyViews(container->getView(i));
    }
}

void CFrame::idle()
{
    ScopedRef<CFrame> keep(this);
    for (int32_t i = 0; i < getNbViews(); ++i) markDirtyViews(getView(i));
}

bool CFrame::setSize(CCoord width, CCoord height)
{
    const CRect newSize(0, 0, width, height);
    if (platform && !platform->setSize(newSize)) return false;
    size = newSize;
    mouseableArea = newSize;
    invalid();
    return true;
}

bool CFrame::setScaleFactor(double scale)
{
    if (!(scale >= kMinScaleFactor && scale <= kMaxScaleFactor)) return false;
    if (scale == scaleFactor) return true;
    const double old = scaleFactor;
    scaleFactor = scale;
    if (platform && !platform->setSize(size)) {
        scaleFactor = old;
        return false;
    }
    invalid();
    return true;
}

void CFrame::setFocusView(CView* view)
{
    if (view == focusView) return;
    CView* old = focusView;
    focusView = view;
    if (old) {
        ScopedRef<CView> keep(old);
        old->looseFocus();
    }
    // looseFocus may itself have moved the focus (e.g. a commit that closed something).
    if (focusView == view && view) view->takeFocus();
}

void CFrame::setModalView(CView* view)
{
    modalView = view;
    modalHasMouse = false;
}

void CFrame::interruptGestures()
{
    ScopedRef<CFrame> keep(this);
    if (modalView) {
        ScopedRef<CView> keepModal(modalView);
        modalView->onMouseCancel();
    }
    if (mouseDownView) {
        // Released, not cancelled: the value the user dragged to stays, with its endEdit.
        CPoint p = lastMousePoint;
        CViewContainer::onMouseUp(p, lastMouseButtons);
    }
    if (dynamic_cast<CTextEdit*>(focusView)) setFocusView(nullptr);
    interruptGesture();
}

void CFrame::onViewRemoved(CView* view)
{
    if (focusView == view) {
        focusView = nullptr;
        view->looseFocus();
    }
    if (modalView == view) setModalView(nullptr);
}

void CFrame::invalidateFrameRect(const CRect& rect)
{
    CRect r = rect;
    r.bound(size);
    if (r.isEmpty()) return;
    pendingInvalid.unite(r);
    if (platform) platform->invalidRect(r);
}

CRect CFrame::takeInvalidRect()
{
    const CRect r = pendingInvalid;
    pendingInvalid = CRect();
    return r;
}

void CFrame::paint(cairo_t* cr, const CRect& updateRect)
{
    CRect update = updateRect;
    update.bound(size);
    if (!cr || update.isEmpty()) return;
    ScopedRef<CFrame> keep(this);
    CDrawContext context(cr, size, scaleFactor);
    context.setClipRect(update);
    drawRect(&context, update);
}

void CFrame::drawBackgroundRect(CDrawContext* context, const CRect& updateRect)
{
    if (background) {
        background->draw(context, size);
    } else if (!getTransparency() || backgroundColor.alpha < 255) {
        context->setFillColor(backgroundColor);
        context->drawRect(updateRect, kDrawFilled);
    }
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    ScopedRef<CFrame> keep(this);
    lastMousePoint = where;
    lastMouseButtons = buttons;
    if (modalView) {
        ScopedRef<CView> keepModal(modalView);
        CPoint p = where;
        const CMouseEventResult r = modalView->onMouseDown(p, buttons);
        modalHasMouse = modalView && r == kMouseEventHandled;
        return r;
    }
    // A click outside the field being edited ends the edit (and commits it).
    if (auto* edit = dynamic_cast<CTextEdit*>(focusView); edit && !edit->getFrameRect().pointInside(where))
        setFocusView(nullptr);
    return CViewContainer::onMouseDown(where, buttons);
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    ScopedRef<CFrame> keep(this);
    if (modalView) {
        if (!modalHasMouse) return kMouseEventHandled;
        modalHasMouse = false;
        CPoint p = where;
        return modalView->onMouseUp(p, buttons);
    }
    return CViewContainer::onMouseUp(where, buttons);
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    ScopedRef<CFrame> keep(this);
    lastMousePoint = where;
    if (modalView) {
        ScopedRef<CView> keepModal(modalView);
        CPoint p = where;
        return modalView->onMouseMoved(p, buttons);
    }
    return CViewContainer::onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::onMouseCancel()
{
    ScopedRef<CFrame> keep(this);
    if (modalView) {
        modalHasMouse = false;
        return modalView->onMouseCancel();
    }
    return CViewContainer::onMouseCancel();
}

bool CFrame::onWheel(const CPoint& where, float distance, const CButtonState& buttons)
{
    ScopedRef<CFrame> keep(this);
    if (modalView) return true;
    return CViewContainer::onWheel(where, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& key)
{
    ScopedRef<CFrame> keep(this);
    if (modalView) {
        ScopedRef<CView> keepModal(modalView);
        return modalView->onKeyDown(key);
    }
    if (!focusView) return -1;
    ScopedRef<CView> keepFocus(focusView);
    return focusView->onKeyDown(key);
}

int32_t CFrame::onKeyUp(VstKeyCode& key)
{
    ScopedRef<CFrame> keep(this);
    if (modalView) return modalView->onKeyUp(key);
    if (!focusView) return -1;
    ScopedRef<CView> keepFocus(focusView);
    return focusView->onKeyUp(key);
}

} // namespace viewkit
