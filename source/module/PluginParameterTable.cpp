#include "module/PluginParameterTable.h"

#include <string>

namespace vexbit {

namespace {

constexpr int32_t kNoController = -1;
constexpr double kMid = 0.1; // one tenth of the range at the knob's midpoint

// Effect slot order fixes the per-effect IDs 100 + 10 * slot.
const char* const kEffectShortNames[] = {"Delay",     "TapeStop",  "Filter",   "Lo-fi",
                                         "Shuffler",  "Retrigger", "Reverser", "Gator"};

void addGlobals(ParameterTable& t)
{
    t.addSwitch(1, "AutoPlay", false, kNoController, true);
    t.addInteger(2, "Max Concurrency", 1, 8, 2, kNoController);
    t.addLinear(3, "NoEffect Exec Rate", 0, 1200, 800, kNoController);
}

void addScheduling(ParameterTable& t)
{
    ParamID base = 100;
    for (const char* shortName : kEffectShortNames) {
        const std::string name = shortName;
        // Only "Enable" gets a space: hosts already know the other two titles written together.
        t.addSwitch(base, name + " Enable", true, kNoController, true);
        t.addLinear(base + 1, name + "Exec Rate", 0, 100, 50, kNoController);
        t.addList(base + 2, name + "Length",
                  {"1/16 Note", "1/8 Note", "1/4 Note", "1/2 Note", "1/1 Note", "Infinite"}, 2, kNoController);
        base += 10;
    }
}

// Every effect block opens with Mute and On/Off; its Randomise trigger (+99) is never saved.
void addEffectSwitches(ParameterTable& t, ParamID base, const std::string& prefix)
{
    t.addSwitch(base, prefix + " Mute", false, kNoController, true);
    t.addSwitch(base + 1, prefix + " On/Off", false, kNoController, true);
}

void addEffects(ParameterTable& t)
{
    addEffectSwitches(t, 200, "Delay");
    t.addLinear(202, "Delay Level", 0, 1, 0.3, 1);
    t.addSkewed(203, "Delay Time", 20, 500, 50, kMid, 2);
    t.addLinear(204, "Delay FeedBack", 0, 0.9, 0.3, 3);
    t.addLinear(205, "Granular Dry/Wet", 0, 1, 0, 4);
    t.addSkewed(206, "Granular Duration", 20, 500, 200, kMid, 5);
    t.addSkewed(207, "Granular GrainSize", 20, 1000, 250, kMid, 6);
    t.addSwitch(299, "Delay Randomise", false, kNoController, false);

    addEffectSwitches(t, 300, "TapeStop");
    t.addLinear(302, "TapeStop StartSpeed", 0, 1, 0.8, 11);
    t.addLinear(303, "TapeStop StopSpeed", 0, 1, 1.0, 12);
    t.addSwitch(399, "TapeStop Randomise", false, kNoController, false);

    addEffectSwitches(t, 400, "Filter");
    t.addSkewed(402, "Filter LowPass Freq", 20, 20000, 5000, kMid, 21);
    t.addLinear(403, "Filter LowPass Q", 0.3, 10, 4.0, 22);
    t.addSkewed(404, "Filter HighPass Freq", 20, 20000, 1000, kMid, 23);
    t.addLinear(405, "Filter HighPass Q", 0.3, 10, 4.0, 24);
    t.addSwitch(499, "Filter Randomise", false, kNoController, false);

    addEffectSwitches(t, 500, "Lo-Fi");
    t.addInteger(502, "Lo-Fi BitDepth", 2, 16, 5, 31);
    t.addInteger(503, "Lo-Fi Freqency", 1, 15, 10, 32);
    t.addSwitch(599, " Lo-fi Randomise", false, kNoController, false);

    addEffectSwitches(t, 600, "Shuffler");
    t.addSwitch(602, "Shuffler SimpleMode", true, 51, true);
    t.addList(603, "Shuffler Length", {"1/32", "1/16", "1/8", "1/4", "1/2"}, 1, 52);
    t.addLinear(611, "Shuffler 1/32 Note Rate ", 0, 100, 10, 41);
    t.addLinear(612, "Shuffler 1/16 Note Rate", 0, 100, 100, 42);
    t.addLinear(613, "Shuffler dotted 1/16 Note Rate", 0, 100, 10, 43);
    t.addLinear(614, "Shuffler 1/8 Note Rate", 0, 100, 50, 44);
    t.addLinear(615, "Shuffler dotted 1/8 Note Rate", 0, 100, 0, 45);
    t.addLinear(616, "Shuffler double dotted 1/8 Note Rate", 0, 100, 0, 46);
    t.addLinear(617, "Shuffler 1/4 Note Rate", 0, 100, 0, 47);
    t.addLinear(618, "Shuffler dotted 1/4 Note Rate", 0, 100, 0, 48);
    t.addLinear(619, "Shuffler double dotted 1/4 Note Rate", 0, 100, 0, 49);
    t.addLinear(620, "Shuffler 1/2 Note Rate", 0, 100, 0, 50);
    t.addSwitch(699, "Shuffler Randomise", false, kNoController, false);

    addEffectSwitches(t, 700, "Retrigger");
    t.addLinear(702, "Retrigger Length", 0.01, 16, 1.0, 61);
    t.addLinear(703, "Retrigger Pitch", -48, 48, 0, 62);
    t.addSwitch(704, "Retrigger BeatSync", true, 63, true);
    t.addSwitch(799, "Retrigger Randomise", false, kNoController, false);

    addEffectSwitches(t, 800, "Reverser");
    // The Reverser's length has always carried this title; saved projects and
    // host automation lanes know it by it.
    t.addLinear(802, "Retrigger Length", 0.01, 32, 16, 71);
    t.addSwitch(899, "Reverser Randomise", false, kNoController, false);

    addEffectSwitches(t, 900, "Gator");
    t.addLinear(902, "Gator Speed", 4, 30, 8, 81);
    t.addSwitch(999, "Gator Randomise", false, kNoController, false);
}

} // namespace

void buildPluginParameterTable(ParameterTable& table)
{
    addGlobals(table);
    addScheduling(table);
    addEffects(table);
}

} // namespace vexbit
