#include "host/Timeline.h"

#include "host/AtomicFile.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace vexbit::host {

namespace {

constexpr double kLabelColumn = 112;
constexpr double kRightMargin = 18;
constexpr double kHeaderHeight = 44;
constexpr double kRulerHeight = 20;
constexpr double kWaveHeight = 130;
constexpr double kWaveGap = 10;
constexpr double kLanesGap = 18;
constexpr double kLaneHeight = 22;
constexpr double kLaneGap = 4;
constexpr double kFooterHeight = 34;

struct Rgb {
    double r, g, b;
};

constexpr Rgb kBackground{0.078, 0.090, 0.106};
constexpr Rgb kPanel{0.110, 0.125, 0.145};
constexpr Rgb kText{0.80, 0.84, 0.87};
constexpr Rgb kDimText{0.52, 0.57, 0.62};
constexpr Rgb kInputWave{0.50, 0.58, 0.67};
constexpr Rgb kOutputWave{0.40, 0.83, 0.52};
constexpr Rgb kLaneColours[] = {{0.31, 0.76, 0.97}, {1.00, 0.72, 0.30}, {0.73, 0.41, 0.78}, {0.90, 0.45, 0.45},
                                {0.51, 0.78, 0.52}, {0.95, 0.88, 0.35}, {0.30, 0.71, 0.67}, {0.94, 0.38, 0.57}};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void fillRect(cairo_t* cr, const TimelineRect& r, Rgb c, double alpha = 1.0)
{
    setColour(cr, c, alpha);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_fill(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void text(cairo_t* cr, double x, double y, const std::string& s, double size, Rgb c, bool bold = false,
          double alignRight = 0.0)
{
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, s.c_str(), &extents);
    setColour(cr, c);
    cairo_move_to(cr, x - alignRight * extents.x_advance, y);
    cairo_show_text(cr, s.c_str());
}

std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

double peakOf(const AudioBuffer* audio)
{
    double peak = 0.0;
    if (audio == nullptr) return peak;
    for (std::size_t i = 0; i < audio->frames(); ++i) {
        const double l = std::fabs(audio->left[i]), r = std::fabs(audio->right[i]);
        if (std::isfinite(l)) peak = std::max(peak, l);
        if (std::isfinite(r)) peak = std::max(peak, r);
    }
    return peak;
}

// A time axis shared by every row: frame -> x.
struct TimeAxis {
    double left, right;
    int64_t frames;
    double x(double frame) const
    {
        return left + (right - left) * frame / static_cast<double>(std::max<int64_t>(1, frames));
    }
};

void drawWave(cairo_t* cr, const TimelineRect& area, const AudioBuffer* audio, const TimeAxis& axis, double scale,
              Rgb colour, const std::string& label)
{
    fillRect(cr, area, kPanel);
    const double mid = area.y + area.height / 2;
    setColour(cr, kDimText, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, area.x, std::floor(mid) + 0.5);
    cairo_line_to(cr, area.x + area.width, std::floor(mid) + 0.5);
    cairo_stroke(cr);
    text(cr, 14, area.y + 20, label, 13, kText, true);
    if (audio == nullptr || audio->frames() == 0) return;

    const double half = area.height / 2 * 0.92 / scale;
    const auto columns = static_cast<int64_t>(std::ceil(area.width));
    const auto frames = static_cast<int64_t>(audio->frames());
    for (int64_t column = 0; column < columns; ++column) {
        const int64_t f0 = column * std::max<int64_t>(axis.frames, 1) / columns;
        const int64_t f1 =
            std::min(frames, std::max(f0 + 1, (column + 1) * std::max<int64_t>(axis.frames, 1) / columns));
        if (f0 >= frames) break;
        float lo = 0, hi = 0;
        double sum = 0;
        for (int64_t f = f0; f < f1; ++f) {
            for (const float v :
                 {audio->left[static_cast<std::size_t>(f)], audio->right[static_cast<std::size_t>(f)]}) {
                if (!std::isfinite(v)) continue;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                sum += static_cast<double>(v) * v;
            }
        }
        const double rms = std::sqrt(sum / (2.0 * static_cast<double>(f1 - f0)));
        const double x = area.x + static_cast<double>(column) + 0.5;
        setColour(cr, colour, 0.55);
        cairo_move_to(cr, x, mid - hi * half);
        cairo_line_to(cr, x, mid - lo * half + 0.01);
        cairo_stroke(cr);
        setColour(cr, colour, 1.0);
        cairo_move_to(cr, x, mid - rms * half);
        cairo_line_to(cr, x, mid + rms * half + 0.01);
        cairo_stroke(cr);
    }
}

// Beat and bar lines over the rows from top to bottom; bar numbers in the ruler.
void drawGrid(cairo_t* cr, const TimelineLayout& layout, const TimeAxis& axis, double framesPerBeat, double top,
              double bottom)
{
    const double pixelsPerBeat = (axis.x(framesPerBeat) - axis.x(0));
    int barStep = 1; // in bars; grows while bar lines would crowd
    while (pixelsPerBeat * 4 * barStep < 14) barStep *= 2;
    int labelStep = barStep;
    while (pixelsPerBeat * 4 * labelStep < 34) labelStep *= 2;
    const bool beats = pixelsPerBeat >= 6;

    cairo_set_line_width(cr, 1);
    const int64_t totalBeats = static_cast<int64_t>(std::floor(static_cast<double>(axis.frames) / framesPerBeat));
    for (int64_t beat = 0; beat <= totalBeats; ++beat) {
        const bool bar = beat % 4 == 0;
        const int64_t barIndex = beat / 4;
        if (bar ? barIndex % barStep != 0 : !beats) continue;
        const double x = std::floor(axis.x(static_cast<double>(beat) * framesPerBeat)) + 0.5;
        setColour(cr, bar ? kText : kDimText, bar ? 0.30 : 0.16);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x, bottom);
        cairo_stroke(cr);
        if (bar && barIndex % labelStep == 0 && x < layout.plotRight - 10)
            text(cr, x + 4, layout.ruler.y + 14, std::to_string(barIndex + 1), 11, kDimText);
    }
}

void drawSecondsAxis(cairo_t* cr, const TimelineLayout& layout, const TimeAxis& axis, double sampleRate, double y)
{
    const double seconds = static_cast<double>(axis.frames) / sampleRate;
    const double pixelsPerSecond = (layout.plotRight - layout.plotLeft) / std::max(seconds, 1e-9);
    static const double steps[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1800, 3600};
    double step = steps[std::size(steps) - 1];
    for (double s : steps) {
        if (s * pixelsPerSecond >= 70) {
            step = s;
            break;
        }
    }
    cairo_set_line_width(cr, 1);
    for (int64_t i = 0; static_cast<double>(i) * step <= seconds + 1e-9; ++i) {
        const double t = static_cast<double>(i) * step;
        const double x = std::floor(axis.x(t * sampleRate)) + 0.5;
        setColour(cr, kDimText, 0.6);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y + 5);
        cairo_stroke(cr);
        const bool whole = step >= 1;
        text(cr, x, y + 18, format(whole ? "%.0f s" : "%.2f s", t), 10, kDimText, false,
             x > layout.plotRight - 30 ? 1.0 : 0.5);
    }
}

} // namespace

