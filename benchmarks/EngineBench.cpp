// The whole chain and each of its nine units over ten seconds of stereo noise,
// with the effect engaged and off.
#include "AudioBenchSupport.h"
#include "engine/DelayUnit.h"
#include "engine/EngineHost.h"
#include "engine/FilterUnit.h"
#include "engine/GlitchEngine.h"
#include "engine/GatorUnit.h"
#include "engine/GranularUnit.h"
#include "engine/LoFiUnit.h"
#include "engine/RetriggerUnit.h"
#include "engine/ReverserUnit.h"
#include "engine/ShufflerUnit.h"
#include "engine/TapeStopUnit.h"

#include "common/ParameterIds.h"
#include "product/PluginParameterTable.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace vexbit::bench {
namespace {

class BenchHost : public EngineHost {
public:
    double getParameterValue(uint32_t id) const override
    {
        const auto it = values.find(id);
        return it == values.end() ? 0.0 : it->second;
    }
    double getParameterNormalized(uint32_t id) const override { return getParameterValue(id); }
    void storeParameterValue(uint32_t id, double plain) override { values[id] = plain; }
    void setParameterNormalized(uint32_t id, double normalized) override { values[id] = normalized; }
    void markParameterChanged(uint32_t) override {}
    void queueNoteOnOut(int16_t, float) override {}
    void queueNoteOffOut(int16_t, float) override {}
    void queueControllerOut(int32_t, uint8_t, int32_t) override {}
    double getTempo() const override { return 120.0; }
    double getSampleRate() const override { return kSampleRate; }

