#pragma once

#include <cstdint>

namespace vexbit {

// Plays the signal backwards in tempo-synced segments: each segment replays the
// stretch of input just before it, last sample first. The segment clock and the
// recording run all the time, engaged or not.
class ReverserUnit {
public:
    static constexpr int32_t kRingSize = 533610;

    ReverserUnit();

    void process(float& l, float& r);

    // Switching on starts a new segment at once; switching off only fades out.
    void setEngaged(bool engaged);
    // Segment length from a count of thirty-second notes at the given tempo.
    void setLength(double thirtySecondNotes, double tempo);
    void setSampleRate(double sampleRate);

    int32_t counter = 0;
    int32_t length = 5512;
    float position = 0.0f;
    bool active = false;
    float mix = 0.0f;
    float sampleRate = 44100.0f;
};

} // namespace vexbit
