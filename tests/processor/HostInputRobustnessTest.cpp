// Hosts that deliver less, or worse, than a well-behaved one: no crash, no
// access outside the block, no non-finite value reaching the engine.

#include "processor/ProcessorFixture.h"

#include <cmath>
#include <limits>

namespace vexbit::test {
namespace {

constexpr ParamID kDelayLevel = 202;

using HostInput = ProcessorFixture;

TEST_F(HostInput, BypassWithoutAnInputSilencesTheOutput)
{
    processor->storeParameterValue(kBypassId, 1.0);
    block.data.numInputs = 0;
    block.data.inputs = nullptr;
    std::fill(block.outL.begin(), block.outL.end(), 7.0f);
    run(64);
    EXPECT_EQ(block.outL[0], 0.0f);
    EXPECT_EQ(block.outL[63], 0.0f);
    EXPECT_EQ(block.outL[64], 7.0f);
}

TEST_F(HostInput, AnEmptyBlockDeliversWhatIsDueAtItsStart)
{
    // A block of no samples is how hosts flush parameter changes.
    block.paramsIn.add(kDelayLevel, 0, 0.9);
    block.addInput(host::noteOnEvent(5, 60));
    run(0);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayLevel), 0.9);
    EXPECT_EQ(processor->callsOf(Hook::ApplyParameter).size(), 1u);
    EXPECT_TRUE(processor->callsOf(Hook::NoteOn).empty()); // not due yet
    for (int32 f : framesOf(processor->calls)) EXPECT_EQ(f, 0);

    run(64);
    const auto notes = processor->callsOf(Hook::NoteOn);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].position, 5);
}

TEST_F(HostInput, OffsetsBeforeTheBlockMeanItsStartAndFarOnesWait)
{
    block.addInput(host::noteOnEvent(-40, 60));
    block.addInput(host::noteOnEvent(std::numeric_limits<int32>::max(), 61));
    block.paramsIn.add(kDelayLevel, -7, 0.2);
    const auto calls = run(64);
    const auto events = processor->eventCalls();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].position, 0);
    EXPECT_EQ(events[1].position, 0);
    EXPECT_EQ(framesOf(calls), (std::vector<int32>{0, 0, 64}));
    run(64);
    EXPECT_TRUE(processor->callsOf(Hook::NoteOn).empty());
}

TEST_F(HostInput, NonFiniteValuesFromTheEngineOrTheHostAreNotStored)
{
    processor->setParameterNormalized(kDelayLevel, std::numeric_limits<double>::quiet_NaN());
    processor->storeParameterValue(kDelayLevel, std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayLevel), 0.3);
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());

    // A bypass point of NaN is no bypass.
    block.paramsIn.add(kBypassId, 0, std::numeric_limits<double>::quiet_NaN());
    run(64);
    EXPECT_FALSE(processor->isBypassed());
}

TEST(ProcessorLifecycle, InitializeAppliesEveryDefaultInAscendingIdOrder)
{
    configureModule();
    auto* processor = new RecordingProcessor();
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    const auto inits = processor->callsOf(Hook::InitParameter);
    ASSERT_EQ(inits.size(), parameterTable().size());
    auto record = parameterTable().begin();
    for (const auto& call : inits) {
        EXPECT_EQ(call.id, record->first);
        EXPECT_DOUBLE_EQ(call.value, record->second.defaultValue);
        ++record;
    }
    EXPECT_EQ(processor->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(processor->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(processor->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(processor->getBusCount(kEvent, kOutput), 1);
    processor->terminate();
    processor->release();
}

} // namespace
} // namespace vexbit::test
