#include "editor/layout/ControlLayout.h"

#include <array>
#include <vector>

#include "editor/layout/EditorGeometry.h"

namespace vexbit {
namespace {

// Appends steps with the same arguments the editor's builders take.
class LayoutWriter {
public:
    explicit LayoutWriter(std::vector<LayoutStep>& out) : steps(out) {}

    LayoutParent parent = LayoutParent::Frame;

    void add(LayoutKind kind, int32_t tag, int x, int y, int w, int h, std::string_view text = {}, double step = 0.0,
             int precision = 0, LayoutBehaviour behaviour = LayoutBehaviour::None, int32_t behaviourTag = -1)
    {
        steps.push_back({kind, parent, tag, x, y, w, h, text, step, precision, behaviour, behaviourTag});
    }
    void titleBar(int x, int y, int w, int h, std::string_view text)
    {
        add(LayoutKind::TitleBar, -1, x, y, w, h, text);
    }
    void label(int x, int y, int w, std::string_view text) { add(LayoutKind::Label, -1, x, y, w, kRowHeight, text); }
    void onOff(int32_t tag, int x, int y, int w, int h, std::string_view title,
               LayoutBehaviour behaviour = LayoutBehaviour::None, int32_t behaviourTag = -1)
    {
        add(LayoutKind::OnOffButton, tag, x, y, w, h, title, 0.0, 0, behaviour, behaviourTag);
    }
    void kick(int32_t tag, int x, int y, int h, std::string_view title,
              LayoutBehaviour behaviour = LayoutBehaviour::None)
    {
        add(LayoutKind::KickButton, tag, x, y, kKickButtonWidth, h, title, 0.0, 0, behaviour);
    }
    void knob(int32_t tag, int x, int y) { add(LayoutKind::Knob, tag, x, y, kKnobSize, kKnobSize); }
    void slider(int32_t tag, int x, int y, int w) { add(LayoutKind::Slider, tag, x, y, w, kRowHeight); }
    void stepper(int32_t tag, int x, int y, int w, double step)
    {
        add(LayoutKind::Stepper, tag, x, y, w, kRowHeight, {}, step);
    }
    void menu(int32_t tag, int x, int y, int w) { add(LayoutKind::OptionMenu, tag, x, y, w, kRowHeight); }
    void precision(int32_t tag, int decimals) { add(LayoutKind::Precision, tag, 0, 0, 0, 0, {}, 0.0, decimals); }

