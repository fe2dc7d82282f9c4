#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/layout/ControlLayout.h"
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
