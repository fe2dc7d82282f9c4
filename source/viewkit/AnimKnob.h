#pragma once
#include "viewkit/Control.h"

namespace viewkit {

// A knob drawn as one frame of a vertical film strip. Dragged in circles by
// default, or linearly when the host asks for it (Alt switches at mouse down).
class CAnimKnob : public CControl {
public:
    CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint(0, 0));
    CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps, CCoord frameHeight,
              CBitmap* background, const CPoint& offset = CPoint(0, 0));

    // The film-strip frame the current value selects.
    int32_t getFrameIndex() const;

    void setMin(float v) override
    {
        CControl::setMin(v);
        bounceValue();
    }
    void setMax(float v) override
    {
        CControl::setMax(v);
        bounceValue();
    }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;

protected:
    void restoreEntryValue() override;
    void stepBy(float normalizedDelta) override;

private:
    float valueFromPoint(const CPoint& p) const;
    void setAndReport(float v);

    int32_t subPixmaps = 0;
    CCoord frameHeight = 0;
    bool inverseBitmap = false;
    float zoomFactor = 1.5f;
    static constexpr double kStartAngle = 135;
    static constexpr double kRangeAngle = 270;

    // Drag state.
    bool linear = false;
    bool fine = false;
    CPoint firstPoint;
    float linearBase = 0;
    float lastReported = 0;
};

} // namespace viewkit
