#pragma once
#include "viewkit/Control.h"

namespace viewkit {

class CVSTGUITimer;

// A three-position switch that springs back to the middle: min while the
// upper (or left) half is pressed, max for the lower (or right) half.
class CRockerSwitch : public CControl {
public:
    CRockerSwitch(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                  const CPoint& offset = CPoint(0, 0), int32_t style = kHorizontal);
    CRockerSwitch(const CRect& size, IControlListener* listener, int32_t tag, CCoord frameHeight, CBitmap* background,
                  const CPoint& offset = CPoint(0, 0), int32_t style = kHorizontal);
    ~CRockerSwitch() override;

    // 0 = min, 1 = middle, 2 = max (the order of the frames in the bitmap).
    int32_t getFrameIndex() const;

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;
    int32_t onKeyUp(VstKeyCode& key) override;
    bool removed(CView* parent) override;
    void interruptGesture() override;

protected:
    void restoreEntryValue() override;

private:
    float middle() const { return getMin() + getRange() / 2; }
    void setAndReport(float v);
    void returnToMiddle();

    CCoord frameHeight;
    int32_t style;
    bool keyHeld = false;
    CVSTGUITimer* wheelTimer = nullptr;
};

} // namespace viewkit
