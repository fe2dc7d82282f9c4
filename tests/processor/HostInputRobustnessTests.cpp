// Hosts that deliver less, or worse, than a well-behaved one: no crash, no
// access outside the block, no non-finite value reaching the engine.

#include "processor/ProcessorFixture.h"

#include <cmath>
#include <limits>

namespace vexbit::test {
namespace {

constexpr ParamID kDelayLevel = 202;

using HostInput = ProcessorFixture;

TEST_F(HostInput, MissingOrNonStereoBusesGiveTheEngineNullBuffers)
{
    float mono[64] = {};
    float* monoPtr[1] = {mono};
    AudioBusBuffers monoBus{};
    monoBus.numChannels = 1;
    monoBus.channelBuffers32 = monoPtr;
    AudioBusBuffers noBuffers{};
    noBuffers.numChannels = 2;

    struct Case {
        int32 numInputs;
        AudioBusBuffers* inputs;
        int32 numOutputs;
        AudioBusBuffers* outputs;
    } cases[] = {
        {0, nullptr, 0, nullptr},          {1, nullptr, 1, nullptr},         {1, &monoBus, 1, &monoBus},
        {1, &noBuffers, 1, &block.outBus}, {1, &block.inBus, 1, &noBuffers},
    };
    for (const Case& c : cases) {
        block.data.numInputs = c.numInputs;
        block.data.inputs = c.inputs;
        block.data.numOutputs = c.numOutputs;
        block.data.outputs = c.outputs;
        block.eventsIn.add(noteOn(10, 60));
        const auto calls = run(64);
        EXPECT_EQ(framesOf(calls), (std::vector<int32>{10, 54}));
        for (const auto& call : processor->callsOf(Hook::ProcessAudio)) EXPECT_TRUE(call.nullBuffers);
        EXPECT_EQ(processor->callsOf(Hook::NoteOn).size(), 1u);
    }
    EXPECT_EQ(mono[0], 0.0f);
}

TEST_F(HostInput, DoublePrecisionBlocksAreNotTakenForSingle)
{
    block.data.symbolicSampleSize = kSample64;
    run(64);
    for (const auto& call : processor->callsOf(Hook::ProcessAudio)) EXPECT_TRUE(call.nullBuffers);
}

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
    block.eventsIn.add(noteOn(5, 60));
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

TEST_F(HostInput, ANegativeSampleCountIsAnEmptyBlock)
{
    block.eventsIn.add(noteOn(5, 60));
    run(-100);
    for (int32 f : framesOf(processor->calls)) EXPECT_EQ(f, 0);
    run(64);
    EXPECT_EQ(processor->callsOf(Hook::NoteOn).size(), 1u);
}

TEST_F(HostInput, AbsentListsAndContextAreSkipped)
{
    block.data.inputParameterChanges = nullptr;
    block.data.outputParameterChanges = nullptr;
    block.data.inputEvents = nullptr;
    block.data.outputEvents = nullptr;
    block.data.processContext = nullptr;
    followTransport = false;
    run(512);
    // Without a context the transport counts as stopped.
    EXPECT_EQ(processor->callsOf(Hook::PlayStop).size(), 1u);
    int32 rendered = 0;
    for (int32 f : framesOf(processor->calls)) rendered += f;
    EXPECT_EQ(rendered, 512);
}

TEST_F(HostInput, OffsetsBeforeTheBlockMeanItsStartAndFarOnesWait)
{
    block.eventsIn.add(noteOn(-40, 60));
    block.eventsIn.add(noteOn(std::numeric_limits<int32>::max(), 61));
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

TEST_F(HostInput, AFloodOfEventsIsCappedNotGrown)
{
    EventList flood(20000);
    for (int i = 0; i < 20000; ++i) flood.add(noteOn(i % 512, static_cast<int16>(i % 128)));
    block.data.inputEvents = &flood;
    run(512);
    const auto notes = processor->callsOf(Hook::NoteOn);
    EXPECT_EQ(notes.size(), MyVSTProcessorBase::kPendingEventCapacity);
    for (const auto& n : notes) ASSERT_LT(n.position, 512);
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

TEST_F(HostInput, BusArrangementsOtherThanStereoInAndOutAreRefused)
{
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement mono = SpeakerArr::kMono;
    SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    EXPECT_EQ(processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(two, 2, two, 2), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 1, nullptr, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 0, nullptr, 0), kResultFalse);
}

TEST(ProcessorLifecycle, ProcessingBeforeInitializeIsHarmless)
{
    auto* processor = new RecordingProcessor();
    ProcessBlock block;
    block.paramsIn.add(202, 0, 0.5);
    block.eventsIn.add(noteOn(0, 60));
    EXPECT_EQ(processor->process(block.next(256)), kResultOk);
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());
    processor->release();
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
