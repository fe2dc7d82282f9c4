// The editor's own text button, on a bare frame with a listener that writes down
// every report.
#include "editor/CMyTextButton.h"

#include "viewkit/Frame.h"
#include "viewkit/GraphicsPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexbit {
namespace {

using namespace viewkit;

class Reports : public IControlListener, public VSTGUIEditorInterface {
public:
    void valueChanged(CControl* c) override { values.push_back(c->getValue()); }
    void beginEdit(int32_t) override { log += "b"; }
    void endEdit(int32_t) override { log += "e"; }
    std::vector<float> values;
    std::string log;
};

class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() : frame(new CFrame(CRect(0, 0, 200, 100), &reports)) {}
    ~ButtonTest() override { frame->forget(); }

    CMyTextButton* add(CMyTextButton::Style style)
    {
        auto* b = new CMyTextButton(CRect(10, 10, 60, 40), &reports, 5, "M", style);
        frame->addView(b);
        return b;
    }
    void down(CPoint p) { frame->onMouseDown(p, CButtonState(kLButton)); }
    void move(CPoint p) { frame->onMouseMoved(p, CButtonState(kLButton)); }
    void up(CPoint p) { frame->onMouseUp(p, CButtonState(kLButton)); }

    Reports reports;
    CFrame* frame;
};

TEST_F(ButtonTest, OnOffButtonTakesEffectOnPressAndFollowsThePointer)
{
    CMyTextButton* b = add(CMyTextButton::kOnOffStyle);
    down(CPoint(20, 20));
    EXPECT_EQ(reports.values, (std::vector<float>{0.f, 1.f}));
    move(CPoint(100, 80)); // out: back to where it started
    move(CPoint(110, 80));
    up(CPoint(110, 80));
    EXPECT_EQ(reports.values, (std::vector<float>{0.f, 1.f, 0.f}));
    EXPECT_EQ(b->getValue(), 0.f);
    EXPECT_EQ(reports.log, "be");

    reports.values.clear();
    down(CPoint(20, 20));
    move(CPoint(60, 40)); // the right and bottom edges still count as inside
    up(CPoint(60, 40));
    EXPECT_EQ(reports.values, (std::vector<float>{0.f, 1.f}));
    EXPECT_TRUE(b->isOn());

    reports.values.clear();
    b->setValue(0.4f); // between off and on: the press makes it on, the pointer then turns it off
    down(CPoint(20, 20));
    up(CPoint(20, 20));
    EXPECT_EQ(reports.values, (std::vector<float>{1.f, 0.f}));
}

TEST_F(ButtonTest, KickButtonFallsBackOnReleaseAndOnReturn)
{
    CMyTextButton* b = add(CMyTextButton::kKickStyle);
    down(CPoint(20, 20));
    up(CPoint(20, 20));
    EXPECT_EQ(reports.values, (std::vector<float>{0.f, 1.f, 0.f}));
    EXPECT_EQ(b->getValue(), 0.f);

    reports.values.clear();
    reports.log.clear();
    VstKeyCode key;
    key.virt = VKEY_RETURN;
    EXPECT_EQ(b->onKeyDown(key), 1);
    EXPECT_EQ(reports.values, (std::vector<float>{1.f, 0.f}));
    EXPECT_EQ(reports.log, "be");
    key.modifier = MODIFIER_SHIFT;
    EXPECT_EQ(b->onKeyDown(key), -1);
}

TEST_F(ButtonTest, CancelShowsTheEntryValueAgainWithoutReporting)
{
    CMyTextButton* b = add(CMyTextButton::kOnOffStyle);
    down(CPoint(20, 20));
    EXPECT_TRUE(b->isOn());
    frame->onMouseCancel();
    EXPECT_EQ(b->getValue(), 0.f);
    EXPECT_EQ(reports.values, (std::vector<float>{0.f, 1.f}));
    EXPECT_EQ(reports.log, "be");
}

} // namespace
} // namespace vexbit
