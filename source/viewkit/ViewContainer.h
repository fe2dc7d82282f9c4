#pragma once
#include "viewkit/Color.h"
#include "viewkit/View.h"
#include <vector>

namespace viewkit {

// Holds child views; children are placed relative to the container's top-left
// corner and drawn in insertion order (later ones on top).
class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;

    // Takes over the caller's reference.
    virtual bool addView(CView* view);
    virtual bool addView(CView* view, CView* before);
    // withForget = false hands the reference back to the caller.
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    int32_t getNbViews() const { return static_cast<int32_t>(children.size()); }
    CView* getView(int32_t index) const;
    bool changeViewZOrder(CView* view, int32_t newIndex);

    void setBackgroundColor(const CColor& c)
    {
        backgroundColor = c;
        setDirty();
    }

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    void interruptGesture() override;

    bool attached(CView* parent) override;
    bool removed(CView* parent) override;

protected:
    // Point in this container's parent coordinates -> coordinates of its children.
    CPoint toLocal(const CPoint& where) const { return {where.x - size.left, where.y - size.top}; }
    void forgetMouseTarget(const CView* view);

    std::vector<CView*> children;
    CView* mouseDownView = nullptr;
    CColor backgroundColor = kBlackCColor;
    CDrawStyle backgroundColorDrawStyle = kDrawFilledAndStroked;
    CPoint backgroundOffset;
};

} // namespace viewkit
