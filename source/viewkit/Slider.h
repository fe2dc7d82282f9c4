#pragma once
#include "viewkit/Color.h"
#include "viewkit/Control.h"

namespace viewkit {

// A horizontal slider: click anywhere to jump, drag to follow, Shift for a
// ten times finer drag. Without bitmaps it draws a frame, a back and a value bar
// as its draw style asks.
class CHorizontalSlider : public CControl {
public:
    enum DrawStyle : int32_t {
        kDrawFrame = 1,
        kDrawBack = 2,
        kDrawValue = 4,
        kDrawValueFromCenter = 8,
        kDrawInverted = 16
    };

    CHorizontalSlider(const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
                      CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(0, 0),
                      int32_t style = kRight);
    ~CHorizontalSlider() override;

    void setDrawStyle(int32_t s)
    {
        drawStyle = s;
        setDirty();
    }
    void setFrameColor(const CColor& c)
    {
        frameColor = c;
        setDirty();
    }
    void setBackColor(const CColor& c)
    {
        backColor = c;
        setDirty();
    }
    void setValueColor(const CColor& c)
    {
        valueColor = c;
        setDirty();
    }
    void setFrameWidth(CCoord w)
    {
        frameWidth = w;
        setDirty();
    }
    int32_t getStyle() const { return style; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;

protected:
    void stepBy(float normalizedDelta) override;

private:
    // Normalized position under x (before the inverted style is applied).
    float positionAt(CCoord x) const;
    void setNormalizedAndReport(float n);

    CBitmap* handle = nullptr;
    CCoord handleWidth = 1;
    CCoord handleHeight = 1;
    CCoord travel;
    CPoint handleOffset;
    int32_t minPos;
    int32_t style;
    int32_t drawStyle = 0;
    CColor frameColor = kGreyCColor;
    CColor backColor = kBlackCColor;
    CColor valueColor = kWhiteCColor;
    CCoord frameWidth = 1;
    float zoomFactor = 10;

    bool fine = false;
    float fineBaseValue = 0;
    float fineBasePos = 0;
};

} // namespace viewkit
