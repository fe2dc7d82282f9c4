// The real processor must not touch the heap inside process once a block with
// as many events has run. Every operator new of this test program is counted.

#include "AllocationCounter.h"
#include "common/ParameterIds.h"
#include "host/ProcessObjects.h"
#include "support/ControllerMessages.h"

#include "product/ModuleConfig.h"
#include "product/MyVSTProcessor.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;
namespace {

class RealtimeAllocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        configureModule();
        processor =
            static_cast<MyVSTProcessor*>(static_cast<IAudioProcessor*>(MyVSTProcessor::createInstance(nullptr)));
        ASSERT_EQ(processor->initialize(&hostApp), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 4096, 48000.0};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(processor->setActive(true), kResultOk);
    }
    void TearDown() override
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }

    // Fills the block with events and points at every sample position, notes on
    // the trigger and randomise notes, on/off switches and continuous settings.
    void fill(int32 numSamples, int events, int points)
    {
        block.clearLists();
        static const int16 notes[] = {48, 50, 52, 53, 55, 57, 59, 60, 72, 74, 76, 77, 79, 81, 83, 84};
        for (int i = 0; i < events; ++i) {
            const int32 offset = (i * 7) % numSamples;
            const int16 pitch = notes[i % 16];
            block.addInput(i % 2 == 0 ? host::noteOnEvent(offset, pitch) : host::noteOffEvent(offset, pitch));
        }
        static const ParamID ids[] = {kDelayOnOffId,    kDelayLevelId,     kDelayTimeId,      kTapeStopOnOffId,
                                      kFilterOnOffId,   kLowPassFreqId,    kLoFiOnOffId,      kLoFiBitDepthId,
                                      kShufflerOnOffId, kShufflerLengthId, kRetriggerOnOffId, kRetriggerLengthId,
                                      kReverserOnOffId, kReverserLengthId, kGatorOnOffId,     kGatorSpeedId,
                                      kAutoPlayId,      kMaxConcurrencyId};
        for (int i = 0; i < points; ++i) {
            const ParamID id = ids[i % 18];
            block.paramsIn.add(id, (i * 3) % numSamples, ((i * 37) % 101) / 100.0);
        }
    }

    long countedProcess(int32 numSamples)
    {
        return allocationsDuring([&] { processor->process(block.next(numSamples)); });
    }

    Steinberg::Vst::HostApplication hostApp;
    MyVSTProcessor* processor = nullptr;
    host::StereoBlock block;
};

TEST_F(RealtimeAllocation, ProcessDoesNotAllocateWithUpTo512EventsAndPointsPerBlock)
{
    block.playAt(0.0, 128.0);
    // First blocks of each load may warm up; afterwards nothing may allocate.
    for (const int load : {0, 16, 128, 512}) {
        fill(1024, load, load);
        countedProcess(1024);
    }
    double position = 0.0;
    for (int round = 0; round < 40; ++round) {
        const int load = (round * 97) % 513;
        fill(1024, load, load);
        position += 1024 / (48000.0 * 60.0 / 128.0);
        block.playAt(position, round % 10 == 9 ? 140.0 : 128.0);
        if (round % 13 == 12) block.stop();
        block.eventsOut.clear();
        block.paramsOut.clear();
        EXPECT_EQ(countedProcess(1024), 0) << "round " << round << " with " << load << " events";
    }
}

TEST_F(RealtimeAllocation, BypassedAndHostileBlocksDoNotAllocateEither)
{
    fill(512, 512, 512);
    countedProcess(512);

    block.clearLists();
    block.paramsIn.add(kBypassId, 0, 1.0);
    fill(512, 300, 300);
    block.paramsIn.add(kBypassId, 0, 1.0);
    EXPECT_EQ(countedProcess(512), 0);

    block.clearLists();
    block.data.processContext = nullptr;
    block.data.outputEvents = nullptr;
    block.data.numInputs = 0;
    EXPECT_EQ(countedProcess(0), 0);
    EXPECT_EQ(countedProcess(-5), 0);
    EXPECT_EQ(countedProcess(4096), 0);
}

TEST_F(RealtimeAllocation, TheBlockThatAppliesHandedOverStatesAndMessagesDoesNotAllocate)
{
    block.playAt(0.0, 128.0);
    fill(1024, 64, 64);
    countedProcess(1024);
    const double savedLevel = processor->getParameterValue(kDelayLevelId);
    Steinberg::MemoryStream saved;
    ASSERT_EQ(processor->getState(&saved), kResultOk);
    block.clearLists();
    block.paramsIn.add(kDelayLevelId, 0, savedLevel > 0.5 ? 0.1 : 0.9);
    countedProcess(1024);

    // Restored while active: read on this thread, applied by the next block.
    saved.seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(processor->setState(&saved), kResultOk);
    block.clearLists();
    EXPECT_EQ(countedProcess(1024), 0);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayLevelId), savedLevel) << "the state was applied";

    // A new list and a payload, applied by the next block.
    auto list = stringListMessage(kShufflerLengthId, {"a", "b"});
    auto data = dataMessage(kShufflerLengthId, std::string(256, '\0'));
    processor->storeParameterValue(kShufflerLengthId, 3.0);
    ASSERT_EQ(processor->notify(list), kResultOk);
    ASSERT_EQ(processor->notify(data), kResultOk);
    EXPECT_EQ(countedProcess(1024), 0);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kShufflerLengthId), 0.0) << "the list's reset was applied";
}

} // namespace
} // namespace vexbit::test
