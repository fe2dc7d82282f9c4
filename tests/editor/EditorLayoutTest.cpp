// The whole window as built and painted: size, title bars, controls where the
// layout puts them, the Shuffler's starting page, and reopening.
#include "editor/EditorTestKit.h"

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

bool near(const CColor& a, const Rgba& b, int tolerance = 2)
{
    return std::abs(a.red - b.r) <= tolerance && std::abs(a.green - b.g) <= tolerance &&
           std::abs(a.blue - b.b) <= tolerance;
}

viewkit::CTextLabel* labelWithText(EditorFixture& f, const std::string& text, const CRect& where)
{
    for (auto* label : f.allViews<viewkit::CTextLabel>())
        if (label->getText() == text && label->getFrameRect() == where) return label;
    return nullptr;
}

TEST(EditorWindow, PaintsTheWholeWindowWithBothTitleBarsInTheirColours)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.frame()->getViewSize(), CRect(0, 0, 1211, 665));

    const auto image = viewkit::OffscreenImage::render(f.frame());
    ASSERT_EQ(image.width(), 1211);
    ASSERT_EQ(image.height(), 665);

    for (const auto& [title, top] : {std::pair<std::string, int>{"AutoPlay Setting", 5}, {"Effector Setting", 225}}) {
        SCOPED_TRACE(title);
        viewkit::CTextLabel* bar = labelWithText(f, title, CRect(5, top, 1205, top + 25));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->getBackColor(), toColor(Green));
        EXPECT_EQ(bar->getFontColor(), toColor(Black));
        // Left of the centred title the bar is plain green; its outer ring too.
        EXPECT_TRUE(near(image.pixel(20, top + 12), Green));
        EXPECT_TRUE(near(image.pixel(5, top), Green));
        EXPECT_TRUE(near(image.pixel(1204, top + 24), Green));
        // Some dark pixels of the black title text lie near the middle.
        int dark = 0;
        for (int x = 540; x < 670; ++x)
            for (int y = top + 5; y < top + 20; ++y) dark += image.pixel(x, y).green < 100 ? 1 : 0;
        EXPECT_GT(dark, 20);
    }
}

TEST(EditorWindow, BuildsEveryLayoutControlAtItsRectangle)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());

    // A sample across both sections and both Shuffler pages.
    EXPECT_EQ(f.control<CMyTextButton>(1)->getFrameRect(), CRect(147, 70, 197, 100));
    EXPECT_EQ(f.control<viewkit::CAnimKnob>(202)->getFrameRect(), CRect(202, 288, 252, 338));
    EXPECT_EQ(f.control<viewkit::CHorizontalSlider>(3)->getFrameRect(), CRect(385, 75, 480, 96));
    EXPECT_EQ(f.control<viewkit::COptionMenu>(142)->getFrameRect(), CRect(990, 75, 1065, 96));
    EXPECT_EQ(f.control<viewkit::CAnimKnob>(603)->getFrameRect(), CRect(202, 488, 252, 538));
    EXPECT_EQ(f.control<viewkit::COptionMenu>(603)->getFrameRect(), CRect(193, 528, 263, 549));
    EXPECT_EQ(f.control<CMyTextButton>(602)->getFrameRect(), CRect(700, 525, 775, 546));
    EXPECT_EQ(f.control<CMyTextButton>(10703)->getFrameRect(), CRect(1155, 480, 1176, 501));

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
    EXPECT_EQ(f.control<viewkit::CHorizontalSlider>(620)->getFrameRect(), CRect(660, 475, 720, 496));

    // Stepper: text field 25 px narrower, rocker at the right end, 4 px apart.
    auto* edit = f.control<viewkit::CTextEdit>(202);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->getFrameRect(), CRect(193, 328, 238, 349));
    const auto all = f.allViews<viewkit::CControl>();
    EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                            [](viewkit::CControl* c) { return c->getFrameRect() == CRect(242, 328, 263, 349); }));
    int rockers = 0;
    for (auto* c : all) {
        if (auto* r = dynamic_cast<viewkit::CRockerSwitch*>(c)) {
            ++rockers;
            EXPECT_EQ(r->getTag(), -1);
            EXPECT_FLOAT_EQ(r->getValueNormalized(), 0.5f);
        }
    }
    const auto steppers = std::count_if(controlLayout().begin(), controlLayout().end(),
                                        [](const LayoutStep& s) { return s.kind == LayoutKind::Stepper; });
    EXPECT_EQ(rockers, steppers);
    // Kick buttons are not bound and 25 px wide whatever their height.
    EXPECT_TRUE(f.controls<viewkit::CControl>(70200).empty());
    EXPECT_TRUE(f.controls<viewkit::CControl>(299).empty());

    // The right-click catcher covers the window, above everything else.
    ASSERT_NE(f.editor->getMouseHook(), nullptr);
    EXPECT_EQ(f.frame()->getView(f.frame()->getNbViews() - 1), f.editor->getMouseHook());
    EXPECT_EQ(f.editor->getMouseHook()->getViewSize(), CRect(0, 0, 1211, 665));
}

