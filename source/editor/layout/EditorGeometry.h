#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "editor/layout/ControlLayout.h"

namespace vexbit {

inline constexpr int kEditorWidth = 1211;
inline constexpr int kEditorHeight = 665;

// The background bitmap is one pixel larger than the window on each axis.
inline constexpr int kBackgroundWidth = 1212;
inline constexpr int kBackgroundHeight = 666;

inline constexpr FrameRect kShufflerPageRect{190, 470, 595, 80};

inline constexpr int kKnobSize = 50;
inline constexpr int kKnobFrames = 31;
inline constexpr int kRockerSize = 21;
inline constexpr int kRockerFrames = 3;
inline constexpr int kRowHeight = 21; // labels, sliders, text fields, menus
inline constexpr int kKickButtonWidth = 25;

inline constexpr std::string_view kBackgroundResource = "background.png";
inline constexpr std::string_view kShufflerPageResource = "backgroundTab.png";
inline constexpr std::string_view kKnobResource = "animeknob.png";
inline constexpr std::string_view kRockerResource = "rockerswitch_v.png";

// A stepper is a text field with a rocker switch at its right end, 4 pixels apart.
FrameRect stepperTextRect(const LayoutStep& stepper);
FrameRect stepperRockerRect(const LayoutStep& stepper);

// The two sections of the window, drawn as frames under their title bars.
struct SectionFrame {
    std::string_view title;
    FrameRect rect;
};
inline constexpr std::array<SectionFrame, 2> kSections{{
    {"AutoPlay Setting", {5, 5, 1200, 210}},
    {"Effector Setting", {5, 225, 1200, 435}},
}};

// One effect's panel in the lower section.
struct EffectPanel {
    std::string_view name;
    int slot; // effect index 0..7
    int x;    // panel origin = the title bar's corner
    int y;
    int w;             // extent of the panel's artwork frame
    int h;             // also the height of the title bar
    int triggerNote;   // MIDI note that engages the effect while held
    int randomiseNote; // MIDI note that redraws its settings
};
inline constexpr std::array<EffectPanel, 8> kEffectPanels{{
    {"Delay", 0, 30, 265, 755, 90, 48, 72},
    {"TapeStop", 1, 800, 265, 380, 90, 50, 74},
    {"Filter", 2, 30, 365, 755, 90, 52, 76},
    {"Lo-fi", 3, 800, 365, 380, 90, 53, 77},
    {"Shuffler", 4, 30, 465, 755, 90, 55, 79},
    {"Retrigger", 5, 800, 465, 380, 130, 57, 81},
    {"Reverser", 6, 30, 565, 375, 90, 59, 83},
    {"Gator", 7, 420, 565, 365, 90, 60, 84},
}};

} // namespace vexbit
