#pragma once

#include "DelayUnit.h"
#include "EngineHost.h"
#include "FilterUnit.h"
#include "GatorUnit.h"
#include "GranularUnit.h"
#include "LoFiUnit.h"
#include "RetriggerUnit.h"
#include "ReverserUnit.h"
#include "ShufflerUnit.h"
#include "TapeStopUnit.h"
#include "WeightedPicker.h"

#include <array>
#include <cstdint>

namespace vexbit {

// The glitch engine: the eight effect units run as one fixed chain over a
// stereo signal, sample by sample, plus the scheduler's pickers and counters.
// It reads parameters and reports its own changes through the EngineHost that
// owns it. Everything is allocated at construction; processing never allocates.
class GlitchEngine {
public:
    static constexpr int kEffectCount = 8;
    static constexpr int kLengthChoices = 9;

    explicit GlitchEngine(EngineHost& host);

    GlitchEngine(const GlitchEngine&) = delete;
    GlitchEngine& operator=(const GlitchEngine&) = delete;

    // Runs the chain over frames samples. Input and output may be the same
    // memory. A null input channel is read as silence and a null output channel is
    // not written; the chain runs either way, so every unit stays in time.
    // Non-finite input samples enter the chain as 0. frames < 1 does nothing.
    void processAudio(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);

    // The host has already stored the new tempo; tempo-synced lengths follow it.
    void onTempoChanged(double bpm);
    // Every unit follows the new rate; ring capacities never change.
    void onSampleRateChanged(double sampleRate);

    EngineHost& host() const { return host_; }

private:
    EngineHost& host_;

public:
    // AutoPlay's choice: index 0 is "no effect", index k is effect slot k - 1.
    WeightedPicker effectPicker;
    // Per slot, the choice among the lengths 1, 2, 3, 4, 6, 8, 12, 16 and 0 (unlimited) sixteenths.
    std::array<WeightedPicker, kEffectCount> lengthPickers;
    std::array<int32_t, kEffectCount> remainingTicks{};
    int32_t activeTimedCount = 0;

    GatorUnit gator;
    LoFiUnit lofi;
    FilterUnit filter;
    TapeStopUnit tapeStop;
    RetriggerUnit retrigger;
    ShufflerUnit shuffler;
    ReverserUnit reverser;
    DelayUnit delay;
    GranularUnit granular;

private:
    void processFrame(float& l, float& r);
};

} // namespace vexbit
