// What the processor framework costs per host block on top of the engine:
// intake, sorting, splitting and dispatch of events, MIDI output and reports.

#include "common/ParameterIds.h"
#include "host/ProcessObjects.h"
#include "product/ModuleConfig.h"
#include "product/MyVSTProcessor.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace vexbit;
using namespace Steinberg;
using namespace Steinberg::Vst;

Event note(Event::EventTypes type, int32 offset, int16 pitch)
{
    Event e{};
    e.sampleOffset = offset;
    e.type = type;
    // The note-on and note-off records start with the same channel and pitch fields.
    e.noteOn.pitch = pitch;
    e.noteOn.velocity = type == Event::kNoteOnEvent ? 1.0f : 0.0f;
    e.noteOn.noteId = -1;
    return e;
}

// One stereo host block with the host library's event and parameter lists.
struct Block {
    explicit Block(int32 samples) : inL(samples, 0.01f), inR(samples, -0.01f), outL(samples), outR(samples)
    {
        inBus.numChannels = outBus.numChannels = 2;
        inBus.channelBuffers32 = inPtrs;
        outBus.channelBuffers32 = outPtrs;
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = samples;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = &paramsIn;
        data.outputParameterChanges = &paramsOut;
        data.inputEvents = &eventsIn;
        data.outputEvents = &eventsOut;
        data.processContext = &context;
        context.sampleRate = 44100.0;
    }
    void clearLists()
    {
        paramsIn.clear();
        paramsOut.clear();
        eventsIn.clear();
        eventsOut.clear();
    }
    void playAt(double quarters)
    {
        context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kProjectTimeMusicValid;
        context.tempo = 120.0;
        context.projectTimeMusic = quarters;
    }

    std::vector<float> inL, inR, outL, outR;
    float* inPtrs[2]{inL.data(), inR.data()};
    float* outPtrs[2]{outL.data(), outR.data()};
    AudioBusBuffers inBus{};
    AudioBusBuffers outBus{};
    host::HostParameterChanges paramsIn{16, 1024}; // room for every point of the largest argument
    host::HostParameterChanges paramsOut;
    host::HostEventList eventsIn;
    host::HostEventList eventsOut;
    ProcessContext context{};
    ProcessData data{};
};

// The framework alone: hooks that only copy audio, so the figures are the
// framework's own.
class FrameworkOnly : public MyVSTProcessorBase {
public:
    FrameworkOnly()
        : MyVSTProcessorBase(parameterTable(), moduleConfig().frameworkVersion, moduleConfig().controllerClassId,
                             {moduleConfig().sideChainBusCount, moduleConfig().eventOutputBusCount})
    {}

protected:
    void initParameter(ParamID, double) override {}
    void processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames) override
    {
        if (inL && inR && outL && outR)
            for (int32 i = 0; i < frames; ++i) {
                outL[i] = inL[i];
                outR[i] = inR[i];
            }
    }
    void applyParameter(ParamID, double) override {}
    void onNoteOn(int16, int16 pitch, float velocity) override { queueNoteOnOut(pitch, velocity); }
    void onNoteOff(int16, int16 pitch, float velocity) override { queueNoteOffOut(pitch, velocity); }
    void onDataMessage(uint32, const void*, uint64) override {}
    void onPlayStart(double) override {}
    void onPlayStop(double) override {}
    void onTick(double) override {}
    void onTempoChanged(double) override {}
    void onSampleRateChanged(double) override {}
    void writeExtraState(Steinberg::IBStream*) override {}
    void readExtraState(Steinberg::IBStream*) override {}
};

template <typename Processor>
void runBlocks(benchmark::State& state, Processor* processor)
{
    constexpr int32 kBlock = 512;
    const int events = static_cast<int>(state.range(0));
    configureModule();
    processor->initialize(nullptr);
    ProcessSetup setup{kRealtime, kSample32, kBlock, 44100.0};
    processor->setupProcessing(setup);
    processor->setActive(true);

    Block block(kBlock);
    double position = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        block.clearLists();
        for (int i = 0; i < events; ++i) {
            Event e = note(i % 2 ? Event::kNoteOffEvent : Event::kNoteOnEvent, (i * 37) % kBlock, 48);
            block.eventsIn.addEvent(e);
            block.paramsIn.add(kDelayLevelId + static_cast<ParamID>(i % 6), (i * 53) % kBlock, (i % 100) / 100.0);
        }
        block.playAt(position);
        position += kBlock / 22050.0;
        state.ResumeTiming();
        processor->process(block.data);
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
    processor->setActive(false);
    processor->terminate();
    processor->release();
}

void BM_FrameworkBlock(benchmark::State& state)
{
    configureModule();
    runBlocks(state, new FrameworkOnly());
}

void BM_ProcessorBlock(benchmark::State& state)
{
    configureModule();
    runBlocks(state, new MyVSTProcessor());
}

} // namespace

// Argument: note events and parameter points per 512-sample block (each).
BENCHMARK(BM_FrameworkBlock)->Arg(0)->Arg(16)->Arg(128)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessorBlock)->Arg(0)->Arg(16)->Arg(128)->Arg(512)->Unit(benchmark::kMicrosecond);
