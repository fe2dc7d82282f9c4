#pragma once
#include "viewkit/View.h"

namespace viewkit {

class COptionMenu;

// The open list of an option menu, drawn on top of the whole frame. It takes all
// input until an entry is chosen (click or Return) or the menu is dismissed
// (click outside, Escape, cancel); then it removes itself and tells the menu.
class MenuOverlay : public CView {
public:
    static constexpr CCoord kItemHeight = 18;

    // `anchor` is the menu control's rect in frame coordinates.
    MenuOverlay(const CRect& frameSize, COptionMenu* menu, const CRect& anchor);
    ~MenuOverlay() override;

    const CRect& getListRect() const { return listRect; }
    int32_t getHighlighted() const { return highlighted; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    int32_t onKeyDown(VstKeyCode& key) override;
    bool removed(CView* parent) override;

private:
    int32_t itemAt(const CPoint& p) const;
    void finish(int32_t index);

    COptionMenu* menu;
    CRect listRect;
    int32_t highlighted = -1;
};

} // namespace viewkit
