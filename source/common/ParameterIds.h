#pragma once

// The plug-in's parameter IDs and the MIDI controller numbers hosts map to
// them. Saved states, host automation and MIDI mappings know the parameters by
// these numbers, so they never change. The table, the engine and the editor all
// take their numbers from here; nothing else in the tree writes them.

#include <array>
#include <cstdint>

namespace vexbit {

enum ParameterId : uint32_t {
    // AutoPlay
    kAutoPlayId = 1,
    kMaxConcurrencyId = 2,
    kNoEffectRateId = 3,

    // Per-effect scheduling: Enable, Exec Rate and Length of slot s at
    // kFirstSchedulingId + kSchedulingStride * s + 0, 1, 2.
    kFirstSchedulingId = 100,
    kLastSchedulingId = 172,

    // Each effect's block starts at 100 * (slot + 2) with Mute and On/Off; its
    // Randomise trigger sits at the block's end (+99).
    kDelayMuteId = 200,
    kDelayOnOffId = 201,
    kDelayLevelId = 202,
    kDelayTimeId = 203,
    kDelayFeedbackId = 204,
    kGranularDryWetId = 205,
    kGranularDurationId = 206,
    kGranularGrainSizeId = 207,
    kDelayRandomiseId = 299,

    kTapeStopMuteId = 300,
    kTapeStopOnOffId = 301,
    kTapeStopStartSpeedId = 302,
    kTapeStopStopSpeedId = 303,
    kTapeStopRandomiseId = 399,

    kFilterMuteId = 400,
    kFilterOnOffId = 401,
    kLowPassFreqId = 402,
    kLowPassQId = 403,
    kHighPassFreqId = 404,
    kHighPassQId = 405,
    kFilterRandomiseId = 499,

    kLoFiMuteId = 500,
    kLoFiOnOffId = 501,
    kLoFiBitDepthId = 502,
    kLoFiFrequencyId = 503,
    kLoFiRandomiseId = 599,

    kShufflerMuteId = 600,
    kShufflerOnOffId = 601,
    kShufflerSimpleModeId = 602,
    kShufflerLengthId = 603,
    // The ten note-value rates of the Shuffler's full mode, 1/32 up to 1/2.
    kFirstShufflerRateId = 611,
    kLastShufflerRateId = 620,
    kShufflerRandomiseId = 699,

    kRetriggerMuteId = 700,
    kRetriggerOnOffId = 701,
    kRetriggerLengthId = 702,
    kRetriggerPitchId = 703,
    kRetriggerBeatSyncId = 704,
    kRetriggerRandomiseId = 799,

    kReverserMuteId = 800,
    kReverserOnOffId = 801,
    kReverserLengthId = 802,
    kReverserRandomiseId = 899,

    kGatorMuteId = 900,
    kGatorOnOffId = 901,
    kGatorSpeedId = 902,
    kGatorRandomiseId = 999,

    // The host's bypass switch; it is no part of the table and is saved apart.
    kBypassId = 0x7FFFFFFF,
};

constexpr uint32_t kSchedulingStride = 10;
constexpr uint32_t kEffectBlockStride = 100;

// Slot s: 0 Delay, 1 TapeStop, 2 Filter, 3 Lo-Fi, 4 Shuffler, 5 Retrigger, 6 Reverser, 7 Gator.
constexpr uint32_t schedulingEnableId(int slot)
{
    return kFirstSchedulingId + kSchedulingStride * static_cast<uint32_t>(slot);
}
constexpr uint32_t schedulingRateId(int slot)
{
    return schedulingEnableId(slot) + 1u;
}
constexpr uint32_t schedulingLengthId(int slot)
{
    return schedulingEnableId(slot) + 2u;
}
constexpr uint32_t effectMuteId(int slot)
{
    return kDelayMuteId + kEffectBlockStride * static_cast<uint32_t>(slot);
}
constexpr uint32_t effectOnOffId(int slot)
{
    return effectMuteId(slot) + 1u;
}
constexpr uint32_t effectRandomiseId(int slot)
{
    return effectMuteId(slot) + 99u;
}

// A parameter and the MIDI controller number the host maps to it.
struct ControllerAssignment {
    uint32_t id;
    uint8_t controller;
};

// Every parameter with a MIDI controller, in ID order.
constexpr std::array<ControllerAssignment, 31> kControllerAssignments{{
    {kDelayLevelId, 1},
    {kDelayTimeId, 2},
    {kDelayFeedbackId, 3},
    {kGranularDryWetId, 4},
    {kGranularDurationId, 5},
    {kGranularGrainSizeId, 6},
    {kTapeStopStartSpeedId, 11},
    {kTapeStopStopSpeedId, 12},
    {kLowPassFreqId, 21},
    {kLowPassQId, 22},
    {kHighPassFreqId, 23},
    {kHighPassQId, 24},
    {kLoFiBitDepthId, 31},
    {kLoFiFrequencyId, 32},
    {kShufflerSimpleModeId, 51},
    {kShufflerLengthId, 52},
    {kFirstShufflerRateId + 0, 41},
    {kFirstShufflerRateId + 1, 42},
    {kFirstShufflerRateId + 2, 43},
    {kFirstShufflerRateId + 3, 44},
    {kFirstShufflerRateId + 4, 45},
    {kFirstShufflerRateId + 5, 46},
    {kFirstShufflerRateId + 6, 47},
    {kFirstShufflerRateId + 7, 48},
    {kFirstShufflerRateId + 8, 49},
    {kFirstShufflerRateId + 9, 50},
    {kRetriggerLengthId, 61},
    {kRetriggerPitchId, 62},
    {kRetriggerBeatSyncId, 63},
    {kReverserLengthId, 71},
    {kGatorSpeedId, 81},
}};

constexpr int32_t kNoMidiController = -1;

// The controller number mapped to a parameter, or kNoMidiController.
constexpr int32_t midiControllerOf(uint32_t id)
{
    for (const ControllerAssignment& a : kControllerAssignments)
        if (a.id == id) return a.controller;
    return kNoMidiController;
}

} // namespace vexbit
