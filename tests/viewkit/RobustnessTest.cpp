// Views and timers that go away while they are being used.
#include "viewkit/Recorders.h"
#include "viewkit/viewkit.h"

#include <gtest/gtest.h>

namespace viewkit::test {
namespace {

// Removes the control from its container when it reports a change.
class RemovingListener : public IControlListener {
public:
    void valueChanged(CControl* control) override
    {
        ++changes;
        if (auto* parent = dynamic_cast<CViewContainer*>(control->getParentView())) parent->removeView(control);
    }
    int changes = 0;
};

class RobustnessTest : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 300, 200), &editor); }
    void TearDown() override
    {
        if (frame) frame->forget();
    }
    EventLog log;
    RecordingEditor editor{log};
    CFrame* frame = nullptr;
};

TEST_F(RobustnessTest, ViewRemovedDuringItsOwnEventIsSurvived)
{
    RemovingListener remover;
    auto* page = new CViewContainer(CRect(0, 0, 300, 200));
    frame->addView(page);
    auto* slider = new CHorizontalSlider(CRect(0, 0, 100, 20), &remover, 4, 0, 100, nullptr, nullptr, CPoint(), kLeft);
    page->addView(slider);
    CPoint p(50, 10);
    frame->onMouseDown(p, kLButton);
    EXPECT_EQ(remover.changes, 1);
    EXPECT_EQ(page->getNbViews(), 0);
    // The gesture's host edit is closed as the control leaves.
    EXPECT_EQ(log.entries, (std::vector<std::string>{"host-begin 4", "host-end 4"}));
    p = CPoint(70, 10);
    EXPECT_EQ(frame->onMouseMoved(p, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(frame->onMouseUp(p, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(remover.changes, 1);
}

TEST_F(RobustnessTest, FocusedTextEditRemovedWhileEditing)
{
    EventLog listenerLog;
    RecordingListener listener(listenerLog);
    auto* edit = new CTextEdit(CRect(0, 0, 100, 20), &listener, 1, "x");
    frame->addView(edit);
    click(frame, {10, 10});
    ASSERT_EQ(frame->getFocusView(), edit);
    VstKeyCode key{'y', VKEY_NONE, 0};
    frame->onKeyDown(key);
    frame->removeView(edit);
    EXPECT_EQ(frame->getFocusView(), nullptr);
    VstKeyCode ret{0, VKEY_RETURN, 0};
    EXPECT_EQ(frame->onKeyDown(ret), -1);
}

TEST_F(RobustnessTest, ClosingTheFrameWhilePopupIsOpen)
{
    EventLog listenerLog;
    RecordingListener listener(listenerLog);
    auto* menu = new COptionMenu(CRect(10, 10, 110, 31), &listener, 9);
    menu->addEntry("A");
    menu->addEntry("B");
    menu->remember(); // outlives the frame
    frame->addView(menu);
    click(frame, {50, 20});
    ASSERT_TRUE(menu->isPopupOpen());
    frame->close();
    frame = nullptr;
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_TRUE(listenerLog.entries.empty()) << "closing chooses nothing";
    EXPECT_EQ(menu->getNbReference(), 1);
    menu->forget();
}

TEST_F(RobustnessTest, TimersFireStopAndDieSafely)
{
    int fired = 0;
    auto* second = new CVSTGUITimer([&](CVSTGUITimer*) { ++fired; }, 10, true);
    auto* first = new CVSTGUITimer(
        [&](CVSTGUITimer* self) {
            ++fired;
            self->stop();
            second->forget(); // destroyed while the timers are being fired
            second = nullptr;
        },
        10, true);
    const auto later = CVSTGUITimer::Clock::now() + std::chrono::milliseconds(50);
    CVSTGUITimer::runDueTimers(later);
    EXPECT_GE(fired, 1);
    EXPECT_EQ(CVSTGUITimer::runningTimerCount(), 0u);
    first->forget();

    // A target timer sends the timer message, compared by pointer.
    struct Target : CBaseObject {
        CMessageResult notify(CBaseObject*, IdStringPtr message) override
        {
            if (message == CVSTGUITimer::kMsgTimer) ++ticks;
            return kMessageNotified;
        }
        int ticks = 0;
    };
    auto* target = new Target;
    auto* timer = new CVSTGUITimer(target, 100, true);
    CVSTGUITimer::runDueTimers(CVSTGUITimer::Clock::now() + std::chrono::milliseconds(10));
    EXPECT_EQ(target->ticks, 0);
    CVSTGUITimer::runDueTimers(CVSTGUITimer::Clock::now() + std::chrono::milliseconds(1000));
    EXPECT_EQ(target->ticks, 1) << "missed periods are skipped, not burst";
    timer->forget();
    EXPECT_EQ(CVSTGUITimer::runningTimerCount(), 0u);
    target->forget();
}

} // namespace
} // namespace viewkit::test
