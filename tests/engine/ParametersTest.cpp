#include "engine/EchoRecordingHost.h"
#include "common/ParameterIds.h"
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
    }

    EchoRecordingHost host;
    std::unique_ptr<GlitchEngine> engine;
};

TEST_F(ParameterApplication, AMutedEffectStaysOffButStillEchoesItsNote)
{
    host.set(kFilterMuteId, 1.0);
    host.clearRecords();
    host.set(kFilterOnOffId, 1.0);
    EXPECT_FALSE(engine->filter.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(52)});
    EXPECT_EQ(host.noteVelocities, std::vector{1.0f});

    // Lifting the Mute engages it and echoes the On/Off value again.
    host.clearRecords();
    host.set(kFilterMuteId, 0.0);
    EXPECT_TRUE(engine->filter.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(52)});

    // Any positive On/Off engages, but only above one half is it a note-on.
    host.clearRecords();
    host.set(kGatorOnOffId, 0.25);
    EXPECT_TRUE(engine->gator.engaged());
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOff(60)});
}

TEST_F(ParameterApplication, DelayMuteDisengagesWithoutEchoAndLevelZeroSilencesTheGrains)
{
    host.set(kDelayLevelId, 0.3);
    host.set(kGranularDryWetId, 0.5);
    EXPECT_EQ(engine->delay.level(), 0.0f) << "off until switched on";
    EXPECT_EQ(engine->granular.mix(), 0.0f) << "the dry/wet of a disengaged Delay waits";

    host.clearRecords();
    host.set(kDelayOnOffId, 1.0);
    EXPECT_FLOAT_EQ(engine->delay.level(), 0.3f);
    EXPECT_FLOAT_EQ(engine->granular.mix(), 0.5f);
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOn(48)});

    host.clearRecords();
    host.set(kDelayMuteId, 1.0);
    EXPECT_EQ(engine->delay.level(), 0.0f);
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    host.set(kDelayMuteId, 0.0);
    EXPECT_FLOAT_EQ(engine->delay.level(), 0.3f);
    EXPECT_FLOAT_EQ(engine->granular.mix(), 0.5f);
    EXPECT_TRUE(host.echoes.empty());

    // Levels beyond the parameters' ranges, as only a crafted state holds them.
    host.set(kDelayLevelId, 1e30);
    host.set(kGranularDryWetId, 40.0);
    EXPECT_EQ(engine->delay.level(), 1.0f);
    EXPECT_EQ(engine->granular.mix(), 1.0f);
    host.set(kGranularDryWetId, 0.5);
    host.clearRecords();

    host.set(kDelayLevelId, 0.0);
    EXPECT_EQ(engine->delay.level(), 0.0f);
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    host.set(kGranularDryWetId, 0.8); // no level, so the grains stay silent
    EXPECT_EQ(engine->granular.mix(), 0.0f);
    EXPECT_EQ(host.echoes, (std::vector{EchoRecordingHost::controller(1, 0), EchoRecordingHost::controller(4, 101)}));
}

TEST_F(ParameterApplication, SimpleModeKeepsTheNoteRatesAsideUntilItIsSwitchedOff)
{
    host.set(kShufflerSimpleModeId, 1.0);
    host.set(kShufflerLengthId, 3.0); // "1/4": note value 6 alone
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine->shuffler.lengthWeights().weight(i), i == 6 ? 100 : 0) << i;

    host.clearRecords();
    for (uint32_t id = 611; id <= 620; ++id) host.set(id, static_cast<double>(id - 600));
    EXPECT_EQ(engine->shuffler.lengthWeights().total(), 100) << "rates wait while the simple mode is on";
    ASSERT_EQ(host.echoes.size(), 10u);
    EXPECT_EQ(host.echoes.front(), EchoRecordingHost::controller(41, 13));

    host.clearRecords();
    host.set(kShufflerSimpleModeId, 0.0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine->shuffler.lengthWeights().weight(i), 11 + i) << i;
    ASSERT_EQ(host.echoes.size(), 10u) << "each rate echoes as it is applied; the mode switch itself does not";
    EXPECT_EQ(host.echoes.back(), EchoRecordingHost::controller(50, 25));

    host.set(kShufflerLengthId, 0.0); // ignored outside the simple mode, but echoed
    EXPECT_EQ(engine->shuffler.lengthWeights().weight(0), 11);
    host.set(kShufflerSimpleModeId, 1.0);
    EXPECT_EQ(engine->shuffler.lengthWeights().weight(0), 100);
    EXPECT_EQ(engine->shuffler.lengthWeights().total(), 100);
}

TEST_F(ParameterApplication, ARedrawnFilterNeverPutsItsHighPassAboveItsLowPass)
{
    for (int round = 0; round < 50; ++round) {
        host.clearRecords();
        host.set(kFilterRandomiseId, 1.0);
        ASSERT_EQ(host.normalizedSets.size(), 4u);
        EXPECT_EQ(host.normalizedSets[0].first, 402u);
        EXPECT_EQ(host.normalizedSets[1].first, 404u);
        EXPECT_LE(host.normalizedSets[1].second, host.normalizedSets[0].second);
    }
}

} // namespace
} // namespace vexbit
