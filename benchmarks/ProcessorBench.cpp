// What the processor framework costs per host block on top of the engine:
// intake, sorting, splitting and dispatch of events, MIDI output and reports.

#include "common/ParameterIds.h"
#include "host/ProcessObjects.h"
#include "product/ModuleConfig.h"
#include "product/MyVSTProcessor.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace vexbit;
using namespace Steinberg;
using namespace Steinberg::Vst;

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

    host::StereoBlock block(kBlock, 4096, 1024);
    block.next(kBlock);
    double position = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        block.clearLists();
        for (int i = 0; i < events; ++i) {
            const int32 offset = (i * 37) % kBlock;
            block.addInput(i % 2 ? host::noteOffEvent(offset, 48) : host::noteOnEvent(offset, 48));
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
