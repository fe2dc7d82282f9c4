// Controls and the real controller kept in step, both ways.
#include "editor/EditorTestKit.h"
#include "common/ParameterIds.h"

#include "editor/CMyTextButton.h"
#include "editor/CMouseHookView.h"
#include "product/ModuleConfig.h"

#include "viewkit/AnimKnob.h"
#include "viewkit/Offscreen.h"
#include "viewkit/OptionMenu.h"
#include "viewkit/RockerSwitch.h"
#include "viewkit/TabView.h"
#include "viewkit/TextEdit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vexbit::test {
namespace {

using namespace Steinberg;
using viewkit::CPoint;

// Knobs follow the pointer linearly here: 200 px up = the whole range.
class LinearKnobs : public ::testing::Test {
protected:
    void SetUp() override { f.controller->setKnobMode(Vst::kLinearMode); }
    void TearDown() override { f.controller->setKnobMode(Vst::kCircularMode); }

    void dragUp(int32_t tag, double pixels)
    {
        const CPoint from = centreOf(f.control<viewkit::CAnimKnob>(tag));
        f.press(from);
        f.moveTo(CPoint(from.x, from.y - pixels));
        f.release(CPoint(from.x, from.y - pixels));
    }

    EditorFixture f;
};

TEST_F(LinearKnobs, KnobDragEditsWithTheControlValueAndStoresTheValueOnTheGrid)
{
    ASSERT_TRUE(f.open());
    // The Shuffler length is a five-entry list (page 0 is open at the default).
    f.setHostValue(kShufflerLengthId, 0.25);
    f.tick();
    dragUp(kShufflerLengthId, 40); // 0.25 + 0.2

    const auto performed = f.host->performed(kShufflerLengthId);
    ASSERT_FALSE(performed.empty());
    EXPECT_NEAR(performed.back(), 0.45, 1e-6);
    EXPECT_DOUBLE_EQ(f.value(kShufflerLengthId), 0.5);
    // Knob, menu and the host's begin/end all agree.
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(kShufflerLengthId)->getValueNormalized(), 0.5f);
    EXPECT_EQ(f.control<viewkit::COptionMenu>(kShufflerLengthId)->getCurrentIndex(), 2);
    EXPECT_EQ(f.host->calls.front().what, "begin");
    EXPECT_EQ(f.host->calls.back().what, "end");
    EXPECT_EQ(f.host->calls.back().id, 603u);
}

TEST_F(LinearKnobs, SnapButtonRoundsThePitchToWholeSemitones)
{
    ASSERT_TRUE(f.open());
    dragUp(kRetriggerPitchId, 37); // 0.5 + 0.185: plain 17.76
    EXPECT_NEAR(f.toPlain(kRetriggerPitchId, f.value(kRetriggerPitchId)), 17.76, 1e-3);

    auto* snap = f.control<CMyTextButton>(10703);
    ASSERT_NE(snap, nullptr);
    EXPECT_FLOAT_EQ(snap->getValue(), 0.f); // no parameter has this ID: snapping starts off
    f.click(centreOf(snap));
    EXPECT_EQ(f.editor->getSnapTags(), std::vector<int32_t>{703});

    dragUp(kRetriggerPitchId, 37); // about 0.87: plain 35.5 before snapping
    const double plain = f.toPlain(kRetriggerPitchId, f.value(kRetriggerPitchId));
    EXPECT_DOUBLE_EQ(plain, std::round(plain));
    EXPECT_DOUBLE_EQ(plain, 36.0);
    EXPECT_DOUBLE_EQ(f.host->performed(kRetriggerPitchId).back(), f.value(kRetriggerPitchId));
    // The button itself is no parameter: the host never hears of it.
    EXPECT_TRUE(f.host->performed(10703).empty());

    f.click(centreOf(snap));
    EXPECT_TRUE(f.editor->getSnapTags().empty());
    dragUp(kRetriggerPitchId, -3);
    EXPECT_NE(f.toPlain(kRetriggerPitchId, f.value(kRetriggerPitchId)),
              std::round(f.toPlain(kRetriggerPitchId, f.value(kRetriggerPitchId))));
}

