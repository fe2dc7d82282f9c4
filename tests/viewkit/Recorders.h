#pragma once
// Listeners and an editor interface that write down what the kit tells them, in order.
#include "viewkit/Control.h"
#include "viewkit/Frame.h"

#include <string>
#include <vector>

namespace viewkit::test {

struct EventLog {
    std::vector<std::string> entries;
    void add(std::string e) { entries.push_back(std::move(e)); }
    void clear() { entries.clear(); }
};

class RecordingEditor : public VSTGUIEditorInterface {
public:
    explicit RecordingEditor(EventLog& l) : log(l) {}
    void beginEdit(int32_t tag) override { log.add("host-begin " + std::to_string(tag)); }
    void endEdit(int32_t tag) override { log.add("host-end " + std::to_string(tag)); }
    int32_t getKnobMode() const override { return knobMode; }
    int32_t knobMode = kCircularMode;

private:
    EventLog& log;
};

class RecordingListener : public IControlListener {
public:
    explicit RecordingListener(EventLog& l) : log(l) {}
    void valueChanged(CControl* c) override
    {
        values.push_back(c->getValue());
        log.add("changed " + std::to_string(c->getTag()));
    }
    int32_t controlModifierClicked(CControl* c, CButtonState) override
    {
        log.add("modifier-click " + std::to_string(c->getTag()));
        return swallowModifierClicks ? 1 : 0;
    }
    void controlBeginEdit(CControl* c) override { log.add("begin " + std::to_string(c->getTag())); }
    void controlEndEdit(CControl* c) override { log.add("end " + std::to_string(c->getTag())); }

    std::vector<float> values;
    bool swallowModifierClicks = false;

private:
    EventLog& log;
};

// Sends a whole click (down, optional moves, up) to the frame, in frame coordinates.
inline void click(CFrame* frame, CPoint where, int32_t buttons = kLButton)
{
    CPoint p = where;
    frame->onMouseDown(p, CButtonState(buttons));
    p = where;
    frame->onMouseUp(p, CButtonState(buttons));
}

inline void drag(CFrame* frame, CPoint from, const std::vector<CPoint>& path, int32_t buttons = kLButton)
{
    CPoint p = from;
    frame->onMouseDown(p, CButtonState(buttons));
    for (CPoint step : path) {
        p = step;
        frame->onMouseMoved(p, CButtonState(buttons));
    }
    p = path.empty() ? from : path.back();
    frame->onMouseUp(p, CButtonState(buttons));
}

} // namespace viewkit::test
