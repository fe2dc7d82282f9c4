#pragma once

#include "engine/DelayUnit.h"
#include "engine/EngineHost.h"
#include "engine/FilterUnit.h"
#include "engine/GatorUnit.h"
#include "engine/GranularUnit.h"
#include "engine/LoFiUnit.h"
#include "engine/RetriggerUnit.h"
#include "engine/ReverserUnit.h"
#include "engine/ShufflerUnit.h"
#include "engine/TapeStopUnit.h"
#include "engine/WeightedPicker.h"

#include "common/ParameterIds.h"

#include <array>
#include <cstdint>

namespace vexbit {

// The glitch engine: the eight effect units run as one fixed chain over a
// stereo signal, plus the scheduler's pickers and counters. The chain runs unit
// by unit over runs of frames; the result is the same as running it sample by
// sample, because no unit feeds an earlier one.
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

    // Effect slot i (Delay, TapeStop, Filter, Lo-Fi, Shuffler, Retrigger,
    // Reverser, Gator): the note that holds it on, the note that redraws its
    // settings, and the IDs of its parameter block.
    static constexpr std::array<int16_t, kEffectCount> kTriggerNotes{48, 50, 52, 53, 55, 57, 59, 60};
    static constexpr std::array<int16_t, kEffectCount> kRandomiseNotes{72, 74, 76, 77, 79, 81, 83, 84};
    static constexpr uint32_t muteId(int slot) { return effectMuteId(slot); }
    static constexpr uint32_t onOffId(int slot) { return effectOnOffId(slot); }
    static constexpr uint32_t randomiseId(int slot) { return effectRandomiseId(slot); }
    // AutoPlay's length choices in sixteenth notes; 0 runs until switched off.
    static constexpr std::array<int32_t, kLengthChoices> kLengthSixteenths{1, 2, 3, 4, 6, 8, 12, 16, 0};

    // Brings the engine in line with the stored value of one parameter (the
    // value argument is not used) and echoes it on the MIDI output.
    void applyParameter(uint32_t id, double value);
    // The parameter's stored value on the 0..1 scale as a 7-bit controller value.
    void sendControllerEcho(uint32_t id, uint8_t controller, int32_t sampleOffset);
    // Gives the parameter a fresh random value through the store-apply-mark path.
    void randomise(uint32_t id);
    // The controller echo of every continuous parameter, so a recorder of the
    // MIDI output starts from the current settings.
    void onPlayStart(double positionQuarters);

    // Trigger notes hold their effect on; the notes two octaves up redraw its settings.
    void onNoteOn(int16_t channel, int16_t pitch, float velocity);
    void onNoteOff(int16_t channel, int16_t pitch, float velocity);
    // Called every eighth of a beat; acts on sixteenth-note boundaries only.
    void onTick(double positionQuarters);
    // AutoPlay's start of one slot for a drawn number of sixteenths.
    void startTimedEffect(uint32_t onOffParamId, int32_t slot);

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
    // Frames the units run through one after another, each over the whole run.
    static constexpr int32_t kRunFrames = 256;
    std::array<float, kRunFrames> runL_{};
    std::array<float, kRunFrames> runR_{};

    void processRun(float* l, float* r, int32_t n);
};

} // namespace vexbit
