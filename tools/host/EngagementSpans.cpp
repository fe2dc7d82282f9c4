#include "host/EngagementSpans.h"

#include <algorithm>

namespace vexbit::host {

std::vector<EffectLane> glitchEffectLanes()
{
    return {{"Delay", 48},    {"TapeStop", 50},  {"Filter", 52},   {"Lo-Fi", 53},
            {"Shuffler", 55}, {"Retrigger", 57}, {"Reverser", 59}, {"Gator", 60}};
}

std::vector<EngagedSpan> engagedSpans(const std::vector<OutputEvent>& events, const std::vector<EffectLane>& lanes,
                                      int64_t totalFrames)
{
    std::vector<EngagedSpan> spans;
    std::vector<int64_t> openSince(lanes.size(), -1);
    auto clampFrame = [totalFrames](int64_t f) { return std::clamp<int64_t>(f, 0, std::max<int64_t>(0, totalFrames)); };
    auto close = [&](std::size_t lane, int64_t end) {
        if (openSince[lane] < 0) return;
        const int64_t start = openSince[lane];
        openSince[lane] = -1;
        if (end > start) spans.push_back({lane, start, end});
    };

    std::vector<OutputEvent> ordered = events;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const OutputEvent& a, const OutputEvent& b) { return a.frame < b.frame; });
    for (const OutputEvent& e : ordered) {
        if (e.kind == OutputEvent::Kind::Controller) continue;
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            if (lanes[lane].pitch != e.number) continue;
            const int64_t frame = clampFrame(e.frame);
            if (e.kind == OutputEvent::Kind::NoteOn) {
                if (openSince[lane] < 0) openSince[lane] = frame;
            } else {
                close(lane, frame);
            }
        }
    }
    for (std::size_t lane = 0; lane < lanes.size(); ++lane) close(lane, clampFrame(totalFrames));
    std::stable_sort(spans.begin(), spans.end(),
                     [](const EngagedSpan& a, const EngagedSpan& b) { return a.startFrame < b.startFrame; });
    return spans;
}

} // namespace vexbit::host
