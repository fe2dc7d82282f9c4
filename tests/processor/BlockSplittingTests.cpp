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
    block.eventsIn.add(noteOn(100, 60));
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
    block.eventsIn.add(noteOn(300, 64));
    block.eventsIn.add(noteOff(50, 62, 0.25f));
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

TEST_F(BlockSplitting, AnEventBeyondTheBlockIsDispatchedInTheNextOne)
{
    block.eventsIn.add(noteOn(600, 48));
    auto calls = run(512);
    EXPECT_EQ(framesOf(calls), (std::vector<int32>{512}));
    EXPECT_TRUE(processor->callsOf(Hook::NoteOn).empty());

    calls = run(512);
    EXPECT_EQ(framesOf(calls), (std::vector<int32>{88, 424}));
    const auto notes = processor->callsOf(Hook::NoteOn);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].position, 88);
}

TEST_F(BlockSplitting, EqualParameterPointsMakeNoEvent)
{
    // Two points of the same value make one change; NaN points and unknown IDs none.
    block.paramsIn.add(kDelayLevel, 10, 0.5);
    block.paramsIn.add(kDelayLevel, 20, 0.5);
    block.paramsIn.add(kDelayLevel, 30, std::nan(""));
    block.paramsIn.add(5, 40, 0.9);
    run(512);
    auto applied = processor->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].position, 10);
    EXPECT_DOUBLE_EQ(applied[0].value, 0.5);

    // A point equal to the value stored before the block makes none either.
    block.paramsIn.add(kDelayLevel, 0, 0.5);
    run(512);
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());

    // A change back and forth within one block makes two.
    block.paramsIn.add(kDelayLevel, 5, 0.1);
    block.paramsIn.add(kDelayLevel, 6, 0.5);
    run(512);
    applied = processor->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_DOUBLE_EQ(applied[0].value, 0.1);
    EXPECT_DOUBLE_EQ(applied[1].value, 0.5);
}

TEST_F(BlockSplitting, BypassCopiesInputToOutputAndStillDispatchesEvents)
{
    block.paramsIn.add(kBypass, 300, 0.75); // takes effect for the whole block
    block.paramsIn.add(kDelayLevel, 100, 1.0);
    block.eventsIn.add(noteOn(200, 50));
    block.eventsIn.add(noteOff(400, 50));
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
