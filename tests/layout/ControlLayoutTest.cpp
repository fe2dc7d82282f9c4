#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/layout/ControlLayout.h"
#include "editor/layout/EditorColours.h"
#include "editor/layout/EditorGeometry.h"
#include "product/PluginParameterTable.h"

using namespace vexbit;

namespace {

// Every parameter ID the plug-in publishes, besides the controller's own bypass.
const std::set<int32_t>& parameterIds()
{
    static const std::set<int32_t> ids = [] {
        ParameterTable table;
        buildPluginParameterTable(table);
        std::set<int32_t> s;
        for (const auto& [id, record] : table) s.insert(static_cast<int32_t>(id));
        return s;
    }();
    return ids;
}

// Buttons that only identify themselves to the editor's behaviours.
bool isButtonOnlyTag(int32_t tag)
{
    return tag == 10703 || (tag >= 70200 && tag <= 70204) || (tag >= 80200 && tag <= 80205);
}

std::vector<LayoutStep> stepsOf(LayoutKind kind)
{
    std::vector<LayoutStep> out;
    for (const auto& s : controlLayout())
        if (s.kind == kind) out.push_back(s);
    return out;
}

const LayoutStep* find(LayoutKind kind, int32_t tag)
{
    for (const auto& s : controlLayout())
        if (s.kind == kind && s.tag == tag) return &s;
    return nullptr;
}

bool isControl(const LayoutStep& s)
{
    switch (s.kind) {
    case LayoutKind::TitleBar:
    case LayoutKind::Label:
    case LayoutKind::OnOffButton:
    case LayoutKind::KickButton:
    case LayoutKind::Knob:
    case LayoutKind::Slider:
    case LayoutKind::RockerSwitch:
    case LayoutKind::TextEdit:
    case LayoutKind::Stepper:
    case LayoutKind::OptionMenu: return true;
    default: return false;
    }
}

} // namespace

TEST(ControlLayout, HasTheExpectedNumberOfEachKind)
{
    const std::map<LayoutKind, size_t> expected{
        {LayoutKind::FrameBackground, 1},
        {LayoutKind::TitleBar, 14},
        {LayoutKind::Label, 45},
        {LayoutKind::OnOffButton, 28},
        {LayoutKind::KickButton, 19},
        {LayoutKind::Knob, 17},
        {LayoutKind::Slider, 19},
        {LayoutKind::Stepper, 38},
        {LayoutKind::OptionMenu, 9},
        {LayoutKind::Precision, 32},
        {LayoutKind::ShufflerTabs, 1},
        {LayoutKind::ShufflerPage, 2},
        {LayoutKind::SelectShufflerPage, 1},
        {LayoutKind::RockerSwitch, 0},
        {LayoutKind::TextEdit, 0},
    };
    for (const auto& [kind, count] : expected)
        EXPECT_EQ(stepsOf(kind).size(), count) << "kind " << static_cast<int>(kind);
}

TEST(ControlLayout, BuildsSectionsAndPanelsInOrder)
{
    std::vector<std::string> titles;
    for (const auto& s : stepsOf(LayoutKind::TitleBar)) titles.emplace_back(s.text);
    const std::vector<std::string> expected{"AutoPlay Setting", "AutoPlay",  "Effector Setting", "Delay",   "Granular",
                                            "TapeStop",         "Filter",    "LowPass",          "LowPass", "Lo-fi",
                                            "Shuffler",         "Retrigger", "Reverser",         "Gator"};
    EXPECT_EQ(titles, expected);

    const auto steps = controlLayout();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().kind, LayoutKind::FrameBackground);
    EXPECT_EQ(steps.front().text, kBackgroundResource);
    EXPECT_EQ(steps.back().kind, LayoutKind::Stepper);
    EXPECT_EQ(steps.back().tag, 902);
}

