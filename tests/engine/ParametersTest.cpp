#include "engine/EchoRecordingHost.h"
#include "engine/GlitchEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vexbit {
namespace {

using test::EchoRecordingHost;

class ParameterApplication : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = std::make_unique<GlitchEngine>(host);
        host.engine = engine.get();
        host.ranges = {{202, {0.0, 1.0}},     {203, {20.0, 500.0}},   {204, {0.0, 0.9}},  {206, {20.0, 500.0}},
                       {207, {20.0, 1000.0}}, {402, {20.0, 20000.0}}, {403, {0.3, 10.0}}, {404, {20.0, 20000.0}},
                       {405, {0.3, 10.0}},    {502, {2.0, 16.0}},     {503, {1.0, 15.0}}};
        for (uint32_t id = 611; id <= 620; ++id) host.ranges[id] = {0.0, 100.0};
    }

    EchoRecordingHost host;
    std::unique_ptr<GlitchEngine> engine;
};

TEST_F(ParameterApplication, AMutedEffectStaysOffButStillEchoesItsNote)
{
    host.set(400, 1.0);
    host.clearRecords();
    host.set(401, 1.0);
    EXPECT_FALSE(engine->filter.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(52)});
    EXPECT_EQ(host.noteVelocities, std::vector{1.0f});

    // Lifting the Mute engages it and echoes the On/Off value again.
    host.clearRecords();
    host.set(400, 0.0);
    EXPECT_TRUE(engine->filter.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(52)});

    // Any positive On/Off engages, but only above one half is it a note-on.
    host.clearRecords();
    host.set(901, 0.25);
    EXPECT_TRUE(engine->gator.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOff(60)});
}

TEST_F(ParameterApplication, DelayMuteDisengagesWithoutEchoAndLevelZeroSilencesTheGrains)
{
    host.set(202, 0.3);
    host.set(205, 0.5);
    EXPECT_EQ(engine->delay.level(), 0.0f) << "off until switched on";
    EXPECT_EQ(engine->granular.mix(), 0.0f) << "the dry/wet of a disengaged Delay waits";

    host.clearRecords();
    host.set(201, 1.0);
    EXPECT_FLOAT_EQ(engine->delay.level(), 0.3f);
    EXPECT_FLOAT_EQ(engine->granular.mix(), 0.5f);
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(48)});

    host.clearRecords();
    host.set(200, 1.0);
    EXPECT_EQ(engine->delay.level(), 0.0f);
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    host.set(200, 0.0);
    EXPECT_FLOAT_EQ(engine->delay.level(), 0.3f);
    EXPECT_FLOAT_EQ(engine->granular.mix(), 0.5f);
    EXPECT_TRUE(host.echoes.empty());

    // Levels beyond the parameters' ranges, as only a crafted state holds them.
    host.set(202, 1e30);
    host.set(205, 40.0);
    EXPECT_EQ(engine->delay.level(), 1.0f);
    EXPECT_EQ(engine->granular.mix(), 1.0f);
    host.set(205, 0.5);
    host.clearRecords();

    host.set(202, 0.0);
    EXPECT_EQ(engine->delay.level(), 0.0f);
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    host.set(205, 0.8); // no level, so the grains stay silent
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    EXPECT_EQ(host.echoes, (std::vector{EchoRecordingHost::controller(1, 0), EchoRecordingHost::controller(4, 101)}));
}

