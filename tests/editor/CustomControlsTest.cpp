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

TEST_F(ButtonTest, OnlyTheLeftButtonPresses)
{
    CMyTextButton* b = add(CMyTextButton::kOnOffStyle);
    CPoint p(20, 20);
    EXPECT_EQ(b->onMouseDown(p, CButtonState(kRButton)), kMouseEventNotHandled);
    EXPECT_EQ(b->onMouseDown(p, CButtonState(kLButton | kRButton)), kMouseEventNotHandled);
    EXPECT_TRUE(reports.values.empty());
    EXPECT_EQ(b->onMouseMoved(p, CButtonState(kLButton)), kMouseEventNotHandled);
}

TEST_F(ButtonTest, CopiesAndSizesItself)
{
    CMyTextButton* b = add(CMyTextButton::kOnOffStyle);
    b->setTitle("SimpleMode");
    b->setRoundRadius(2.0);
    b->setTextColorHighlighted(kRedCColor);
    b->setValue(1.f);
    b->group = 3;
    CMyTextButton* copy = b->newCopy();
    EXPECT_EQ(copy->getTitle(), "SimpleMode");
    EXPECT_EQ(copy->getRoundRadius(), 2.0);
    EXPECT_EQ(copy->getTextColorHighlighted(), kRedCColor);
    EXPECT_EQ(copy->getStyle(), CMyTextButton::kOnOffStyle);
    EXPECT_EQ(copy->getGradient(), b->getGradient()); // shared, not duplicated
    EXPECT_TRUE(copy->isOn());
    EXPECT_EQ(copy->group, 3);
    copy->forget();

    ASSERT_TRUE(b->sizeToFit());
    EXPECT_GT(b->getWidth(), 12.0 + 30); // four times (radius + 1), plus the text
    EXPECT_EQ(b->getHeight(), 30.0);
    b->setTitle("");
    EXPECT_FALSE(b->sizeToFit());

    CGraphicsPath path;
    EXPECT_TRUE(b->getFocusPath(path, 2.0));
    EXPECT_FALSE(path.isEmpty());
    EXPECT_FALSE(b->drawFocusOnTop());
}

} // namespace
} // namespace vexbit
