#pragma once

#include "host/AudioFile.h"
#include "host/EngagementSpans.h"
#include "host/Renderer.h"

#include <string>
#include <vector>

namespace vexbit::host {

struct TimelineRect {
    double x = 0, y = 0, width = 0, height = 0;
};

// Where everything sits in the picture: the input and output waveforms one
// above the other, then one lane per effect, all sharing one time axis that
// runs from plotLeft (frame 0) to plotRight (the last frame).
struct TimelineLayout {
    int width = 0;
    int height = 0;
    double plotLeft = 0;
    double plotRight = 0;
    TimelineRect ruler;
    TimelineRect input;
    TimelineRect output;
    std::vector<TimelineRect> lanes;
};

inline constexpr int kDefaultTimelineWidth = 1600;
inline constexpr int kMinTimelineWidth = 400;
inline constexpr int kMaxTimelineWidth = 16000;

TimelineLayout timelineLayout(int width, std::size_t laneCount);

struct TimelineContent {
    std::string title;
    const AudioBuffer* input = nullptr;
    const AudioBuffer* output = nullptr;
    std::vector<OutputEvent> events; // the plug-in's event output
    std::vector<EffectLane> lanes;
    double bpm = 120.0;
};

// Draws the picture and writes it as a PNG (complete or not at all). False
// with one line in error when the width is out of range or writing fails.
bool writeTimelinePng(const std::string& path, const TimelineContent& content, int width, std::string& error);

// Frees the caches cairo and fontconfig keep for the life of the process, so
// a leak checker sees a clean exit. Only for the end of a program, when
// nothing in the process draws any more (a loaded plug-in's editor included).
void releaseDrawingCaches();

} // namespace vexbit::host