TEST_F(ParameterApplication, SettingsReachTheirUnitsWithTheirGuards)
{
    host.set(502, 16.0);
    EXPECT_EQ(engine->lofi.mask(), -1);
    host.set(502, 5.0);
    EXPECT_EQ(engine->lofi.mask(), -2048);
    host.set(502, 1.0);
    EXPECT_EQ(engine->lofi.mask(), -16384) << "below 2 bits acts as 2 bits";
    host.set(503, 7.9);
    EXPECT_EQ(engine->lofi.holdLength(), 7);

    host.set(703, 7.9);
    EXPECT_FLOAT_EQ(engine->retrigger.pitch(), std::exp2(7.0f / 12.0f));
    host.set(703, -0.5);
    EXPECT_EQ(engine->retrigger.pitch(), 1.0f);

    host.set(702, 0.01); // 0.625 ms at 120 BPM, raised to 1 ms
    EXPECT_FLOAT_EQ(engine->retrigger.sliceLength(), 44.1f);
    host.tempo = 60.0;
    host.set(702, 2.0); // two thirty-second notes at 60 BPM: 250 ms
    EXPECT_FLOAT_EQ(engine->retrigger.sliceLength(), 11025.0f);
    host.set(802, 4.0);
    EXPECT_EQ(engine->reverser.length(), 22050);

    host.set(302, 1.5);
    host.set(303, -0.5);
    EXPECT_EQ(engine->tapeStop.startSpeed(), 1.0f);
    EXPECT_EQ(engine->tapeStop.stopSpeed(), 0.0f);

    host.set(204, 0.45);
    EXPECT_FLOAT_EQ(engine->delay.feedback(), 0.45f);
    host.set(204, 5.0); // only a crafted state holds this; the echo must not grow without end
    EXPECT_FLOAT_EQ(engine->delay.feedback(), 0.9f);

    host.set(203, 100.0);
    EXPECT_FLOAT_EQ(engine->delay.targetTime(), 4410.0f);
    host.set(207, 10.0);
    EXPECT_EQ(engine->granular.grainSize(), 441);
    host.set(902, 11.0);
    EXPECT_EQ(engine->gator.speed(), 11.0f);

    host.set(704, 1.0);
    EXPECT_TRUE(engine->retrigger.beatSync());
    host.set(704, 0.4);
    EXPECT_FALSE(engine->retrigger.beatSync());
}

TEST_F(ParameterApplication, ContinuousParametersEchoTheirControllerValue)
{
    host.set(402, 20000.0);
    host.set(403, 0.3);
    host.set(502, 9.0); // (9 - 2) / 14 of 127
    EXPECT_EQ(host.echoes, (std::vector{EchoRecordingHost::controller(21, 127), EchoRecordingHost::controller(22, 0),
                                        EchoRecordingHost::controller(31, 63)}));
}

TEST_F(ParameterApplication, SimpleModeKeepsTheNoteRatesAsideUntilItIsSwitchedOff)
{
    host.set(602, 1.0);
    host.set(603, 3.0); // "1/4": note value 6 alone
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine->shuffler.lengthWeights().weight(i), i == 6 ? 100 : 0) << i;

    host.clearRecords();
    for (uint32_t id = 611; id <= 620; ++id) host.set(id, static_cast<double>(id - 600));
    EXPECT_EQ(engine->shuffler.lengthWeights().total(), 100) << "rates wait while the simple mode is on";
    ASSERT_EQ(host.echoes.size(), 10u);
    EXPECT_EQ(host.echoes.front(), EchoRecordingHost::controller(41, 13));

    host.clearRecords();
    host.set(602, 0.0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine->shuffler.lengthWeights().weight(i), 11 + i) << i;
    ASSERT_EQ(host.echoes.size(), 10u) << "each rate echoes as it is applied; the mode switch itself does not";
    EXPECT_EQ(host.echoes.back(), EchoRecordingHost::controller(50, 25));

    host.set(603, 0.0); // ignored outside the simple mode, but echoed
    EXPECT_EQ(engine->shuffler.lengthWeights().weight(0), 11);
    host.set(602, 1.0);
    EXPECT_EQ(engine->shuffler.lengthWeights().weight(0), 100);
    EXPECT_EQ(engine->shuffler.lengthWeights().total(), 100);
}