TEST(ControlLayout, PlacesASampleOfControlsExactly)
{
    struct Expect {
        LayoutKind kind;
        int32_t tag;
        int x, y, w, h;
    };
    const Expect samples[] = {
        {LayoutKind::OnOffButton, 1, 147, 70, 50, 30},
        {LayoutKind::Stepper, 2, 135, 165, 75, 21},
        {LayoutKind::Slider, 3, 385, 75, 95, 21},
        {LayoutKind::Stepper, 3, 480, 75, 70, 21},
        {LayoutKind::OnOffButton, 130, 325, 175, 50, 21},
        {LayoutKind::OptionMenu, 172, 990, 150, 75, 21},
        {LayoutKind::Slider, 141, 810, 75, 95, 21},
        {LayoutKind::OnOffButton, 800, 35, 570, 25, 25},
        {LayoutKind::KickButton, 999, 460, 570, 25, 25},
        {LayoutKind::OnOffButton, 701, 892, 485, 50, 30},
        {LayoutKind::Knob, 207, 617, 288, 50, 50},
        {LayoutKind::Stepper, 207, 608, 328, 70, 21},
        {LayoutKind::Knob, 405, 482, 388, 50, 50},
        {LayoutKind::Stepper, 503, 1060, 410, 50, 21},
        {LayoutKind::Knob, 603, 12, 18, 50, 50},
        {LayoutKind::OptionMenu, 603, 3, 58, 70, 21},
        {LayoutKind::Slider, 619, 320, 55, 60, 21},
        {LayoutKind::Stepper, 620, 530, 5, 55, 21},
        {LayoutKind::OnOffButton, 602, 700, 525, 75, 21},
        {LayoutKind::KickButton, 70204, 1056, 520, 25, 19},
        {LayoutKind::OnOffButton, 10703, 1155, 480, 21, 21},
        {LayoutKind::OnOffButton, 704, 970, 560, 55, 21},
        {LayoutKind::KickButton, 80205, 306, 620, 25, 19},
        {LayoutKind::Stepper, 902, 583, 628, 70, 21},
    };
    for (const auto& e : samples) {
        const LayoutStep* s = find(e.kind, e.tag);
        ASSERT_NE(s, nullptr) << "tag " << e.tag;
        EXPECT_EQ((std::vector<int>{s->x, s->y, s->w, s->h}), (std::vector<int>{e.x, e.y, e.w, e.h}))
            << "tag " << e.tag;
    }
}

TEST(ControlLayout, SteppersCarryTheirStepsAndPrecisionComesFirst)
{
    EXPECT_DOUBLE_EQ(find(LayoutKind::Stepper, 203)->step, 10.0);
    EXPECT_DOUBLE_EQ(find(LayoutKind::Stepper, 207)->step, 20.0);
    EXPECT_DOUBLE_EQ(find(LayoutKind::Stepper, 402)->step, 200.0);
    EXPECT_DOUBLE_EQ(find(LayoutKind::Stepper, 403)->step, 0.1);
    EXPECT_DOUBLE_EQ(find(LayoutKind::Stepper, 702)->step, 0.01);

    // A precision is set before the first control of its tag; some tags keep their own.
    const std::map<int32_t, int> decimals{{3, 0},   {101, 0}, {171, 0}, {202, 2}, {207, 2}, {303, 2},
                                          {402, 1}, {405, 1}, {603, 2}, {611, 0}, {620, 0}};
    const auto steps = controlLayout();
    for (const auto& [tag, n] : decimals) {
        auto precision = std::find_if(steps.begin(), steps.end(), [&](const LayoutStep& s) {
            return s.kind == LayoutKind::Precision && s.tag == tag;
        });
        auto control =
            std::find_if(steps.begin(), steps.end(), [&](const LayoutStep& s) { return isControl(s) && s.tag == tag; });
        ASSERT_NE(precision, steps.end()) << tag;
        EXPECT_EQ(precision->precision, n) << tag;
        EXPECT_LT(precision - steps.begin(), control - steps.begin()) << tag;
    }
    for (int32_t tag : {2, 502, 503, 702, 703, 802, 902}) EXPECT_EQ(find(LayoutKind::Precision, tag), nullptr) << tag;
}