TimelineLayout timelineLayout(int width, std::size_t laneCount)
{
    TimelineLayout layout;
    layout.width = width;
    layout.plotLeft = kLabelColumn;
    layout.plotRight = width - kRightMargin;
    const double plotWidth = layout.plotRight - layout.plotLeft;
    double y = kHeaderHeight;
    layout.ruler = {layout.plotLeft, y, plotWidth, kRulerHeight};
    y += kRulerHeight;
    layout.input = {layout.plotLeft, y, plotWidth, kWaveHeight};
    y += kWaveHeight + kWaveGap;
    layout.output = {layout.plotLeft, y, plotWidth, kWaveHeight};
    y += kWaveHeight + kLanesGap;
    for (std::size_t i = 0; i < laneCount; ++i) {
        layout.lanes.push_back({layout.plotLeft, y, plotWidth, kLaneHeight});
        y += kLaneHeight + kLaneGap;
    }
    layout.height = static_cast<int>(std::ceil(y - kLaneGap + kFooterHeight));
    return layout;
}

bool writeTimelinePng(const std::string& path, const TimelineContent& content, int width, std::string& error)
{
    if (width < kMinTimelineWidth || width > kMaxTimelineWidth) {
        error = "the picture width must be from " + std::to_string(kMinTimelineWidth) + " to " +
                std::to_string(kMaxTimelineWidth) + " pixels";
        return false;
    }
    const TimelineLayout layout = timelineLayout(width, content.lanes.size());
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height));
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    cairo_t* cr = context.get();
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot draw the picture";
        return false;
    }

    const AudioBuffer* reference = content.output != nullptr ? content.output : content.input;
    const double sampleRate = reference != nullptr ? reference->sampleRate : 44100.0;
    int64_t frames = 0;
    for (const AudioBuffer* a : {content.input, content.output})
        if (a != nullptr) frames = std::max<int64_t>(frames, static_cast<int64_t>(a->frames()));
    const TimeAxis axis{layout.plotLeft, layout.plotRight, frames};
    const double framesPerBeat = sampleRate * 60.0 / content.bpm;

    setColour(cr, kBackground);
    cairo_paint(cr);

    // Header: what was rendered, and the musical frame it ran in.
    text(cr, 14, 27, content.title, 15, kText, true);
    const double seconds = static_cast<double>(frames) / sampleRate;
    const std::string facts = format("%.0f BPM", content.bpm) + "  \u00b7  4/4  \u00b7  " +
                              format("%.1f bars", seconds * content.bpm / 60.0 / 4.0) + "  \u00b7  " +
                              format("%.2f s", seconds) + "  \u00b7  " + format("%.0f Hz", sampleRate);
    text(cr, layout.width - kRightMargin, 27, facts, 12, kDimText, false, 1.0);
    text(cr, 14, layout.ruler.y + 14, "Bar", 11, kDimText);

    const double scale = std::max({peakOf(content.input), peakOf(content.output), 1e-6});
    drawWave(cr, layout.input, content.input, axis, scale, kInputWave, "Input");
    drawWave(cr, layout.output, content.output, axis, scale, kOutputWave, "Output");
    text(cr, 14, layout.input.y + 38, format("peak %.1f dB", 20 * std::log10(std::max(peakOf(content.input), 1e-9))),
         10, kDimText);
    text(cr, 14, layout.output.y + 38, format("peak %.1f dB", 20 * std::log10(std::max(peakOf(content.output), 1e-9))),
         10, kDimText);

    const auto spans = engagedSpans(content.events, content.lanes, frames);
    for (std::size_t i = 0; i < content.lanes.size(); ++i) {
        const TimelineRect& lane = layout.lanes[i];
        fillRect(cr, lane, kPanel);
        const Rgb colour = kLaneColours[i % std::size(kLaneColours)];
        setColour(cr, colour);
        cairo_arc(cr, 18, lane.y + lane.height / 2, 4, 0, 2 * M_PI);
        cairo_fill(cr);
        text(cr, 28, lane.y + lane.height / 2 + 4.5, content.lanes[i].name, 12, kText);
    }

    const double gridTop = layout.ruler.y;
    const double gridBottom = layout.lanes.empty() ? layout.output.y + layout.output.height
                                                   : layout.lanes.back().y + layout.lanes.back().height;
    drawGrid(cr, layout, axis, framesPerBeat, gridTop, gridBottom);

    for (const EngagedSpan& span : spans) {
        const TimelineRect& lane = layout.lanes[span.lane];
        const Rgb colour = kLaneColours[span.lane % std::size(kLaneColours)];
        const double x0 = axis.x(static_cast<double>(span.startFrame));
        const double x1 = std::max(x0 + 2, axis.x(static_cast<double>(span.endFrame)));
        roundedRect(cr, x0 + 0.5, lane.y + 3, x1 - x0 - 1, lane.height - 6, 3);
        setColour(cr, colour, 0.85);
        cairo_fill(cr);
    }
    // Past the input's end the output is the plug-in's tail: shade it so the
    // ringing out is not mistaken for the input.
    if (content.input != nullptr && static_cast<int64_t>(content.input->frames()) < frames) {
        const double x = axis.x(static_cast<double>(content.input->frames()));
        setColour(cr, kBackground, 0.45);
        cairo_rectangle(cr, x, gridTop, layout.plotRight - x, gridBottom - gridTop);
        cairo_fill(cr);
        setColour(cr, kText, 0.5);
        const double dashes[] = {4.0, 3.0};
        cairo_set_dash(cr, dashes, 2, 0);
        cairo_move_to(cr, std::floor(x) + 0.5, gridTop);
        cairo_line_to(cr, std::floor(x) + 0.5, gridBottom);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        if (layout.plotRight - x > 40) text(cr, x + 6, layout.output.y + 14, "tail", 11, kDimText);
    }
    drawSecondsAxis(cr, layout, axis, sampleRate, gridBottom + 4);

    cairo_surface_flush(surface.get());
    AtomicFile output(path);
    if (cairo_surface_write_to_png(surface.get(), output.temporaryPath().c_str()) != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot write the picture";
        return false;
    }
    return output.commit(error);
}

void releaseDrawingCaches()
{
    cairo_debug_reset_static_data();
    FcFini();
}

} // namespace vexbit::host
