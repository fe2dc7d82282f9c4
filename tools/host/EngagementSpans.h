#pragma once

#include "host/Renderer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexbit::host {

// One row of the timeline: a named effect and the note the plug-in echoes
// while that effect is engaged.
struct EffectLane {
    std::string name;
    int16_t pitch = 0;
};

// Our plug-in's eight effects with the trigger notes it echoes for them.
std::vector<EffectLane> glitchEffectLanes();

// A stretch of frames during which a lane's effect was engaged.
struct EngagedSpan {
    std::size_t lane = 0;
    int64_t startFrame = 0;
    int64_t endFrame = 0; // exclusive
};

// Reads the note echoes of a render as spans per lane: a note-on opens a span
// (a second note-on while open changes nothing), the note-off closes it, and a
// span still open at the end runs to totalFrames. Frames are clamped to
// [0, totalFrames]; empty spans are dropped.
std::vector<EngagedSpan> engagedSpans(const std::vector<OutputEvent>& events, const std::vector<EffectLane>& lanes,
                                      int64_t totalFrames);

} // namespace vexbit::host
