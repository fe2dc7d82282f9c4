// What the processor hands back to the host: changed values, throttled, and
// the MIDI events the engine queues.

#include "processor/ProcessorFixture.h"
#include "common/ParameterIds.h"

namespace vexbit::test {
namespace {

constexpr ParamID kDelayLevel = 202;
constexpr ParamID kMaxConcurrency = 2; // Integer 1..8

using HostOutput = ProcessorFixture;

TEST_F(HostOutput, AChangedValueIsReportedOnlyAfterMoreThan4410SamplesAndOnlyOnce)
{
    processor->setParameterNormalized(kDelayLevel, 0.8);
    processor->markParameterChanged(kDelayLevel);
    processor->setParameterNormalized(kMaxConcurrency, 1.0);
    // The fixture's first block counted 1 sample; 4409 more make exactly 4410.
    run(4409);
    EXPECT_EQ(block.paramsOut.getParameterCount(), 0);

    run(1);
    ASSERT_EQ(block.paramsOut.getParameterCount(), 2);
    // In the order the values changed, one point each at offset 0.
    EXPECT_EQ(block.paramsOut.getParameterData(0)->getParameterId(), kDelayLevel);
    EXPECT_EQ(block.paramsOut.getParameterData(1)->getParameterId(), kMaxConcurrency);
    const auto& points = block.outputQueue(kDelayLevel)->points();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].offset, 0);
    EXPECT_DOUBLE_EQ(points[0].value, 0.8);
    EXPECT_DOUBLE_EQ(block.outputQueue(kMaxConcurrency)->points()[0].value, 1.0);

    run(8000);
    EXPECT_EQ(block.paramsOut.getParameterCount(), 0);
}

TEST_F(HostOutput, ChangesMadeByTheEngineDuringABlockAreReported)
{
    processor->onCall = [](RecordingProcessor& p, const HookCall& call) {
        if (call.hook == Hook::NoteOn) p.setParameterNormalized(201, 1.0); // "Delay On/Off"
    };
    block.addInput(host::noteOnEvent(10, 48));
    run(5000);
    ASSERT_EQ(block.paramsOut.getParameterCount(), 1);
    EXPECT_EQ(block.paramsOut.getParameterData(0)->getParameterId(), 201u);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayOnOffId), 1.0);
}

TEST_F(HostOutput, MidiEchoesCarryTheirPieceOffsetAndMusicalPosition)
{
    processor->onCall = [](RecordingProcessor& p, const HookCall& call) {
        if (call.hook == Hook::NoteOn) {
            p.queueNoteOnOut(60, 0.5f);
            p.queueControllerOut(3, 21, 64);
        }
        if (call.hook == Hook::NoteOff) p.queueNoteOffOut(60, 0.0f);
    };
    block.addInput(host::noteOnEvent(100, 48));
    block.addInput(host::noteOffEvent(300, 48));
    const double start = position;
    run(512);

    const auto& out = block.eventsOut.events();
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].type, Event::kNoteOnEvent);
    EXPECT_EQ(out[0].sampleOffset, 100);
    EXPECT_EQ(out[0].busIndex, 0);
    EXPECT_EQ(out[0].flags, 0);
    EXPECT_EQ(out[0].noteOn.pitch, 60);
    EXPECT_EQ(out[0].noteOn.channel, 0);
    EXPECT_EQ(out[0].noteOn.noteId, -1);
    EXPECT_FLOAT_EQ(out[0].noteOn.velocity, 0.5f);
    EXPECT_NEAR(out[0].ppqPosition, start + 100 / 22050.0, 1e-12);

    EXPECT_EQ(out[1].type, Event::kLegacyMIDICCOutEvent);
    EXPECT_EQ(out[1].sampleOffset, 103);
    EXPECT_EQ(out[1].midiCCOut.controlNumber, 21);
    EXPECT_EQ(out[1].midiCCOut.value, 64);

    EXPECT_EQ(out[2].type, Event::kNoteOffEvent);
    EXPECT_EQ(out[2].sampleOffset, 300);
    EXPECT_EQ(out[2].noteOff.noteId, -1);
}

TEST_F(HostOutput, OutputEventsBeyondTheBlockWaitForTheNextOne)
{
    processor->onCall = [](RecordingProcessor& p, const HookCall& call) {
        if (call.hook == Hook::NoteOn) p.queueControllerOut(600, 7, 100);
    };
    block.addInput(host::noteOnEvent(0, 48));
    run(512);
    EXPECT_TRUE(block.eventsOut.events().empty());
    run(512);
    ASSERT_EQ(block.eventsOut.events().size(), 1u);
    EXPECT_EQ(block.eventsOut.events()[0].sampleOffset, 88);
}

} // namespace
} // namespace vexbit::test