TEST(EditorWindow, ControlsStartFromTheControllerAndTextFieldsShowItsText)
{
    EditorFixture f;
    f.setHostValue(202, 0.5);
    f.setHostValue(201, 1.0);
    ASSERT_TRUE(f.open());
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(202)->getValueNormalized(), 0.5f);
    EXPECT_FLOAT_EQ(f.control<CMyTextButton>(201)->getValue(), 1.f);
    // Level 0..1 with the two decimals the editor asks for.
    EXPECT_EQ(f.control<viewkit::CTextEdit>(202)->getText(), "0.50");
    // A list parameter shows its entry: 603 defaults to "1/16".
    EXPECT_EQ(f.control<viewkit::COptionMenu>(603)->getNbEntries(), 5);
    EXPECT_EQ(f.control<viewkit::COptionMenu>(603)->getCurrentIndex(), 1);
    // Every table parameter is watched by the timer, "Bypass" (not ours) is not.
    EXPECT_EQ(f.editor->getLastValues().size(), 82u);
    EXPECT_EQ(f.editor->getLastValues().count(0x7FFFFFFF), 0u);
}

TEST(EditorWindow, ShufflerOpensOnTheSimplePageOnlyAboveOneHalf)
{
    for (const auto& [value, page] : {std::pair{1.0, 0}, {0.5, 1}, {0.0, 1}, {0.51, 0}}) {
        SCOPED_TRACE(value);
        EditorFixture f;
        f.setHostValue(602, value);
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
    f.setHostValue(202, 0.9);
    f.tick(12);
    f.editor->updateControls(202);

    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.editor->getControlsByTag().size(), bound);
    EXPECT_EQ(f.editor->getBehaviours().size(), behaviours);
    EXPECT_EQ(f.controller->getEditor(), f.editor);
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(202)->getValueNormalized(), 0.9f);
}

TEST(EditorWindow, RepaintsEverythingOnEveryTenthTick)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    viewkit::OffscreenImage::render(f.frame()); // everything drawn once: nothing is dirty
    f.frame()->takeInvalidRect();
    f.tick(9);
    EXPECT_TRUE(f.frame()->takeInvalidRect().isEmpty());
    f.tick();
    EXPECT_EQ(f.frame()->takeInvalidRect(), CRect(0, 0, 1211, 665));
}

TEST(EditorView, TheControllerKnowsItsEditorOnlyWhileTheViewLives)
{
    EditorFixture f;
    Steinberg::IPlugView* view = f.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(f.controller->getEditor(), dynamic_cast<EditorControls*>(view));
    EXPECT_EQ(f.controller->createView("Editor"), nullptr);
    // Released by the host without ever being removed: the controller must not keep it.
    view->release();
    EXPECT_EQ(f.controller->getEditor(), nullptr);
    // The fixture's own editor is untouched by another view going away.
    f.controller->setEditor(f.editor);
    Steinberg::IPlugView* second = f.controller->createView("editor");
    f.controller->setEditor(f.editor);
    second->release();
    EXPECT_EQ(f.controller->getEditor(), f.editor);
}

} // namespace
} // namespace vexbit::test
