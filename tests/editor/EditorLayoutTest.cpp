// The whole window as built and painted: size, title bars, controls where the
// layout puts them, the Shuffler's starting page, and reopening.
#include "editor/EditorTestKit.h"
#include "common/ParameterIds.h"

#include "editor/CMyTextButton.h"
#include "editor/CMouseHookView.h"
#include "editor/layout/ControlLayout.h"
#include "editor/layout/EditorColours.h"
#include "editor/layout/EditorGeometry.h"

#include "viewkit/AnimKnob.h"
#include "viewkit/Offscreen.h"
#include "viewkit/OptionMenu.h"
#include "viewkit/RockerSwitch.h"
#include "viewkit/Slider.h"
#include "viewkit/TabView.h"
#include "viewkit/TextEdit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vexbit::test {
namespace {

using viewkit::CColor;
using viewkit::CRect;

CRect rectOf(const FrameRect& r)
{
    return CRect(r.x, r.y, r.x + r.w, r.y + r.h);
}

TEST(EditorWindow, BuildsEveryLayoutControlAtItsRectangle)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());

    // Every bound control of the layout is where the layout says, in the tag map;
    // a page's controls are placed while that page is shown.
    int checked = 0;
    for (int page = 0; page < 2; ++page) {
        f.editor->getShufflerTabs()->selectTab(page);
        const LayoutParent hidden = page == 0 ? LayoutParent::ShufflerPage1 : LayoutParent::ShufflerPage0;
        for (const LayoutStep& step : controlLayout()) {
            if (!isBoundControl(step.kind) || step.parent == hidden ||
                (page == 1 && step.parent == LayoutParent::Frame))
                continue;
            SCOPED_TRACE(step.tag);
            CRect want = rectOf(frameRectOf(step));
            if (step.kind == LayoutKind::Stepper) {
                want = rectOf(stepperTextRect(step));
                if (step.parent == LayoutParent::ShufflerPage1) want.offset(kShufflerPageRect.x, kShufflerPageRect.y);
            }
            bool found = false;
            for (auto* c : f.controls<viewkit::CControl>(step.tag)) found = found || c->getFrameRect() == want;
            EXPECT_TRUE(found);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
    // The right-click catcher covers the window, above everything else.
    ASSERT_NE(f.editor->getMouseHook(), nullptr);
    EXPECT_EQ(f.frame()->getView(f.frame()->getNbViews() - 1), f.editor->getMouseHook());
    EXPECT_EQ(f.editor->getMouseHook()->getViewSize(), CRect(0, 0, 1211, 665));
}

TEST(EditorWindow, ControlsStartFromTheControllerAndTextFieldsShowItsText)
{
    EditorFixture f;
    f.setHostValue(kDelayLevelId, 0.5);
    f.setHostValue(kDelayOnOffId, 1.0);
    ASSERT_TRUE(f.open());
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(kDelayLevelId)->getValueNormalized(), 0.5f);
    EXPECT_FLOAT_EQ(f.control<CMyTextButton>(kDelayOnOffId)->getValue(), 1.f);
    // Level 0..1 with the two decimals the editor asks for.
    EXPECT_EQ(f.control<viewkit::CTextEdit>(kDelayLevelId)->getText(), "0.50");
    // A list parameter shows its entry: 603 defaults to "1/16".
    EXPECT_EQ(f.control<viewkit::COptionMenu>(kShufflerLengthId)->getNbEntries(), 5);
    EXPECT_EQ(f.control<viewkit::COptionMenu>(kShufflerLengthId)->getCurrentIndex(), 1);
    // Every table parameter is watched by the timer, "Bypass" (not ours) is not.
    EXPECT_EQ(f.editor->getLastValues().size(), 82u);
    EXPECT_EQ(f.editor->getLastValues().count(0x7FFFFFFF), 0u);
}

TEST(EditorWindow, ShufflerOpensOnTheSimplePageOnlyAboveOneHalf)
{
    for (const auto& [value, page] : {std::pair{1.0, 0}, {0.5, 1}, {0.0, 1}, {0.51, 0}}) {
        SCOPED_TRACE(value);
        EditorFixture f;
        f.setHostValue(kShufflerSimpleModeId, value);
        ASSERT_TRUE(f.open());
        ASSERT_NE(f.editor->getShufflerTabs(), nullptr);
        EXPECT_EQ(f.editor->getShufflerTabs()->getCurrentSelectedTab(), page);
        EXPECT_EQ(f.editor->getShufflerTabs()->getFrameRect(), CRect(190, 470, 785, 550));
    }
}

TEST(EditorWindow, OpensOnceAndRebuildsCleanlyAfterAClose)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    EXPECT_FALSE(f.open());
    const size_t bound = f.editor->getControlsByTag().size();
    const size_t behaviours = f.editor->getBehaviours().size();
    EXPECT_EQ(f.controller->getEditor(), f.editor);

    f.close();
    EXPECT_EQ(f.editor->getFrame(), nullptr);
    EXPECT_EQ(f.controller->getEditor(), nullptr);
    EXPECT_TRUE(f.editor->getControlsByTag().empty());
    // With no frame, a tick or a refresh request touches nothing.
    f.setHostValue(kDelayLevelId, 0.9);
    f.tick(12);
    f.editor->updateControls(202);

    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.editor->getControlsByTag().size(), bound);
    EXPECT_EQ(f.editor->getBehaviours().size(), behaviours);
    EXPECT_EQ(f.controller->getEditor(), f.editor);
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(kDelayLevelId)->getValueNormalized(), 0.9f);
}

} // namespace
} // namespace vexbit::test
