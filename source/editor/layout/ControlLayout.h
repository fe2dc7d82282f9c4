#pragma once

#include "common/ParameterIds.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace vexbit {

// Buttons that are no parameters: the length presets of the Retrigger and the
// Reverser (the first button's ID, then one per length) and the snap toggle of
// the Retrigger's pitch.
constexpr int32_t kRetriggerLengthButtons = kRetriggerLengthId * 100;
constexpr int32_t kRetriggerLengthButtonCount = 5;
constexpr int32_t kReverserLengthButtons = kReverserLengthId * 100;
constexpr int32_t kReverserLengthButtonCount = 6;
constexpr int32_t kRetriggerPitchSnapButton = 10000 + kRetriggerPitchId;

// One call of the editor's builders, in the order the editor makes them.
enum class LayoutKind {
    FrameBackground, // the frame's background bitmap (text = resource name)
    TitleBar,
    Label,
    OnOffButton,
    KickButton,
    Knob,
    Slider,
    RockerSwitch,
    TextEdit,
    Stepper, // a text edit plus a rocker switch that steps the value
    OptionMenu,
    Precision,          // number of decimals of the tag's display text (precision field)
    ShufflerTabs,       // the Shuffler's tab view, on the frame
    ShufflerPage,       // one page of the tab view (step field unused; pageIndex says which)
    SelectShufflerPage, // pick the initial page from the SimpleMode value
};

// Which container a control is added to. Page coordinates start at the tab view's corner.
enum class LayoutParent { Frame, ShufflerTabs, ShufflerPage0, ShufflerPage1 };

// Extra behaviour the editor attaches to a control.
enum class LayoutBehaviour {
    None,
    Custom,     // handled by the concrete editor (SimpleMode, length presets)
    SnapToggle, // toggles whole-number snapping of behaviourTag
};

struct LayoutStep {
    LayoutKind kind;
    LayoutParent parent;
    int32_t tag; // parameter ID, or a button ID that is no parameter; -1 = none
    int x;
    int y;
    int w;
    int h;
    std::string_view text; // title, label text or bitmap name
    double step;           // plain step of a stepper
    int precision;         // decimals of a Precision step; page index of a ShufflerPage
    LayoutBehaviour behaviour;
    int32_t behaviourTag; // the parameter a SnapToggle acts on
};

// Every step of the editor's construction, in order.
std::span<const LayoutStep> controlLayout();

// Whether the control of this step is entered in the editor's tag map.
bool isBoundControl(LayoutKind kind);

// Where the step lies in frame coordinates (page steps are moved by the page origin).
struct FrameRect {
    int x;
    int y;
    int w;
    int h;
};
FrameRect frameRectOf(const LayoutStep& step);

} // namespace vexbit