viewkit::CRockerSwitch* rockerBeside(EditorFixture& f, int32_t tag)
{
    const viewkit::CRect text = f.control<viewkit::CTextEdit>(tag)->getFrameRect();
    for (auto* c : f.allViews<viewkit::CControl>())
        if (auto* r = dynamic_cast<viewkit::CRockerSwitch*>(c);
            r && r->getFrameRect().top == text.top && r->getFrameRect().left == text.right + 4)
            return r;
    return nullptr;
}

TEST(EditorSteppers, RockerStepsByThePlainStepAndStaysInsideTheRange)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    auto* rocker = rockerBeside(f, kLoFiBitDepthId); // bit depth 2..16, one bit per press
    ASSERT_NE(rocker, nullptr);
    const viewkit::CRect r = rocker->getFrameRect();
    const CPoint upper(r.left + 10, r.top + 3), lower(r.left + 10, r.bottom - 3);

    f.click(upper);
    EXPECT_DOUBLE_EQ(f.toPlain(kLoFiBitDepthId, f.value(kLoFiBitDepthId)), 6.0);
    EXPECT_EQ(f.control<viewkit::CTextEdit>(kLoFiBitDepthId)->getText(), "6");
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.5f);      // back in the middle
    EXPECT_EQ(f.host->performed(kLoFiBitDepthId).size(), 1u); // the release stepped nothing
    f.click(lower);
    f.click(lower);
    EXPECT_DOUBLE_EQ(f.toPlain(kLoFiBitDepthId, f.value(kLoFiBitDepthId)), 4.0);

    f.setHostValue(kLoFiBitDepthId, 1.0);
    f.tick();
    f.click(upper);
    f.setHostValue(kLoFiBitDepthId, 0.0);
    f.tick();
    f.click(lower);
    EXPECT_DOUBLE_EQ(f.value(kLoFiBitDepthId), 0.0);
    for (double v : f.host->performed(kLoFiBitDepthId)) {
        EXPECT_GE(v, 0.0);
        EXPECT_LE(v, 1.0);
    }
    // The rocker's gesture reaches the host as begin/end of tag -1, never as an edit.
    const auto rockerCalls = std::count_if(f.host->calls.begin(), f.host->calls.end(),
                                           [](const RecordingHandler::Call& c) { return c.id == 0xFFFFFFFFu; });
    EXPECT_EQ(rockerCalls, 10);
    EXPECT_TRUE(f.host->performed(0xFFFFFFFFu).empty());
}

TEST(EditorSteppers, TypedTextIsParsedByTheParameter)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    auto* field = f.control<viewkit::CTextEdit>(kDelayTimeId); // delay time, 20..500 ms, skewed
    ASSERT_NE(field, nullptr);
    auto typeInto = [&](const std::string& text) {
        f.click(centreOf(field));
        for (int i = 0; i < 12; ++i) f.pressKey(viewkit::VKEY_BACK);
        f.typeText(text);
        f.pressKey(viewkit::VKEY_RETURN);
    };

    typeInto("100");
    EXPECT_NEAR(f.toPlain(kDelayTimeId, f.value(kDelayTimeId)), 100.0, 1e-4); // the field holds a float
    EXPECT_EQ(field->getText(), "100.00");
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(kDelayTimeId)->getValueNormalized(),
                    static_cast<float>(f.value(kDelayTimeId)));

    // Text that is no number leaves the value and shows it again.
    const double before = f.value(kDelayTimeId);
    typeInto("fast");
    EXPECT_DOUBLE_EQ(f.value(kDelayTimeId), before);
    EXPECT_EQ(field->getText(), "100.00");

    // Out of range: the parameter's grid brings it back to its end.
    typeInto("9000");
    EXPECT_DOUBLE_EQ(f.value(kDelayTimeId), 1.0);
    EXPECT_EQ(field->getText(), "500.00");
}

