// How one host block becomes pieces of audio cut at sample-exact events.

#include "processor/ProcessorFixture.h"

#include <cmath>

namespace vexbit::test {
namespace {

constexpr ParamID kDelayLevel = 202; // Linear 0..1, default 0.3
constexpr ParamID kBypass = kBypassId;

using BlockSplitting = ProcessorFixture;

TEST_F(BlockSplitting, EventsAtOneOffsetCutTheBlockThereWithAnEmptyPieceBetweenThem)
{
    block.paramsIn.add(kDelayLevel, 100, 0.75);
    block.addInput(host::noteOnEvent(100, 60));
    const auto calls = run(512);

    EXPECT_EQ(framesOf(calls), (std::vector<int32>{100, 0, 412}));
    const auto events = processor->eventCalls();
    ASSERT_EQ(events.size(), 2u);
    // Queued in the order parameters, notes; equal offsets keep that order.
    EXPECT_EQ(events[0].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[0].id, kDelayLevel);
    EXPECT_DOUBLE_EQ(events[0].value, 0.75);
    EXPECT_EQ(events[0].position, 100);
    EXPECT_EQ(events[1].hook, Hook::NoteOn);
    EXPECT_EQ(events[1].frames, 60);
    EXPECT_EQ(events[1].position, 100);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayLevel), 0.75);

    // Every piece got its own stretch of the buffers.
    for (int32 i = 0; i < 512; ++i) {
        ASSERT_FLOAT_EQ(block.outL[i], block.inL[i] * 0.5f) << i;
        ASSERT_FLOAT_EQ(block.outR[i], block.inR[i] * 0.5f) << i;
    }
}

TEST_F(BlockSplitting, EventsAreSortedByOffsetAcrossTheirSources)
{
    block.addInput(host::noteOnEvent(300, 64));
    block.addInput(host::noteOffEvent(50, 62, 0.25f));
    block.paramsIn.add(kDelayLevel, 200, 1.0);
    const auto calls = run(512);
    EXPECT_EQ(framesOf(calls), (std::vector<int32>{50, 150, 100, 212}));
    const auto events = processor->eventCalls();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].hook, Hook::NoteOff);
    EXPECT_EQ(events[0].frames, 62);
    EXPECT_FLOAT_EQ(static_cast<float>(events[0].value), 0.25f);
    EXPECT_EQ(events[1].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[2].hook, Hook::NoteOn);
}

TEST_F(BlockSplitting, BypassCopiesInputToOutputAndStillDispatchesEvents)
{
    block.paramsIn.add(kBypass, 300, 0.75); // takes effect for the whole block
    block.paramsIn.add(kDelayLevel, 100, 1.0);
    block.addInput(host::noteOnEvent(200, 50));
    block.addInput(host::noteOffEvent(400, 50));
    const auto calls = run(512);

    EXPECT_TRUE(processor->isBypassed());
    EXPECT_TRUE(framesOf(calls).empty());
    for (int32 i = 0; i < 512; ++i) {
        ASSERT_EQ(block.outL[i], block.inL[i]) << i;
        ASSERT_EQ(block.outR[i], block.inR[i]) << i;
    }
    const auto events = processor->eventCalls();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[1].hook, Hook::NoteOn);
    EXPECT_EQ(events[2].hook, Hook::NoteOff);

    block.paramsIn.add(kBypass, 0, 0.5); // not above one half: bypass off again
    EXPECT_EQ(framesOf(run(512)), (std::vector<int32>{512}));
    EXPECT_FALSE(processor->isBypassed());
}

} // namespace
} // namespace vexbit::test