    std::map<uint32_t, double> values{{702, 2.0}, {802, 4.0}};
};

void engageAll(GlitchEngine& e)
{
    e.onTempoChanged(120.0);
    e.gator.setEngaged(true);
    e.lofi.setEngaged(true);
    e.filter.setLowPass(5000.0, 4.0, kSampleRate);
    e.filter.setHighPass(1000.0, 4.0, kSampleRate);
    e.filter.setEngaged(true);
    e.shuffler.setEngaged(true);
    e.tapeStop.setEngaged(true);
    e.retrigger.setEngaged(true);
    e.reverser.setEngaged(true);
    e.delay.setLevel(0.5f);
    e.delay.setFeedback(0.5f);
    e.granular.setMix(0.5f);
}

void BM_Chain(benchmark::State& state, bool engaged)
{
    BenchHost host;
    auto engine = std::make_unique<GlitchEngine>(host);
    if (engaged)
        engageAll(*engine);
    else
        engine->delay.setLevel(0.0f);

    const int32_t block = static_cast<int32_t>(state.range(0));
    std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
    const StereoNoise& in = noise();
    for (auto _ : state) {
        for (int32_t start = 0; start < kFrames; start += block) {
            const int32_t frames = std::min(block, kFrames - start);
            engine->processAudio(&in.left[static_cast<size_t>(start)], &in.right[static_cast<size_t>(start)],
                                 outL.data(), outR.data(), frames);
            benchmark::DoNotOptimize(outL.data());
            benchmark::ClobberMemory();
        }
    }
    reportFrames(state);
}

// AutoPlay at its defaults (the parameter table's values) at 120 BPM, with the
// eighth-note ticks splitting the blocks as the processor does.
void BM_ChainAutoPlay(benchmark::State& state, bool engaged)
{
    BenchHost host;
    auto engine = std::make_unique<GlitchEngine>(host);
    ParameterTable table;
    buildPluginParameterTable(table);
    for (const auto& [id, record] : table.records()) host.values[id] = record.defaultValue;
    host.values[kAutoPlayId] = engaged ? 1.0 : 0.0;
    for (const auto& [id, record] : table.records()) engine->applyParameter(id, 0.0);
    engine->onTempoChanged(120.0);

    const int32_t block = static_cast<int32_t>(state.range(0));
    std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
    const StereoNoise& in = noise();
    // An eighth of a beat at 120 BPM and 44.1 kHz.
    constexpr double kTickFrames = 44100.0 * 60.0 / 120.0 / 8.0;
    double nextTick = 0.0;
    int64_t tickIndex = 0;
    for (auto _ : state) {
        for (int32_t start = 0; start < kFrames; start += block) {
            const int32_t frames = std::min(block, kFrames - start);
            int32_t done = 0;
            while (done < frames) {
                const double untilTick = nextTick - static_cast<double>(start + done);
                if (untilTick <= 0.0) {
                    engine->onTick(0.125 * static_cast<double>(tickIndex++));
                    nextTick += kTickFrames;
                    continue;
                }
                const int32_t n = std::min(frames - done, static_cast<int32_t>(std::ceil(untilTick)));
                const size_t at = static_cast<size_t>(start + done);
                engine->processAudio(&in.left[at], &in.right[at], &outL[static_cast<size_t>(done)],
                                     &outR[static_cast<size_t>(done)], n);
                done += n;
            }
            benchmark::DoNotOptimize(outL.data());
            benchmark::ClobberMemory();
        }
        nextTick -= static_cast<double>(kFrames);
    }
    reportFrames(state);
}

void BM_Delay(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<DelayUnit>();
    unit->setLevel(engaged ? 0.5f : 0.0f);
    unit->setFeedback(0.5f);
    runStage(state, *unit);
}

void BM_Granular(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<GranularUnit>();
    unit->setMix(engaged ? 0.5f : 0.0f);
    unit->setDurationMs(200.0);
    unit->setGrainSizeMs(250.0);
    runStage(state, *unit);
}

void BM_TapeStop(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<TapeStopUnit>();
    unit->setStopSpeed(0.5);
    unit->setEngaged(engaged);
    runStage(state, *unit);
}

void BM_Filter(benchmark::State& state, bool engaged)
{
    FilterUnit unit;
    unit.setEngaged(engaged);
    runStage(state, unit);
}

void BM_LoFi(benchmark::State& state, bool engaged)
{
    LoFiUnit unit;
    unit.setEngaged(engaged);
    runStage(state, unit);
}

void BM_Shuffler(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<ShufflerUnit>();
    unit->setEngaged(engaged);
    runStage(state, *unit);
}

void BM_RetriggerFree(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<RetriggerUnit>();
    unit->setSliceLength(2.0, 120.0);
    unit->setPitchSemitones(7.0);
    unit->setEngaged(engaged);
    runStage(state, *unit);
}

void BM_RetriggerBeatSynced(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<RetriggerUnit>();
    unit->setBeatSync(true);
    unit->setSliceLength(2.0, 120.0);
    unit->setEngaged(engaged);
    runStage(state, *unit);
}

void BM_Reverser(benchmark::State& state, bool engaged)
{
    auto unit = std::make_unique<ReverserUnit>();
    unit->setLength(16.0, 120.0);
    unit->setEngaged(engaged);
    runStage(state, *unit);
}

void BM_Gator(benchmark::State& state, bool engaged)
{
    GatorUnit unit;
    unit.setEngaged(engaged);
    runStage(state, unit);
}

#define VEXBIT_AUDIO_BENCH(fn)                                                                         \
    BENCHMARK_CAPTURE(fn, engaged, true)->Arg(32)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(fn, off, false)->Arg(32)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond)

VEXBIT_AUDIO_BENCH(BM_Chain);
VEXBIT_AUDIO_BENCH(BM_ChainAutoPlay);
VEXBIT_AUDIO_BENCH(BM_Delay);
VEXBIT_AUDIO_BENCH(BM_Granular);
VEXBIT_AUDIO_BENCH(BM_TapeStop);
VEXBIT_AUDIO_BENCH(BM_Filter);
VEXBIT_AUDIO_BENCH(BM_LoFi);
VEXBIT_AUDIO_BENCH(BM_Shuffler);
VEXBIT_AUDIO_BENCH(BM_RetriggerFree);
VEXBIT_AUDIO_BENCH(BM_RetriggerBeatSynced);
VEXBIT_AUDIO_BENCH(BM_Reverser);
VEXBIT_AUDIO_BENCH(BM_Gator);

} // namespace
} // namespace vexbit::bench
