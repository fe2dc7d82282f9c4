#pragma once

#include "host/ProcessObjects.h"
#include "processor/RecordingProcessor.h"

#include "product/ModuleConfig.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

namespace vexbit::test {

// An initialized recording processor at 44100 Hz, as a host sets one up.
class ProcessorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        configureModule();
        processor = new RecordingProcessor();
        ASSERT_EQ(processor->initialize(&hostApp), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 8192, 44100.0};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(processor->setActive(true), kResultOk);
        // The transport runs from just after a grid point, so the first blocks
        // of a test hold no musical tick and no transport start.
        run(1);
        processor->calls.clear();
    }
    void TearDown() override
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }

    // Runs one block and returns the hook calls it made.
    std::vector<HookCall> run(int32 numSamples)
    {
        processor->calls.clear();
        block.eventsOut.clear();
        block.paramsOut.clear();
        if (followTransport) block.playAt(position);
        EXPECT_EQ(processor->process(block.next(numSamples)), kResultOk);
        if (followTransport && numSamples > 0) position += numSamples / 22050.0;
        block.paramsIn.clear();
        block.eventsIn.clear();
        return processor->calls;
    }

    void setSampleRate(double hz)
    {
        ProcessSetup setup{kRealtime, kSample32, 8192, hz};
        processor->setupProcessing(setup);
    }

    static std::vector<int32> framesOf(const std::vector<HookCall>& calls)
    {
        std::vector<int32> frames;
        for (const auto& c : calls)
            if (c.hook == Hook::ProcessAudio) frames.push_back(c.frames);
        return frames;
    }

    // While set, run() plays the transport at 120 BPM from position onwards.
    bool followTransport = true;
    double position = 0.001;

    Steinberg::Vst::HostApplication hostApp;
    RecordingProcessor* processor = nullptr;
    host::StereoBlock block;
};

} // namespace vexbit::test