    // Label above, knob, stepper below: the usual way to show one continuous value.
    void knobGroup(int32_t tag, int labelX, int labelY, int knobX, int knobY, std::string_view text, double step,
                   int decimals = -1)
    {
        if (decimals >= 0) precision(tag, decimals);
        label(labelX, labelY, 75, text);
        knob(tag, knobX, knobY);
        stepper(tag, knobX - 9, knobY + 40, 70, step);
    }

private:
    std::vector<LayoutStep>& steps;
};

struct AutoPlayRow {
    std::string_view name;
    int32_t firstTag;
    int y;
    int nameX, enableX, sliderX, stepperX, menuX;
};

constexpr std::array<AutoPlayRow, 4> kLeftRows{{
    {"Delay", schedulingEnableId(0), 100, 245, 325, 385, 480, 565},
    {"TapeStop", schedulingEnableId(1), 125, 245, 325, 385, 480, 565},
    {"Filter", schedulingEnableId(2), 150, 245, 325, 385, 480, 565},
    {"Lo-fi", schedulingEnableId(3), 175, 245, 325, 385, 480, 565},
}};
constexpr std::array<AutoPlayRow, 4> kRightRows{{
    {"Shuffler", schedulingEnableId(4), 75, 670, 750, 810, 905, 990},
    {"Retrigger", schedulingEnableId(5), 100, 670, 750, 810, 905, 990},
    {"Reverser", schedulingEnableId(6), 125, 670, 750, 810, 905, 990},
    {"Gator", schedulingEnableId(7), 150, 670, 750, 810, 905, 990},
}};

void addAutoPlayRow(LayoutWriter& w, const AutoPlayRow& row)
{
    w.label(row.nameX, row.y, 75, row.name);
    w.onOff(row.firstTag, row.enableX, row.y, 50, kRowHeight, "Enable");
    w.precision(row.firstTag + 1, 0);
    w.slider(row.firstTag + 1, row.sliderX, row.y, 95);
    w.stepper(row.firstTag + 1, row.stepperX, row.y, 70, 1.0);
    w.menu(row.firstTag + 2, row.menuX, row.y, 75);
}

void addUpperSection(LayoutWriter& w)
{
    w.titleBar(5, 5, 1200, 25, "AutoPlay Setting");
    w.titleBar(30, 45, 80, 165, "AutoPlay");
    w.onOff(kAutoPlayId, 147, 70, 50, 30, "On/Off");
    w.label(135, 100, 75, "AutoPlay");
    w.label(135, 140, 75, "Concurrency");
    w.stepper(kMaxConcurrencyId, 135, 165, 75, 1.0);
    w.label(320, 50, 60, "Enable");
    w.label(385, 50, 170, "Rate");
    w.label(565, 50, 75, "Length");
    w.label(245, 75, 75, "NoEffect");
    w.precision(kNoEffectRateId, 0);
    w.slider(kNoEffectRateId, 385, 75, 95);
    w.stepper(kNoEffectRateId, 480, 75, 70, 1.0);
    for (const auto& row : kLeftRows) addAutoPlayRow(w, row);
    w.label(745, 50, 60, "Enable");
    w.label(810, 50, 170, "Rate");
    w.label(990, 50, 75, "Length");
    for (const auto& row : kRightRows) addAutoPlayRow(w, row);
}

// Title bar with mute, randomise and on/off buttons, the same for every effect.
void addPanelHead(LayoutWriter& w, const EffectPanel& panel)
{
    const auto p = static_cast<int32_t>(effectMuteId(panel.slot));
    const int x = panel.x;
    const int y = panel.y;
    w.titleBar(x, y, 80, panel.h, panel.name);
    w.onOff(p, x + 5, y + 5, 25, 25, "M");
    w.kick(static_cast<int32_t>(effectRandomiseId(panel.slot)), x + 40, y + 5, 25, "R");
    w.onOff(static_cast<int32_t>(effectOnOffId(panel.slot)), x + 92, y + 20, 50, 30, "On/Off");
    w.label(x + 80, y + 50, 75, "Effect");
}

void addDelay(LayoutWriter& w)
{
    w.knobGroup(kDelayLevelId, 190, 272, 202, 288, "Level", 0.01, 2);
    w.knobGroup(kDelayTimeId, 265, 272, 277, 288, "Time", 10.0, 2);
    w.knobGroup(kDelayFeedbackId, 340, 272, 352, 288, "Feedback", 0.01, 2);
    w.titleBar(445, 267, 245, 12, "Granular");
    w.knobGroup(kGranularDryWetId, 455, 275, 467, 288, "Dry/Wet", 0.01, 2);
    w.knobGroup(kGranularDurationId, 530, 275, 542, 288, "Duration", 10.0, 2);
    w.knobGroup(kGranularGrainSizeId, 605, 275, 617, 288, "GrainSize", 20.0, 2);
}

void addTapeStop(LayoutWriter& w)
{
    w.knobGroup(kTapeStopStartSpeedId, 960, 272, 972, 288, "StartSpeed", 0.01, 2);
    w.knobGroup(kTapeStopStopSpeedId, 1040, 272, 1052, 288, "StopSpeed", 0.01, 2);
}

void addFilter(LayoutWriter& w)
{
    w.titleBar(190, 367, 175, 12, "LowPass");
    w.knobGroup(kLowPassFreqId, 200, 375, 212, 388, "Freq", 200.0, 1);
    w.knobGroup(kLowPassQId, 280, 375, 292, 388, "Q", 0.1, 1);
    // The product has always labelled both filter bars "LowPass"; the knob labels and
    // the printed controller numbers tell the high-pass pair apart.
    w.titleBar(380, 367, 175, 12, "LowPass");
    w.knobGroup(kHighPassFreqId, 390, 375, 402, 388, "Freq", 200.0, 1);
    w.knobGroup(kHighPassQId, 470, 375, 482, 388, "Q", 0.1, 1);
}

void addLoFi(LayoutWriter& w)
{
    w.label(960, 385, 75, "BitDepth");
    w.stepper(kLoFiBitDepthId, 1035, 385, 75, 1.0);
    w.label(960, 410, 75, "Freqency");
    w.label(1035, 410, 25, "1 /");
    w.stepper(kLoFiFrequencyId, 1060, 410, 50, 1.0);
}

void addShuffler(LayoutWriter& w)
{
    const FrameRect page = kShufflerPageRect;
    w.add(LayoutKind::ShufflerTabs, -1, page.x, page.y, page.w, page.h);

    w.parent = LayoutParent::ShufflerTabs;
    w.add(LayoutKind::ShufflerPage, -1, page.x, page.y, page.w, page.h, kShufflerPageResource, 0.0, 0);
    w.parent = LayoutParent::ShufflerPage0;
    w.precision(kShufflerLengthId, 2);
    w.label(0, 2, 75, "Length");
    w.knob(kShufflerLengthId, 12, 18);
    w.menu(kShufflerLengthId, 3, 58, 70);

    w.parent = LayoutParent::ShufflerTabs;
    w.add(LayoutKind::ShufflerPage, -1, page.x, page.y, page.w, page.h, {}, 0.0, 1);
    w.parent = LayoutParent::ShufflerPage1;
    for (uint32_t id = kFirstShufflerRateId; id <= kLastShufflerRateId; ++id) w.precision(static_cast<int32_t>(id), 0);
    // Ten note-length rates in columns of three; the artwork behind names them.
    for (int32_t i = 0; i < 10; ++i) {
        const int column = i / 3;
        const int row = i % 3;
        const int x = 20 + 150 * column;
        const int y = 5 + 25 * row;
        w.slider(kFirstShufflerRateId + i, x, y, 60);
        w.stepper(kFirstShufflerRateId + i, x + 60, y, 55, 1.0);
    }

    w.parent = LayoutParent::Frame;
    w.onOff(kShufflerSimpleModeId, 700, 525, 75, kRowHeight, "SimpleMode", LayoutBehaviour::Custom);
    w.add(LayoutKind::SelectShufflerPage, kShufflerSimpleModeId, 0, 0, 0, 0);
}

void addRetrigger(LayoutWriter& w)
{
    w.knobGroup(kRetriggerLengthId, 960, 472, 972, 488, "Length", 0.01);
    w.kick(kRetriggerLengthButtons + 0, 1030, 480, 19, "1/32", LayoutBehaviour::Custom);
    w.kick(kRetriggerLengthButtons + 1, 1030, 500, 19, "1/16", LayoutBehaviour::Custom);
    w.kick(kRetriggerLengthButtons + 2, 1056, 480, 19, "1/8", LayoutBehaviour::Custom);
    w.kick(kRetriggerLengthButtons + 3, 1056, 500, 19, "1/4", LayoutBehaviour::Custom);
    w.kick(kRetriggerLengthButtons + 4, 1056, 520, 19, "1/2", LayoutBehaviour::Custom);
    w.knobGroup(kRetriggerPitchId, 1095, 472, 1107, 488, "Pitch", 0.01);
    w.onOff(kRetriggerPitchSnapButton, 1155, 480, 21, 21, "S", LayoutBehaviour::SnapToggle, kRetriggerPitchId);
    w.onOff(kRetriggerBeatSyncId, 970, 560, 55, kRowHeight, "BeatSync");
}

void addReverser(LayoutWriter& w)
{
    w.knobGroup(kReverserLengthId, 190, 572, 202, 588, "Length", 0.01);
    w.kick(kReverserLengthButtons + 0, 280, 580, 19, "1/32", LayoutBehaviour::Custom);
    w.kick(kReverserLengthButtons + 1, 280, 600, 19, "1/16", LayoutBehaviour::Custom);
    w.kick(kReverserLengthButtons + 2, 280, 620, 19, "1/8", LayoutBehaviour::Custom);
    w.kick(kReverserLengthButtons + 3, 306, 580, 19, "1/4", LayoutBehaviour::Custom);
    w.kick(kReverserLengthButtons + 4, 306, 600, 19, "1/2", LayoutBehaviour::Custom);
    w.kick(kReverserLengthButtons + 5, 306, 620, 19, "1/1", LayoutBehaviour::Custom);
}

void addGator(LayoutWriter& w)
{
    w.knobGroup(kGatorSpeedId, 580, 572, 592, 588, "Speed", 0.01);
}

void addLowerSection(LayoutWriter& w)
{
    w.titleBar(5, 225, 1200, 25, "Effector Setting");
    using PanelBody = void (*)(LayoutWriter&);
    constexpr std::array<PanelBody, 8> bodies{addDelay,    addTapeStop,  addFilter,   addLoFi,
                                              addShuffler, addRetrigger, addReverser, addGator};
    for (const auto& panel : kEffectPanels) {
        addPanelHead(w, panel);
        bodies[static_cast<size_t>(panel.slot)](w);
    }
}

std::vector<LayoutStep> buildLayout()
{
    std::vector<LayoutStep> steps;
    LayoutWriter w(steps);
    w.add(LayoutKind::FrameBackground, -1, 0, 0, kBackgroundWidth, kBackgroundHeight, kBackgroundResource);
    addUpperSection(w);
    addLowerSection(w);
    return steps;
}

} // namespace

std::span<const LayoutStep> controlLayout()
{
    static const std::vector<LayoutStep> steps = buildLayout();
    return steps;
}

bool isBoundControl(LayoutKind kind)
{
    switch (kind) {
    case LayoutKind::OnOffButton:
    case LayoutKind::Knob:
    case LayoutKind::Slider:
    case LayoutKind::TextEdit:
    case LayoutKind::Stepper:
    case LayoutKind::OptionMenu: return true;
    default: return false;
    }
}

FrameRect frameRectOf(const LayoutStep& step)
{
    if (step.parent == LayoutParent::ShufflerPage0 || step.parent == LayoutParent::ShufflerPage1)
        return {step.x + kShufflerPageRect.x, step.y + kShufflerPageRect.y, step.w, step.h};
    return {step.x, step.y, step.w, step.h};
}

} // namespace vexbit
