#pragma once

namespace vexbit {

// Square-wave gate: open for half of each cycle, closed for the other half,
// with 10-sample linear ramps at the edges. The phase runs whether the gate is
// engaged or not; only a switch-off brings it back to the start of an open half.
class GatorUnit {
public:
    GatorUnit();

    void process(float& l, float& r);

    // Engaged: full gating from the current phase. Disengaged (or muted): the gate
    // stays open and the phase returns to 0, so the next switch-on opens first.
    void setEngaged(bool engaged);
    // Cycles per second; values that are not finite are ignored.
    void setSpeed(double cyclesPerSecond);
    void setSampleRate(double sampleRate);

    float speed = 8.0f;
    float depth = 0.0f;
    // Starts at 0 so the engine's output fades in over its first ten samples.
    float gain = 0.0f;
    float phase = 0.0f;
    float phaseIncrement;
    float sampleRate = 44100.0f;
};

} // namespace vexbit
