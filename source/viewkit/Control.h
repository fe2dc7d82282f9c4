#pragma once
#include "viewkit/View.h"

namespace viewkit {

class CControl;

// Receives a control's user changes and its edit gestures.
class IControlListener {
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    // Non-zero swallows a click made with a modifier or the right button.
    virtual int32_t controlModifierClicked(CControl* /*control*/, CButtonState /*buttons*/) { return 0; }
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}
    virtual void controlTagWillChange(CControl* /*control*/) {}
    virtual void controlTagDidChange(CControl* /*control*/) {}
};

// A view with a value in [min, max], a tag and a listener. Code that calls
// setValue reports nothing; user gestures go through beginEdit / valueChanged / endEdit.
class CControl : public CView {
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);
    ~CControl() override;

    virtual void setValue(float v);
    float getValue() const { return value; }
    virtual void setValueNormalized(float n);
    virtual float getValueNormalized() const;
    virtual void setMin(float v) { vmin = v; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float v) { vmax = v; }
    virtual float getMax() const { return vmax; }
    float getRange() const { return getMax() - getMin(); }
    void setDefaultValue(float v) { defaultValue = v; }
    virtual void bounceValue();

    void setTag(int32_t t);
    int32_t getTag() const { return tag; }
    void setListener(IControlListener* l) { listener = l; }
    IControlListener* getListener() const { return listener; }

    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing > 0; }
    // Tells the listener about a user change.
    virtual void valueChanged();

    void setDirty(bool state = true) override;
    bool isDirty() const override;
    bool removed(CView* parent) override;

    // The release ends a drag begun with beginDrag; a cancel also puts the
    // value from before it back. Without a drag neither is handled.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;

    static int32_t kZoomModifier;
    static int32_t kDefaultValueModifier;

protected:
    // Starts a drag after the caller's beginEdit: remembers the value for a cancel.
    void beginDrag();
    bool isDragging() const { return dragging; }
    float dragEntryValue() const { return entryValue; }
    // Puts the value from before the drag back and reports it.
    virtual void restoreEntryValue();
    // Tells the listener about a user change and redraws if the control looks different.
    void reportValueChange();

    // Arrow keys and the wheel step the value by the wheel increment, or by
    // 0.01 with Shift, through stepBy.
    int32_t stepOnArrowKey(const VstKeyCode& key);
    void stepOnWheel(float distance, const CButtonState& buttons);
    virtual void stepBy(float /*normalizedDelta*/) {}

    float value = 0;
    float vmin = 0;
    float vmax = 1;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
    // The value at the last draw; a different value makes the control dirty.
    float lastDrawnValue = 0;
    int32_t tag;
    IControlListener* listener;

private:
    int32_t editing = 0;
    bool dragging = false;
    float entryValue = 0;
};

} // namespace viewkit
