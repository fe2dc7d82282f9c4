// Mouse gestures on knob, slider and rocker: values, reports, and the order of
// listener and host edit calls. Also the click routing between stacked views.
#include "viewkit/Recorders.h"
#include "viewkit/TestResources.h"
#include "viewkit/viewkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace viewkit::test {
namespace {

using Log = std::vector<std::string>;

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installTestResources();
        frame = new CFrame(CRect(0, 0, 400, 300), &editor);
    }
    void TearDown() override { frame->forget(); }

    CAnimKnob* addKnob(int32_t tag = 7)
    {
        auto* strip = new CBitmap("knob.png");
        auto* knob = new CAnimKnob(CRect(100, 100, 150, 150), &listener, tag, strip);
        strip->forget();
        frame->addView(knob);
        return knob;
    }

    EventLog log;
    RecordingEditor editor{log};
    RecordingListener listener{log};
    CFrame* frame = nullptr;
};

TEST_F(GestureTest, CircularKnobFollowsThePointerAngle)
{
    CAnimKnob* knob = addKnob();
    const CPoint center(125, 125);
    CPoint p(125, 105); // straight up: the middle of the 270 degree range
    ASSERT_EQ(frame->onMouseDown(p, kLButton), kMouseEventHandled);
    EXPECT_EQ(knob->getValue(), 0.f) << "the click alone changes nothing";
    EXPECT_EQ(log.entries, (Log{"begin 7", "host-begin 7"}));

    p = CPoint(125, 100);
    frame->onMouseMoved(p, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-4);
    p = CPoint(150, 125); // to the right: 225 degrees past the start
    frame->onMouseMoved(p, kLButton);
    EXPECT_NEAR(knob->getValue(), 225.f / 270.f, 1e-4);
    // Straight down is the dead zone; from the high side it pins to max.
    p = CPoint(126, 150);
    frame->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    // Jumping across to the low end is more than half the range: stays at max.
    p = CPoint(101, 149);
    frame->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    frame->onMouseUp(p, kLButton);
    EXPECT_EQ(log.entries.back(), "end 7");
    EXPECT_EQ(log.entries[log.entries.size() - 2], "host-end 7");
    EXPECT_EQ(listener.values.size(), 3u) << "reports only when the value changes";
    (void)center;
}

TEST_F(GestureTest, KnobControlClickSetsDefaultAndCancelRestores)
{
    CAnimKnob* knob = addKnob();
    knob->setDefaultValue(0.3f);
    knob->setValue(0.9f);
    CPoint p(120, 120);
    EXPECT_EQ(frame->onMouseDown(p, kLButton | kControl), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(log.entries, (Log{"modifier-click 7", "begin 7", "host-begin 7", "changed 7", "host-end 7", "end 7"}));
    EXPECT_FALSE(knob->isEditing());

    log.clear();
    p = CPoint(125, 105);
    frame->onMouseDown(p, kLButton);
    p = CPoint(150, 125);
    frame->onMouseMoved(p, kLButton);
    EXPECT_NE(knob->getValue(), 0.3f);
    frame->onMouseCancel();
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    EXPECT_FLOAT_EQ(listener.values.back(), 0.3f) << "the restored value is reported";
    EXPECT_EQ(log.entries.back(), "end 7");

    // Right button: not for the knob, and being opaque it stops the click.
    log.clear();
    p = CPoint(125, 125);
    EXPECT_EQ(frame->onMouseDown(p, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(log.entries, (Log{"modifier-click 7"}));
}

TEST_F(GestureTest, SliderJumpsToTheClickAndDragsFinelyWithShift)
{
    auto* slider =
        new CHorizontalSlider(CRect(100, 10, 200, 31), &listener, 3, 100, 200, nullptr, nullptr, CPoint(), kLeft);
    frame->addView(slider);
    CPoint p(100, 20);
    frame->onMouseDown(p, kLButton);
    EXPECT_NEAR(slider->getValue(), 0.5f / 100, 1e-6) << "leftmost pixel";
    EXPECT_EQ(log.entries, (Log{"begin 3", "host-begin 3", "changed 3"}));
    p = CPoint(149.5, 20);
    frame->onMouseMoved(p, kLButton);
    EXPECT_NEAR(slider->getValue(), 0.5f, 1e-6);
    p = CPoint(400, 20);
    frame->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(slider->getValue(), 1.f) << "past the end clamps";
    frame->onMouseUp(p, kLButton);
    EXPECT_EQ(log.entries.back(), "end 3");

    slider->setValue(0.5f);
    p = CPoint(100, 20);
    frame->onMouseDown(p, kLButton | kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f) << "Shift: no jump";
    p = CPoint(150, 20);
    frame->onMouseMoved(p, kLButton | kShift);
    EXPECT_NEAR(slider->getValue(), 0.55f, 1e-5) << "a tenth of the pointer's travel";
    frame->onMouseCancel();
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);

    log.clear();
    slider->setValue(0.9f);
    p = CPoint(120, 20);
    frame->onMouseDown(p, kLButton | kControl);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f) << "Ctrl-click: default value";
    EXPECT_EQ(log.entries, (Log{"modifier-click 3", "begin 3", "host-begin 3", "changed 3", "host-end 3", "end 3"}));
}

TEST_F(GestureTest, RockerReportsEndsDuringThePressAndSpringsBackSilently)
{
    auto* strip = new CBitmap("rocker.png");
    auto* rocker = new CRockerSwitch(CRect(10, 10, 31, 31), &listener, -1, strip, CPoint(), kVertical);
    strip->forget();
    frame->addView(rocker);

    CPoint p(20, 20.5); // the middle line belongs to the upper half
    frame->onMouseDown(p, kLButton);
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.f);
    p = CPoint(20, 25);
    frame->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 1.f);
    p = CPoint(60, 25);
    frame->onMouseMoved(p, kLButton);
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.5f) << "outside: back to the start value";
    p = CPoint(20, 12);
    frame->onMouseMoved(p, kLButton);
    frame->onMouseUp(p, kLButton);
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.5f);
    EXPECT_EQ(listener.values, (std::vector<float>{-1, 1, 0, -1}));
    EXPECT_EQ(log.entries.front(), "begin -1");
    EXPECT_EQ(log.entries[1], "host-begin -1");
    EXPECT_EQ(log.entries.back(), "end -1");
}

// A full-window view that only takes right clicks, like the editor's context-menu hook.
class RightClickCatcher : public CView {
public:
    explicit RightClickCatcher(const CRect& r) : CView(r) { setTransparency(true); }
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override
    {
        if (buttons.getButtonState() != kRButton) return kMouseEventNotImplemented;
        ++rightClicks;
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    int rightClicks = 0;
};

} // namespace
} // namespace viewkit::test