TEST(EditorButtons, LengthButtonsSetTheirLengthAndNeverEditTheirOwnTag)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    auto clickButton = [&](int32_t id) {
        for (auto* c : f.allViews<viewkit::CControl>())
            if (c->getTag() == id) return f.click(centreOf(c));
        FAIL() << "no button " << id;
    };

    clickButton(70202); // "1/8": four thirty-seconds
    EXPECT_NEAR(f.toPlain(kRetriggerLengthId, f.value(kRetriggerLengthId)), 4.0, 1e-9);
    const auto edits = f.host->performed(kRetriggerLengthId);
    ASSERT_EQ(edits.size(), 3u); // press, press report, release: the same value each time
    EXPECT_TRUE(std::all_of(edits.begin(), edits.end(), [&](double v) { return v == edits.front(); }));
    EXPECT_TRUE(f.host->performed(70202).empty());

    clickButton(80205); // "1/1"
    EXPECT_NEAR(f.toPlain(kReverserLengthId, f.value(kReverserLengthId)), 32.0, 1e-9);
    clickButton(80200); // "1/32"
    EXPECT_NEAR(f.toPlain(kReverserLengthId, f.value(kReverserLengthId)), 1.0, 1e-9);
    EXPECT_FLOAT_EQ(f.control<viewkit::CAnimKnob>(kReverserLengthId)->getValueNormalized(),
                    static_cast<float>(f.value(kReverserLengthId)));
}

TEST(EditorRefresh, HostChangesReachTheControlsOnTheNextTick)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    auto* knob = f.control<viewkit::CAnimKnob>(kDelayLevelId);
    auto* button = f.control<CMyTextButton>(kDelayOnOffId);
    f.setHostValue(kDelayLevelId, 0.8);
    f.setHostValue(kDelayOnOffId, 1.0);
    EXPECT_NE(knob->getValueNormalized(), 0.8f);

    f.tick();
    EXPECT_FLOAT_EQ(knob->getValueNormalized(), 0.8f);
    EXPECT_EQ(f.control<viewkit::CTextEdit>(kDelayLevelId)->getText(), "0.80");
    EXPECT_FLOAT_EQ(button->getValue(), 1.f);
    EXPECT_TRUE(f.host->calls.empty()); // mirroring is not editing

    // The on button is painted in the light green, the off ones in the dark green.
    const auto image = viewkit::OffscreenImage::render(f.frame());
    const viewkit::CRect on = button->getFrameRect();
    const viewkit::CRect off = f.control<CMyTextButton>(kTapeStopOnOffId)->getFrameRect();
    EXPECT_EQ(image.pixel(static_cast<int>(on.left) + 4, static_cast<int>(on.top) + 4), toColor(Green));
    EXPECT_EQ(image.pixel(static_cast<int>(off.left) + 4, static_cast<int>(off.top) + 4), toColor(DarkGreen));
}

TEST(EditorContextMenu, RightClicksAnywhereOpenTheMenuAndLeftClicksPassThrough)
{
    EditorFixture f;
    ASSERT_TRUE(f.open());
    auto* hook = f.editor->getMouseHook();
    CPoint where(600, 150);
    EXPECT_EQ(hook->onMouseDown(where, viewkit::CButtonState(viewkit::kRButton | viewkit::kShift)),
              viewkit::kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(hook->onMouseDown(where, viewkit::CButtonState(viewkit::kRButton | viewkit::kLButton)),
              viewkit::kMouseEventNotImplemented);
    // A left click on a button under the hook still reaches it.
    f.click(centreOf(f.control<CMyTextButton>(1)));
    EXPECT_DOUBLE_EQ(f.value(1), 1.0);
}

} // namespace
} // namespace vexbit::test