TEST(ControlLayout, ShufflerPagesComeBetweenItsHeadAndSimpleMode)
{
    const auto steps = controlLayout();
    auto indexOf = [&](auto pred) { return std::find_if(steps.begin(), steps.end(), pred) - steps.begin(); };
    const auto effectLabel = indexOf([](const LayoutStep& s) {
        return s.kind == LayoutKind::Label && s.text == "Effect" && s.x == 110 && s.y == 515;
    });
    const auto tabs = indexOf([](const LayoutStep& s) { return s.kind == LayoutKind::ShufflerTabs; });
    const auto simpleMode =
        indexOf([](const LayoutStep& s) { return s.tag == 602 && s.kind == LayoutKind::OnOffButton; });
    const auto select = indexOf([](const LayoutStep& s) { return s.kind == LayoutKind::SelectShufflerPage; });
    const auto retrigger =
        indexOf([](const LayoutStep& s) { return s.text == "Retrigger" && s.kind == LayoutKind::TitleBar; });
    EXPECT_EQ(effectLabel + 1, tabs);
    EXPECT_LT(tabs, simpleMode);
    EXPECT_EQ(simpleMode + 1, select);
    EXPECT_EQ(select + 1, retrigger);

    EXPECT_EQ(steps[simpleMode].behaviour, LayoutBehaviour::Custom);
    EXPECT_EQ(steps[tabs + 1].parent, LayoutParent::ShufflerTabs);
    EXPECT_EQ(steps[tabs + 1].text, kShufflerPageResource);
    for (auto i = tabs + 1; i < simpleMode; ++i) EXPECT_NE(steps[i].parent, LayoutParent::Frame) << i;
}

TEST(ControlLayout, BehavioursAreAttachedWhereTheEditorExpectsThem)
{
    const LayoutStep* snap = find(LayoutKind::OnOffButton, 10703);
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(snap->behaviour, LayoutBehaviour::SnapToggle);
    EXPECT_EQ(snap->behaviourTag, 703);
    int custom = 0;
    for (const auto& s : stepsOf(LayoutKind::KickButton)) {
        EXPECT_EQ(s.w, kKickButtonWidth);
        if (s.behaviour == LayoutBehaviour::Custom) {
            ++custom;
            EXPECT_TRUE(isButtonOnlyTag(s.tag)) << s.tag;
        }
    }
    EXPECT_EQ(custom, 11);
}

TEST(ControlLayout, EveryTagIsAParameterOrAButtonId)
{
    std::set<int32_t> shown;
    for (const auto& s : controlLayout()) {
        if (!isControl(s) && s.kind != LayoutKind::Precision) continue;
        if (s.kind == LayoutKind::Label || s.kind == LayoutKind::TitleBar) {
            EXPECT_EQ(s.tag, -1);
            continue;
        }
        EXPECT_TRUE(parameterIds().count(s.tag) == 1 || isButtonOnlyTag(s.tag)) << s.tag;
        shown.insert(s.tag);
    }
    EXPECT_EQ(parameterIds().size(), 82u);
    // Every parameter has a control somewhere in the window.
    for (int32_t id : parameterIds()) EXPECT_EQ(shown.count(id), 1u) << id;
}

TEST(ControlLayout, OnlyKnownPairsShareATag)
{
    std::map<int32_t, std::multiset<LayoutKind>> byTag;
    for (const auto& s : controlLayout())
        if (isBoundControl(s.kind)) byTag[s.tag].insert(s.kind);
    const std::set<std::multiset<LayoutKind>> allowed{
        {LayoutKind::Knob, LayoutKind::Stepper},
        {LayoutKind::Slider, LayoutKind::Stepper},
        {LayoutKind::Knob, LayoutKind::OptionMenu},
    };
    for (const auto& [tag, kinds] : byTag) {
        if (kinds.size() > 1) {
            EXPECT_EQ(allowed.count(kinds), 1u) << "tag " << tag;
        }
    }
    EXPECT_EQ(byTag[603], (std::multiset<LayoutKind>{LayoutKind::Knob, LayoutKind::OptionMenu}));
    EXPECT_EQ(byTag[3], (std::multiset<LayoutKind>{LayoutKind::Slider, LayoutKind::Stepper}));
}

