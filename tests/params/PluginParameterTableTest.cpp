#include "product/ModuleConfig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace vexbit;

namespace {

struct Expected {
    ParamID id;
    const char* name;
    int32_t cc;
};

// Every title exactly as hosts and saved automation know it, in ID order.
const Expected kExpected[] = {
    {1, "AutoPlay", -1},
    {2, "Max Concurrency", -1},
    {3, "NoEffect Exec Rate", -1},
    {100, "Delay Enable", -1},
    {101, "DelayExec Rate", -1},
    {102, "DelayLength", -1},
    {110, "TapeStop Enable", -1},
    {111, "TapeStopExec Rate", -1},
    {112, "TapeStopLength", -1},
    {120, "Filter Enable", -1},
    {121, "FilterExec Rate", -1},
    {122, "FilterLength", -1},
    {130, "Lo-fi Enable", -1},
    {131, "Lo-fiExec Rate", -1},
    {132, "Lo-fiLength", -1},
    {140, "Shuffler Enable", -1},
    {141, "ShufflerExec Rate", -1},
    {142, "ShufflerLength", -1},
    {150, "Retrigger Enable", -1},
    {151, "RetriggerExec Rate", -1},
    {152, "RetriggerLength", -1},
    {160, "Reverser Enable", -1},
    {161, "ReverserExec Rate", -1},
    {162, "ReverserLength", -1},
    {170, "Gator Enable", -1},
    {171, "GatorExec Rate", -1},
    {172, "GatorLength", -1},
    {200, "Delay Mute", -1},
    {201, "Delay On/Off", -1},
    {202, "Delay Level", 1},
    {203, "Delay Time", 2},
    {204, "Delay FeedBack", 3},
    {205, "Granular Dry/Wet", 4},
    {206, "Granular Duration", 5},
    {207, "Granular GrainSize", 6},
    {299, "Delay Randomise", -1},
    {300, "TapeStop Mute", -1},
    {301, "TapeStop On/Off", -1},
    {302, "TapeStop StartSpeed", 11},
    {303, "TapeStop StopSpeed", 12},
    {399, "TapeStop Randomise", -1},
    {400, "Filter Mute", -1},
    {401, "Filter On/Off", -1},
    {402, "Filter LowPass Freq", 21},
    {403, "Filter LowPass Q", 22},
    {404, "Filter HighPass Freq", 23},
    {405, "Filter HighPass Q", 24},
    {499, "Filter Randomise", -1},
    {500, "Lo-Fi Mute", -1},
    {501, "Lo-Fi On/Off", -1},
    {502, "Lo-Fi BitDepth", 31},
    {503, "Lo-Fi Freqency", 32},
    {599, " Lo-fi Randomise", -1},
    {600, "Shuffler Mute", -1},
    {601, "Shuffler On/Off", -1},
    {602, "Shuffler SimpleMode", 51},
    {603, "Shuffler Length", 52},
    {611, "Shuffler 1/32 Note Rate ", 41},
    {612, "Shuffler 1/16 Note Rate", 42},
    {613, "Shuffler dotted 1/16 Note Rate", 43},
    {614, "Shuffler 1/8 Note Rate", 44},
    {615, "Shuffler dotted 1/8 Note Rate", 45},
    {616, "Shuffler double dotted 1/8 Note Rate", 46},
    {617, "Shuffler 1/4 Note Rate", 47},
    {618, "Shuffler dotted 1/4 Note Rate", 48},
    {619, "Shuffler double dotted 1/4 Note Rate", 49},
    {620, "Shuffler 1/2 Note Rate", 50},
    {699, "Shuffler Randomise", -1},
    {700, "Retrigger Mute", -1},
    {701, "Retrigger On/Off", -1},
    {702, "Retrigger Length", 61},
    {703, "Retrigger Pitch", 62},
    {704, "Retrigger BeatSync", 63},
    {799, "Retrigger Randomise", -1},
    {800, "Reverser Mute", -1},
    {801, "Reverser On/Off", -1},
    {802, "Retrigger Length", 71},
    {899, "Reverser Randomise", -1},
    {900, "Gator Mute", -1},
    {901, "Gator On/Off", -1},
    {902, "Gator Speed", 81},
    {999, "Gator Randomise", -1},
};

bool isSwitch(const ParamRecord& r)
{
    return r.kind == ParamKind::List && r.list == std::vector<std::string>{"Off", "On"};
}

} // namespace

