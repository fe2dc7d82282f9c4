#include "viewkit/View.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Frame.h"

namespace viewkit {

CView::CView(const CRect& r) : size(r), mouseableArea(r) {}

CView::~CView()
{
    if (background) background->forget();
}

void CView::draw(CDrawContext* context)
{
    if (background) background->draw(context, size);
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/)
{
    draw(context);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseCancel()
{
    return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint&, float, const CButtonState&)
{
    return false;
}
int32_t CView::onKeyDown(VstKeyCode&)
{
    return -1;
}
int32_t CView::onKeyUp(VstKeyCode&)
{
    return -1;
}

bool CView::attached(CView* parent)
{
    if (!parent) return false;
    parentView = parent;
    frame = parent->getFrame();
    return true;
}

bool CView::removed(CView* /*parent*/)
{
    if (frame) frame->onViewRemoved(this);
    parentView = nullptr;
    frame = nullptr;
    return true;
}

void CView::setViewSize(const CRect& rect, bool inval)
{
    if (inval) invalid();
    size = rect;
    mouseableArea = rect;
    if (inval) invalid();
}

void CView::invalid()
{
    setDirty(false);
    invalidRect(size);
}

void CView::invalidRect(const CRect& rect)
{
    if (!frame || !visible) return;
    CRect r = rect;
    const CPoint origin = localToFrame(CPoint(0, 0));
    r.offset(origin.x, origin.y);
    frame->invalidateFrameRect(r);
}

void CView::setVisible(bool state)
{
    if (visible == state) return;
    if (!state) invalid();
    visible = state;
    if (state) invalid();
}

void CView::setBackground(CBitmap* bitmap)
{
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
    setDirty();
}

CPoint CView::localToFrame(const CPoint& p) const
{
    CPoint result = p;
    for (const CView* v = parentView; v; v = v->parentView) {
        if (v->isRoot()) break;
        result.offset(v->size.left, v->size.top);
    }
    return result;
}

CRect CView::getFrameRect() const
{
    const CPoint origin = localToFrame(CPoint(0, 0));
    CRect r = size;
    return r.offset(origin.x, origin.y);
}

} // namespace viewkit