TEST(ControlLayout, ControlsLieInsideTheWindowAndPages)
{
    for (const auto& s : controlLayout()) {
        if (!isControl(s)) continue;
        const FrameRect r = frameRectOf(s);
        EXPECT_GE(r.x, 0) << s.tag << " " << s.text;
        EXPECT_GE(r.y, 0) << s.tag << " " << s.text;
        EXPECT_LE(r.x + r.w, kEditorWidth) << s.tag << " " << s.text;
        EXPECT_LE(r.y + r.h, kEditorHeight) << s.tag << " " << s.text;
        if (s.parent == LayoutParent::ShufflerPage0 || s.parent == LayoutParent::ShufflerPage1) {
            EXPECT_GE(s.x, 0) << s.tag;
            EXPECT_GE(s.y, 0) << s.tag;
            EXPECT_LE(s.x + s.w, kShufflerPageRect.w) << s.tag;
            EXPECT_LE(s.y + s.h, kShufflerPageRect.h) << s.tag;
        }
    }
}

TEST(ControlLayout, StepperPartsSplitItsRectangle)
{
    const LayoutStep* s = find(LayoutKind::Stepper, 202);
    ASSERT_NE(s, nullptr);
    const FrameRect text = stepperTextRect(*s);
    const FrameRect rocker = stepperRockerRect(*s);
    EXPECT_EQ((std::vector<int>{text.x, text.y, text.w, text.h}), (std::vector<int>{193, 328, 45, 21}));
    EXPECT_EQ((std::vector<int>{rocker.x, rocker.y, rocker.w, rocker.h}), (std::vector<int>{242, 328, 21, 21}));
    EXPECT_EQ(rocker.x - (text.x + text.w), 4);

    const LayoutStep* page = find(LayoutKind::Knob, 603);
    const FrameRect onFrame = frameRectOf(*page);
    EXPECT_EQ(onFrame.x, 202);
    EXPECT_EQ(onFrame.y, 488);
}

TEST(ControlLayout, LabelsKeepTheirExactTexts)
{
    std::multiset<std::string> labels;
    for (const auto& s : stepsOf(LayoutKind::Label)) labels.emplace(s.text);
    EXPECT_EQ(labels.count("Freqency"), 1u);
    EXPECT_EQ(labels.count("1 /"), 1u);
    EXPECT_EQ(labels.count("Effect"), 8u);
    EXPECT_EQ(labels.count("Enable"), 2u);
    EXPECT_EQ(labels.count("Length"), 5u);
    EXPECT_EQ(labels.count("Lo-fi"), 1u);
    EXPECT_EQ(find(LayoutKind::OnOffButton, 602)->text, "SimpleMode");
    EXPECT_EQ(find(LayoutKind::KickButton, 80205)->text, "1/1");
}

TEST(EditorGeometry, PanelsHoldTheirHeadsAndKnowTheirNotes)
{
    int slot = 0;
    for (const auto& panel : kEffectPanels) {
        EXPECT_EQ(panel.slot, slot++);
        EXPECT_EQ(panel.randomiseNote, panel.triggerNote + 24);
        EXPECT_LE(panel.x + panel.w, kSections[1].rect.x + kSections[1].rect.w);
        EXPECT_LE(panel.y + panel.h, kSections[1].rect.y + kSections[1].rect.h);
        const LayoutStep* mute = find(LayoutKind::OnOffButton, (panel.slot + 2) * 100);
        ASSERT_NE(mute, nullptr);
        EXPECT_EQ(mute->x, panel.x + 5);
        EXPECT_EQ(mute->y, panel.y + 5);
    }
    EXPECT_EQ(kEffectPanels[7].triggerNote, 60);
    EXPECT_EQ(Green, (Rgba{146, 208, 80, 255}));
    EXPECT_EQ(Clear.a, 0);
}
