#pragma once

// One host block: stereo buffers, parameter and event lists in both
// directions and a process context, wired into a ProcessData.

#include "processor/HostObjects.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <vector>

namespace vexbit::test {

class ProcessBlock {
public:
    explicit ProcessBlock(int32 maxSamples = 8192)
        : inL(maxSamples), inR(maxSamples), outL(maxSamples), outR(maxSamples)
    {
        for (int32 i = 0; i < maxSamples; ++i) {
            inL[i] = 0.001f * static_cast<float>(i + 1);
            inR[i] = -0.001f * static_cast<float>(i + 1);
        }
        inPtrs[0] = inL.data();
        inPtrs[1] = inR.data();
        outPtrs[0] = outL.data();
        outPtrs[1] = outR.data();
        inBus.numChannels = 2;
        inBus.channelBuffers32 = inPtrs;
        outBus.numChannels = 2;
        outBus.channelBuffers32 = outPtrs;
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = &paramsIn;
        data.outputParameterChanges = &paramsOut;
        data.inputEvents = &eventsIn;
        data.outputEvents = &eventsOut;
        data.processContext = &context;
        context.sampleRate = 44100.0;
        context.tempo = 120.0;
    }

    // Ready for the next call of numSamples: lists emptied, outputs zeroed.
    ProcessData& next(int32 numSamples)
    {
        data.numSamples = numSamples;
        return data;
    }
    void clearLists()
    {
        paramsIn.clear();
        paramsOut.clear();
        eventsIn.clear();
        eventsOut.clear();
    }
    void playAt(double quarters, double tempo = 120.0)
    {
        context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kProjectTimeMusicValid;
        context.tempo = tempo;
        context.projectTimeMusic = quarters;
    }
    void stop() { context.state = ProcessContext::kTempoValid; }

    std::vector<float> inL, inR, outL, outR;
    float* inPtrs[2];
    float* outPtrs[2];
    AudioBusBuffers inBus{};
    AudioBusBuffers outBus{};
    ParameterChangeList paramsIn;
    ParameterChangeList paramsOut;
    EventList eventsIn;
    EventList eventsOut;
    ProcessContext context{};
    ProcessData data{};
};

} // namespace vexbit::test
