#include <array>
#include <string>

#include "resource/artwork/Artwork.h"
#include "editor/layout/EditorGeometry.h"
#include "resource/artwork/NoteSymbols.h"
#include "resource/artwork/Paint.h"

#include "common/ProductInfo.h"

namespace vexbit::art {
namespace {

constexpr double kCaptionSize = 11.0;
constexpr double kSmallSize = 9.0;

bool pageIsShown(const LayoutStep& step, ShufflerPageArt page)
{
    if (step.parent == LayoutParent::ShufflerPage0) return page == ShufflerPageArt::SimpleMode;
    if (step.parent == LayoutParent::ShufflerPage1) return page == ShufflerPageArt::NoteRates;
    return true;
}

void drawTitleBars(cairo_t* cr)
{
    for (const auto& step : controlLayout()) {
        if (step.kind != LayoutKind::TitleBar || step.parent != LayoutParent::Frame) continue;
        const FrameRect r = frameRectOf(step);
        fillRect(cr, r, Green);
        drawText(cr, step.text, r.x + r.w / 2.0, r.y + r.h / 2.0, step.h < 20 ? 10.0 : 12.0, Black, Align::Centre);
    }
}

void drawSections(cairo_t* cr)
{
    for (const auto& section : kSections) strokeRect(cr, section.rect, Green, 4.0);

    // AutoPlay switch and concurrency, then the two rate tables and the MIDI legend.
    strokeRect(cr, {118, 45, 105, 165}, DarkGreen, 3.0);
    constexpr std::array<FrameRect, 2> tables{{{238, 45, 410, 160}, {663, 45, 410, 160}}};
    for (const auto& table : tables) {
        strokeRect(cr, table, DarkGreen, 3.0);
        cairo_move_to(cr, table.x + 6, 72.5);
        cairo_line_to(cr, table.x + table.w - 6, 72.5);
        setColour(cr, DarkGreen);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }

    const FrameRect legend{1083, 45, 112, 160};
    strokeRect(cr, legend, DarkGreen, 3.0);
    drawText(cr, "MIDI", legend.x + legend.w / 2.0, 60, 12, Green, Align::Centre, true);
    const std::array<std::pair<const char*, const char*>, 3> lines{{
        {"Note", "hold to engage"},
        {"Rand", "randomise"},
        {"CC", "controller no."},
    }};
    double y = 88;
    for (const auto& [key, meaning] : lines) {
        drawText(cr, key, legend.x + 10, y, kCaptionSize, PaleGreen, Align::Left, true);
        drawText(cr, meaning, legend.x + 10, y + 14, kCaptionSize, Green);
        y += 38;
    }
}

void drawEffectPanels(cairo_t* cr)
{
    for (const auto& panel : kEffectPanels) {
        strokeRect(cr, {panel.x, panel.y, panel.w, panel.h}, DarkGreen, 3.0);
        // Beside the on/off button: the notes that play and randomise this effect.
        const double cx = panel.x + 117;
        drawText(cr, "Note " + std::to_string(panel.triggerNote), cx, panel.y + 11, kCaptionSize, PaleGreen,
                 Align::Centre, true);
        drawText(cr, "Rand " + std::to_string(panel.randomiseNote), cx, panel.y + panel.h - 9, kCaptionSize, PaleGreen,
                 Align::Centre, true);
    }
    // Sub-groups under their thin title bars.
    for (const auto& step : controlLayout())
        if (step.kind == LayoutKind::TitleBar && step.h < 20)
            strokeRect(cr, {step.x, step.y, step.w, 85}, DarkGreen, 2.0);
}

void drawControllerStacked(cairo_t* cr, double centreX, double topY, int controller)
{
    drawText(cr, "CC", centreX, topY, 8, Green, Align::Centre);
    drawText(cr, std::to_string(controller), centreX, topY + 10, kSmallSize, Green, Align::Centre, true);
}

void drawControllerInline(cairo_t* cr, double x, double centreY, int controller, Align align)
{
    drawText(cr, "CC " + std::to_string(controller), x, centreY, kSmallSize, Green, align, true);
}

// Each controller number sits where no control covers it: right of a knob's dial, right of a
// rate stepper, beside a button or a stepper with no knob.
void drawControllerNumbers(cairo_t* cr, ShufflerPageArt page, const ParameterTable& parameters)
{
    std::array<bool, 1000> done{};
    for (const auto& step : controlLayout()) {
        if (!isBoundControl(step.kind) || step.tag < 0 || step.tag >= 1000 || done[step.tag]) continue;
        const ParamRecord* record = parameters.find(static_cast<ParamID>(step.tag));
        const int controller = record ? record->midiController : -1;
        if (controller < 0 || !pageIsShown(step, page)) continue;
        done[step.tag] = true;
        const FrameRect r = frameRectOf(step);
        const double middle = r.y + r.h / 2.0;
        switch (step.kind) {
        case LayoutKind::Knob: drawControllerStacked(cr, r.x + 49, r.y + 21, controller); break;
        case LayoutKind::Slider:
            if (r.x + 135 > kShufflerPageRect.x + kShufflerPageRect.w)
                drawControllerInline(cr, r.x + 57, r.y + r.h + 7, controller, Align::Centre);
            else
                drawControllerStacked(cr, r.x + 121, r.y + 5, controller);
            break;
        case LayoutKind::OnOffButton:
            if (step.tag == 602) // the Shuffler panel ends right of SimpleMode
                drawControllerInline(cr, r.x - 5, middle, controller, Align::Right);
            else
                drawControllerInline(cr, r.x + r.w + 5, middle, controller, Align::Left);
            break;
        default: drawControllerInline(cr, r.x + r.w + 5, middle, controller, Align::Left); break;
        }
    }
}

// The detailed Shuffler page has no labels: a note symbol left of each rate slider names it.
void drawNoteRateSymbols(cairo_t* cr)
{
    constexpr std::array<NoteValue, 10> notes{{
        {3, false, 0},
        {2, false, 0},
        {2, false, 1},
        {1, false, 0},
        {1, false, 1},
        {1, false, 2},
        {0, false, 0},
        {0, false, 1},
        {0, false, 2},
        {0, true, 0},
    }};
    for (const auto& step : controlLayout()) {
        if (step.kind != LayoutKind::Slider || step.parent != LayoutParent::ShufflerPage1) continue;
        const FrameRect r = frameRectOf(step);
        const auto index = static_cast<size_t>(step.tag - 611);
        if (index < notes.size()) drawNoteSymbol(cr, r.x - 20, r.y + r.h / 2.0, notes[index], PaleGreen);
        // A rule between columns keeps each controller number with its own slider.
        if (step.y == 5 && r.x - 20 > kShufflerPageRect.x) {
            cairo_move_to(cr, r.x - 21.5, kShufflerPageRect.y + 4);
            cairo_line_to(cr, r.x - 21.5, kShufflerPageRect.y + kShufflerPageRect.h - 4);
            setColour(cr, DarkGreen);
            cairo_set_line_width(cr, 1.0);
            cairo_stroke(cr);
        }
    }
}

// The simple page explains the two modes and sketches slices replayed out of order.
void drawSimpleModeArt(cairo_t* cr)
{
    const double x = kShufflerPageRect.x + 100;
    const double y = kShufflerPageRect.y;
    drawText(cr, "SimpleMode on: every replayed slice has the chosen length.", x, y + 12, kCaptionSize, PaleGreen);
    drawText(cr, "SimpleMode off: ten note-rate sliders weigh the slice lengths.", x, y + 27, kCaptionSize, Green);
    constexpr std::array<int, 8> order{1, 2, 2, 5, 3, 6, 6, 8};
    for (size_t i = 0; i < order.size(); ++i) {
        const FrameRect cell{static_cast<int>(x) + static_cast<int>(i) * 36, static_cast<int>(y) + 45, 32, 22};
        fillRect(cr, cell, order[i] == static_cast<int>(i) + 1 ? DarkGreen : Green);
        drawText(cr, std::to_string(order[i]), cell.x + cell.w / 2.0, cell.y + cell.h / 2.0, kCaptionSize,
                 order[i] == static_cast<int>(i) + 1 ? PaleGreen : Black, Align::Centre, true);
    }
}

void drawWordmark(cairo_t* cr)
{
    drawText(cr, product::kName, 1180, 618, 22, Green, Align::Right, true);
    drawText(cr, std::string("version ") + product::kVersion, 1180, 640, kCaptionSize, DarkGreen, Align::Right);
}

} // namespace

void drawBackground(cairo_t* cr, ShufflerPageArt page, const ParameterTable& parameters)
{
    fillRect(cr, {0, 0, kBackgroundWidth, kBackgroundHeight}, Black);
    drawSections(cr);
    drawEffectPanels(cr);
    drawTitleBars(cr);
    if (page == ShufflerPageArt::NoteRates)
        drawNoteRateSymbols(cr);
    else
        drawSimpleModeArt(cr);
    drawControllerNumbers(cr, page, parameters);
    drawWordmark(cr);
}

} // namespace vexbit::art
