#include "engine/EchoRecordingHost.h"
#include "engine/GlitchEngine.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace vexbit {
namespace {

using test::EchoRecordingHost;
using Echo = EchoRecordingHost::Echo;

class Scheduler : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = std::make_unique<GlitchEngine>(host);
        host.engine = engine.get();
        test::applySchedulingDefaults(host);
        host.clearRecords();
    }

    // AutoPlay on, no "no effect" weight, and only the given slots enabled.
    void autoPlayOnly(std::initializer_list<int> slots)
    {
        host.set(1, 1.0);
        host.set(3, 0.0);
        for (uint32_t slot = 0; slot < 8; ++slot) host.set(100 + 10 * slot, 0.0);
        for (int slot : slots) host.set(100 + 10 * static_cast<uint32_t>(slot), 1.0);
        host.clearRecords();
    }
    // Every AutoPlay start of the slot lasts this many sixteenths (index into the lengths).
    void fixLength(int slot, int lengthIndex)
    {
        std::array<int32_t, 9> weights{};
        weights[static_cast<size_t>(lengthIndex)] = 100;
        engine->lengthPickers[static_cast<size_t>(slot)].setWeights(std::span<const int32_t>(weights));
    }
    bool isOn(int slot) const { return host.getParameterValue(GlitchEngine::onOffId(slot)) > 0.0; }
    int timedSlots() const
    {
        int n = 0;
        for (int32_t t : engine->remainingTicks) n += t > 0 ? 1 : 0;
        return n;
    }

    EchoRecordingHost host;
    std::unique_ptr<GlitchEngine> engine;
};

TEST_F(Scheduler, TriggerNotesHoldTheirEffectOnWhateverChannelAndVelocity)
{
    engine->onNoteOn(15, 52, 0.0f);
    EXPECT_TRUE(isOn(2));
    EXPECT_TRUE(engine->filter.engaged());
    EXPECT_EQ(host.changed, std::vector<uint32_t>{401});
    engine->onNoteOff(3, 52, 0.7f);
    EXPECT_FALSE(isOn(2));
    EXPECT_FALSE(engine->filter.engaged());
    EXPECT_EQ(host.echoes, (std::vector{EchoRecordingHost::noteOn(52), EchoRecordingHost::noteOff(52)}));

    // A note-off without its note-on only confirms the effect is off.
    host.clearRecords();
    engine->onNoteOff(0, 60, 0.0f);
    EXPECT_EQ(host.echoes, std::vector{EchoRecordingHost::noteOff(60)});

    host.clearRecords();
    for (int16_t pitch : {int16_t{-1}, int16_t{0}, int16_t{47}, int16_t{49}, int16_t{61}, int16_t{66}, int16_t{71},
                          int16_t{73}, int16_t{85}, int16_t{127}, int16_t{32767}}) {
        engine->onNoteOn(0, pitch, 1.0f);
        engine->onNoteOff(0, pitch, 1.0f);
    }
    EXPECT_TRUE(host.echoes.empty());
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(Scheduler, MaxConcurrencyOneLetsASecondTimedEffectStartButNotAThird)
{
    host.set(2, 1.0);
    for (int slot = 0; slot < 3; ++slot) fixLength(slot, 7); // sixteen sixteenths
    autoPlayOnly({0});
    engine->onTick(0.0);
    autoPlayOnly({1});
    engine->onTick(0.25);
    EXPECT_TRUE(isOn(0) && isOn(1));
    EXPECT_EQ(engine->activeTimedCount, 2);
    autoPlayOnly({2});
    engine->onTick(0.5);
    EXPECT_FALSE(isOn(2));
    EXPECT_EQ(engine->remainingTicks[2], 0);
    EXPECT_EQ(engine->remainingTicks[0], 14);
    EXPECT_EQ(engine->activeTimedCount, 2);
}

TEST_F(Scheduler, InfiniteStartsTakeNoPlaceInTheCountAndEndWithANoteOff)
{
    host.set(2, 1.0);
    for (uint32_t slot = 0; slot < 8; ++slot) host.set(102 + 10 * slot, 5.0);
    autoPlayOnly({0, 1, 2, 3, 4, 5, 6, 7});
    for (int t = 0; t < 200; ++t) engine->onTick(0.25 * t);
    EXPECT_EQ(engine->activeTimedCount, 0);
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(engine->remainingTicks[static_cast<size_t>(slot)], 0);
        EXPECT_TRUE(isOn(slot)) << slot;
        engine->onNoteOff(0, GlitchEngine::kTriggerNotes[static_cast<size_t>(slot)], 0.0f);
        EXPECT_FALSE(isOn(slot)) << slot;
    }
}

TEST_F(Scheduler, BeatAndGridTicksFollowTheSixteenthWithinTheBeat)
{
    // Only the beat-synchronised Retrigger sounds; the rest of the chain passes
    // its output on one sample late.
    engine->delay.setLevel(0.0f);
    engine->retrigger.setBeatSync(true);
    engine->retrigger.setSliceLength(4.0, 120.0);
    int t = 1;
    auto feed = [&](int frames) {
        std::vector<float> in(static_cast<size_t>(frames)), out(in.size());
        for (float& x : in) x = static_cast<float>(t++);
        engine->processAudio(in.data(), in.data(), out.data(), out.data(), frames);
        return out;
    };
    feed(1000);
    const int beat = t;
    engine->onTick(3.0);
    feed(500);
    engine->onTick(2.75);
    engine->onTick(-0.75); // before zero: no grid tick
    engine->onTick(4.999999);
    feed(500);
    EXPECT_EQ(engine->shuffler.gridCounter(0), 1000);
    EXPECT_EQ(engine->shuffler.gridCounter(1), 2000);
    EXPECT_EQ(engine->shuffler.gridCounter(3), 500);

    // The repeat starts at the one beat tick.
    engine->retrigger.setEngaged(true);
    const auto out = feed(200);
    for (int k = 21; k < 200; ++k) ASSERT_EQ(out[static_cast<size_t>(k)], static_cast<float>(beat + k - 1)) << k;
}

} // namespace
} // namespace vexbit
