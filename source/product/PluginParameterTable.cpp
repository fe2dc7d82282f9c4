#include "product/PluginParameterTable.h"

#include "common/ParameterIds.h"

#include <string>
#include <utility>
#include <vector>

namespace vexbit {

namespace {

constexpr double kMid = 0.1; // one tenth of the range at the knob's midpoint

// Effect slot order fixes the per-effect IDs.
const char* const kEffectShortNames[] = {"Delay",    "TapeStop",  "Filter",   "Lo-fi",
                                         "Shuffler", "Retrigger", "Reverser", "Gator"};

// Adds records whose MIDI controller comes from the IDs header, so the host's
// mapping and the engine's echo can never disagree.
class TableWriter {
public:
    explicit TableWriter(ParameterTable& table) : t_(table) {}

    void linear(ParamID id, std::string name, double min, double max, double defaultValue)
    {
        t_.addLinear(id, std::move(name), min, max, defaultValue, midiControllerOf(id));
    }
    void integer(ParamID id, std::string name, int32_t min, int32_t max, int32_t defaultValue)
    {
        t_.addInteger(id, std::move(name), min, max, defaultValue, midiControllerOf(id));
    }
    void skewed(ParamID id, std::string name, double min, double max, double defaultValue)
    {
        t_.addSkewed(id, std::move(name), min, max, defaultValue, kMid, midiControllerOf(id));
    }
    void saved(ParamID id, std::string name, bool defaultOn)
    {
        t_.addSwitch(id, std::move(name), defaultOn, midiControllerOf(id), true);
    }
    // A trigger: a switch that is never saved.
    void trigger(ParamID id, std::string name)
    {
        t_.addSwitch(id, std::move(name), false, midiControllerOf(id), false);
    }
    void list(ParamID id, std::string name, std::vector<std::string> entries, double defaultIndex)
    {
        t_.addList(id, std::move(name), std::move(entries), defaultIndex, midiControllerOf(id));
    }

private:
    ParameterTable& t_;
};

void addGlobals(TableWriter& t)
{
    t.saved(kAutoPlayId, "AutoPlay", false);
    t.integer(kMaxConcurrencyId, "Max Concurrency", 1, 8, 2);
    t.linear(kNoEffectRateId, "NoEffect Exec Rate", 0, 1200, 800);
}

void addScheduling(TableWriter& t)
{
    int slot = 0;
    for (const char* shortName : kEffectShortNames) {
        const std::string name = shortName;
        // Only "Enable" gets a space: hosts already know the other two titles written together.
        t.saved(schedulingEnableId(slot), name + " Enable", true);
        t.linear(schedulingRateId(slot), name + "Exec Rate", 0, 100, 50);
        t.list(schedulingLengthId(slot), name + "Length",
               {"1/16 Note", "1/8 Note", "1/4 Note", "1/2 Note", "1/1 Note", "Infinite"}, 2);
        ++slot;
    }
}

// Every effect block opens with Mute and On/Off; its Randomise trigger is never saved.
void addEffectSwitches(TableWriter& t, ParamID muteId, const std::string& prefix)
{
    t.saved(muteId, prefix + " Mute", false);
    t.saved(muteId + 1, prefix + " On/Off", false);
}

void addEffects(TableWriter& t)
{
    addEffectSwitches(t, kDelayMuteId, "Delay");
    t.linear(kDelayLevelId, "Delay Level", 0, 1, 0.3);
    t.skewed(kDelayTimeId, "Delay Time", 20, 500, 50);
    t.linear(kDelayFeedbackId, "Delay FeedBack", 0, 0.9, 0.3);
    t.linear(kGranularDryWetId, "Granular Dry/Wet", 0, 1, 0);
    t.skewed(kGranularDurationId, "Granular Duration", 20, 500, 200);
    t.skewed(kGranularGrainSizeId, "Granular GrainSize", 20, 1000, 250);
    t.trigger(kDelayRandomiseId, "Delay Randomise");

    addEffectSwitches(t, kTapeStopMuteId, "TapeStop");
    t.linear(kTapeStopStartSpeedId, "TapeStop StartSpeed", 0, 1, 0.8);
    t.linear(kTapeStopStopSpeedId, "TapeStop StopSpeed", 0, 1, 1.0);
    t.trigger(kTapeStopRandomiseId, "TapeStop Randomise");

    addEffectSwitches(t, kFilterMuteId, "Filter");
    t.skewed(kLowPassFreqId, "Filter LowPass Freq", 20, 20000, 5000);
    t.linear(kLowPassQId, "Filter LowPass Q", 0.3, 10, 4.0);
    t.skewed(kHighPassFreqId, "Filter HighPass Freq", 20, 20000, 1000);
    t.linear(kHighPassQId, "Filter HighPass Q", 0.3, 10, 4.0);
    t.trigger(kFilterRandomiseId, "Filter Randomise");

    addEffectSwitches(t, kLoFiMuteId, "Lo-Fi");
    t.integer(kLoFiBitDepthId, "Lo-Fi BitDepth", 2, 16, 5);
    t.integer(kLoFiFrequencyId, "Lo-Fi Freqency", 1, 15, 10);
    t.trigger(kLoFiRandomiseId, " Lo-fi Randomise");

    addEffectSwitches(t, kShufflerMuteId, "Shuffler");
    t.saved(kShufflerSimpleModeId, "Shuffler SimpleMode", true);
    t.list(kShufflerLengthId, "Shuffler Length", {"1/32", "1/16", "1/8", "1/4", "1/2"}, 1);
    // The rates in ID order, 1/32 up to 1/2.
    const char* const rateTitles[] = {
        "Shuffler 1/32 Note Rate ", "Shuffler 1/16 Note Rate",       "Shuffler dotted 1/16 Note Rate",
        "Shuffler 1/8 Note Rate",   "Shuffler dotted 1/8 Note Rate", "Shuffler double dotted 1/8 Note Rate",
        "Shuffler 1/4 Note Rate",   "Shuffler dotted 1/4 Note Rate", "Shuffler double dotted 1/4 Note Rate",
        "Shuffler 1/2 Note Rate"};
    const double rateDefaults[] = {10, 100, 10, 50, 0, 0, 0, 0, 0, 0};
    for (ParamID i = 0; i <= kLastShufflerRateId - kFirstShufflerRateId; ++i)
        t.linear(kFirstShufflerRateId + i, rateTitles[i], 0, 100, rateDefaults[i]);
    t.trigger(kShufflerRandomiseId, "Shuffler Randomise");

    addEffectSwitches(t, kRetriggerMuteId, "Retrigger");
    t.linear(kRetriggerLengthId, "Retrigger Length", 0.01, 16, 1.0);
    t.linear(kRetriggerPitchId, "Retrigger Pitch", -48, 48, 0);
    t.saved(kRetriggerBeatSyncId, "Retrigger BeatSync", true);
    t.trigger(kRetriggerRandomiseId, "Retrigger Randomise");

    addEffectSwitches(t, kReverserMuteId, "Reverser");
    // The Reverser's length has always carried this title; saved projects and
    // host automation lanes know it by it.
    t.linear(kReverserLengthId, "Retrigger Length", 0.01, 32, 16);
    t.trigger(kReverserRandomiseId, "Reverser Randomise");

    addEffectSwitches(t, kGatorMuteId, "Gator");
    t.linear(kGatorSpeedId, "Gator Speed", 4, 30, 8);
    t.trigger(kGatorRandomiseId, "Gator Randomise");
}

} // namespace

void buildPluginParameterTable(ParameterTable& table)
{
    TableWriter writer(table);
    addGlobals(writer);
    addScheduling(writer);
    addEffects(writer);
}

} // namespace vexbit
