// What the processor framework costs per host block on top of the engine:
// intake, sorting, splitting and dispatch of events, MIDI output and reports.

#include "../tests/processor/HostObjects.h"
#include "../tests/processor/ProcessBlock.h"

#include "module/ModuleConfig.h"
#include "processor/MyVSTProcessor.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vexbit;
using namespace vexbit::test;

// The framework alone: hooks that only copy audio, so the figures are the
// framework's own.
class FrameworkOnly : public MyVSTProcessorBase {
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

    ProcessBlock block(kBlock);
    double position = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        block.clearLists();
        for (int i = 0; i < events; ++i) {
            block.eventsIn.add(i % 2 ? noteOff((i * 37) % kBlock, 48) : noteOn((i * 37) % kBlock, 48));
            block.paramsIn.add(202 + static_cast<ParamID>(i % 6), (i * 53) % kBlock, (i % 100) / 100.0);
        }
        block.playAt(position);
        position += kBlock / 22050.0;
        state.ResumeTiming();
        processor->process(block.next(kBlock));
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
    processor->setActive(false);
    processor->terminate();
    processor->release();
}

void BM_FrameworkBlock(benchmark::State& state)
{
    runBlocks(state, new FrameworkOnly());
}

void BM_ProcessorBlock(benchmark::State& state)
{
    runBlocks(state, new MyVSTProcessor());
}

} // namespace

// Argument: note events and parameter points per 512-sample block (each).
BENCHMARK(BM_FrameworkBlock)->Arg(0)->Arg(16)->Arg(128)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessorBlock)->Arg(0)->Arg(16)->Arg(128)->Arg(512)->Unit(benchmark::kMicrosecond);