TEST(PluginParameterTable, TitlesControllersAndOrder)
{
    configureModule();
    const ParameterTable& table = parameterTable();
    ASSERT_EQ(table.size(), 82u);
    ASSERT_EQ(std::size(kExpected), 82u);
    std::size_t i = 0;
    for (const auto& [id, record] : table) {
        SCOPED_TRACE(id);
        EXPECT_EQ(id, kExpected[i].id);
        EXPECT_EQ(record.name, kExpected[i].name);
        EXPECT_EQ(record.midiController, kExpected[i].cc);
        EXPECT_TRUE(record.units.empty());
        ++i;
    }
}

TEST(PluginParameterTable, KindsRangesDefaultsAndFlags)
{
    configureModule();
    const ParameterTable& t = parameterTable();
    for (const auto& [id, r] : t) {
        SCOPED_TRACE(id);
        const bool randomise = id % 100 == 99;
        EXPECT_EQ(r.flags, randomise ? static_cast<uint32_t>(kTransient) : 0u);
        if (randomise || (id >= 200 && id % 100 <= 1) || (id >= 100 && id < 200 && id % 10 == 0)) {
            EXPECT_TRUE(isSwitch(r));
            const bool defaultOn = id < 200;
            EXPECT_EQ(r.defaultValue, defaultOn ? 1.0 : 0.0);
        }
        if (id >= 100 && id < 200 && id % 10 == 1) {
            EXPECT_EQ(r.kind, ParamKind::Linear);
            EXPECT_EQ(r.max, 100.0);
            EXPECT_EQ(r.defaultValue, 50.0);
        }
        if (id >= 100 && id < 200 && id % 10 == 2) {
            EXPECT_EQ(r.list, (std::vector<std::string>{"1/16 Note", "1/8 Note", "1/4 Note", "1/2 Note", "1/1 Note",
                                                        "Infinite"}));
            EXPECT_EQ(r.defaultValue, 2.0);
        }
        if (r.kind == ParamKind::Skewed) {
            EXPECT_NEAR(r.skewExponent, 3.321928, 1e-6);
        }
    }

    const auto expectRange = [&](ParamID id, ParamKind kind, double min, double max, double def) {
        SCOPED_TRACE(id);
        const ParamRecord& r = *t.find(id);
        EXPECT_EQ(r.kind, kind);
        EXPECT_DOUBLE_EQ(r.min, min);
        EXPECT_DOUBLE_EQ(r.max, max);
        EXPECT_DOUBLE_EQ(r.defaultValue, def);
    };
    expectRange(1, ParamKind::List, 0, 1, 0);
    expectRange(2, ParamKind::Integer, 1, 8, 2);
    expectRange(3, ParamKind::Linear, 0, 1200, 800);
    expectRange(203, ParamKind::Skewed, 20, 500, 50);
    expectRange(204, ParamKind::Linear, 0, 0.9, 0.3);
    expectRange(206, ParamKind::Skewed, 20, 500, 200);
    expectRange(207, ParamKind::Skewed, 20, 1000, 250);
    expectRange(302, ParamKind::Linear, 0, 1, 0.8);
    expectRange(402, ParamKind::Skewed, 20, 20000, 5000);
    expectRange(405, ParamKind::Linear, 0.3, 10, 4);
    expectRange(502, ParamKind::Integer, 2, 16, 5);
    expectRange(503, ParamKind::Integer, 1, 15, 10);
    expectRange(602, ParamKind::List, 0, 1, 1);
    expectRange(603, ParamKind::List, 0, 4, 1);
    expectRange(611, ParamKind::Linear, 0, 100, 10);
    expectRange(612, ParamKind::Linear, 0, 100, 100);
    expectRange(614, ParamKind::Linear, 0, 100, 50);
    expectRange(620, ParamKind::Linear, 0, 100, 0);
    expectRange(702, ParamKind::Linear, 0.01, 16, 1);
    expectRange(703, ParamKind::Linear, -48, 48, 0);
    expectRange(704, ParamKind::List, 0, 1, 1);
    expectRange(802, ParamKind::Linear, 0.01, 32, 16);
    expectRange(902, ParamKind::Linear, 4, 30, 8);
    EXPECT_EQ(t.find(603)->list, (std::vector<std::string>{"1/32", "1/16", "1/8", "1/4", "1/2"}));
}