TEST_F(ParameterApplication, RandomiseActsOnlyOnAValueOfExactlyOne)
{
    for (double v : {0.5, 0.999999, 0.0, 2.0}) {
        host.set(299, v);
        host.set(999, v);
    }
    EXPECT_TRUE(host.normalizedSets.empty());
    EXPECT_TRUE(host.echoes.empty());

    host.set(299, 1.0);
    ASSERT_EQ(host.normalizedSets.size(), 6u);
    EXPECT_EQ(host.changed, (std::vector<uint32_t>{202, 203, 204, 205, 206, 207}));
    for (size_t i = 0; i < 6; ++i) {
        const double u = host.normalizedSets[i].second;
        EXPECT_EQ(host.normalizedSets[i].first, 202u + i);
        EXPECT_TRUE(u >= 0.0 && u <= 1.0) << u;
        EXPECT_NEAR(u * 10000.0, std::round(u * 10000.0), 1e-3) << "steps of 1/10000";
        EXPECT_EQ(host.echoes[i].number, static_cast<int32_t>(i) + 1);
    }
    EXPECT_EQ(host.echoes.size(), 6u);
}

TEST_F(ParameterApplication, ARedrawnFilterNeverPutsItsHighPassAboveItsLowPass)
{
    for (int round = 0; round < 50; ++round) {
        host.clearRecords();
        host.set(499, 1.0);
        ASSERT_EQ(host.normalizedSets.size(), 4u);
        EXPECT_EQ(host.normalizedSets[0].first, 402u);
        EXPECT_EQ(host.normalizedSets[1].first, 404u);
        EXPECT_LE(host.normalizedSets[1].second, host.normalizedSets[0].second);
    }
}

TEST_F(ParameterApplication, PickerWeightsFollowEnableExecRateAndLength)
{
    test::applySchedulingDefaults(host);
    EXPECT_EQ(engine->effectPicker.total(), 1200);
    EXPECT_EQ(engine->lengthPickers[3].total(), 162);

    host.set(3, 10.9);
    host.set(121, 99.9);
    EXPECT_EQ(engine->effectPicker.weight(0), 10);
    EXPECT_EQ(engine->effectPicker.weight(3), 99);
    host.set(120, 0.0);
    EXPECT_EQ(engine->effectPicker.weight(3), 0);
    host.set(121, 70.0); // a disabled effect keeps weight 0
    EXPECT_EQ(engine->effectPicker.weight(3), 0);
    host.set(120, 1.0);
    EXPECT_EQ(engine->effectPicker.weight(3), 70);

    host.set(172, 5.0);
    EXPECT_EQ(engine->lengthPickers[7].weight(8), 100);
    EXPECT_EQ(engine->lengthPickers[7].total(), 100);
    host.set(102, 0.0);
    EXPECT_EQ(engine->lengthPickers[0].total(), 125);
    host.set(102, 9.0); // a row past the list keeps to the last one
    EXPECT_EQ(engine->lengthPickers[0].weight(8), 100);

    // IDs between and beyond the table's change nothing.
    host.clearRecords();
    for (uint32_t id : {0u, 4u, 99u, 103u, 180u, 208u, 1000u, 0xFFFFFFFFu}) host.set(id, 1.0);
    EXPECT_EQ(engine->effectPicker.total(), 10 + 7 * 50 + 70);
    EXPECT_TRUE(host.echoes.empty());
}

TEST_F(ParameterApplication, TransportStartEchoesTheContinuousParametersAtOffset300)
{
    engine->onPlayStart(12.0);
    ASSERT_EQ(host.echoes.size(), 28u);
    const std::vector<int32_t> expected{1,  2,  3,  4,  5,  6,  11, 12, 21, 22, 23, 24, 31, 32,
                                        41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 61, 62, 71, 81};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host.echoes[i].kind, EchoRecordingHost::Echo::Kind::Controller);
        EXPECT_EQ(host.echoes[i].number, expected[i]);
        EXPECT_EQ(host.echoes[i].offset, 300);
    }
}

} // namespace
} // namespace vexbit
