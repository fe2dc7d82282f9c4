#pragma once
#include "viewkit/BaseObject.h"
#include "viewkit/Enums.h"
#include "viewkit/Geometry.h"

namespace viewkit {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;

// A rectangle of the window that draws itself and may take mouse and keys.
// Its rect is in its parent container's coordinates; so is every point it is given.
class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseCancel();
    // distance: notches, positive = up.
    virtual bool onWheel(const CPoint& where, float distance, const CButtonState& buttons);
    // Keys return 1 when consumed, -1 otherwise.
    virtual int32_t onKeyDown(VstKeyCode& key);
    virtual int32_t onKeyUp(VstKeyCode& key);
    // The window lost the pointer or the keyboard (hidden, focus gone, grab
    // taken): a gesture still running ends now, as if its button or key were
    // released, so that nothing changes a value without a new press.
    virtual void interruptGesture() {}

    virtual bool attached(CView* parent);
    virtual bool removed(CView* parent);
    bool isAttached() const { return parentView != nullptr || isRoot(); }
    virtual bool isRoot() const { return false; }

    virtual void takeFocus() {}
    virtual void looseFocus() {}
    bool wantsFocus() const { return focusWanted; }
    void setWantsFocus(bool v) { focusWanted = v; }

    virtual void setViewSize(const CRect& rect, bool invalid = true);
    const CRect& getViewSize() const { return size; }
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    const CRect& getMouseableArea() const { return mouseableArea; }

    virtual void setDirty(bool state = true) { dirty = state; }
    virtual bool isDirty() const { return dirty; }
    // Repaint the whole view as soon as the platform can.
    virtual void invalid();
    // `rect` is in the parent's coordinates, like the view's own rect.
    void invalidRect(const CRect& rect);

    void setVisible(bool state);
    bool isVisible() const { return visible; }
    virtual void setTransparency(bool state) { transparent = state; }
    bool getTransparency() const { return transparent; }
    bool getMouseEnabled() const { return mouseEnabled; }

    virtual void setBackground(CBitmap* bitmap);

    CFrame* getFrame() const { return frame; }
    CView* getParentView() const { return parentView; }
    // Converts a point in this view's parent coordinates to frame coordinates.
    CPoint localToFrame(const CPoint& p) const;
    // This view's rect in frame coordinates.
    CRect getFrameRect() const;

protected:
    CRect size;
    CRect mouseableArea;
    CBitmap* background = nullptr;

private:
    CView* parentView = nullptr;
    CFrame* frame = nullptr;
    bool dirty = false;
    bool visible = true;
    bool transparent = false;
    bool mouseEnabled = true;
    bool focusWanted = false;

    friend class CFrame;
};

} // namespace viewkit
