// The Shuffler, Retrigger, Reverser and Gator units over ten seconds of stereo
// noise, with the effect engaged and off.
#include "AudioBenchSupport.h"
#include "GatorUnit.h"
#include "RetriggerUnit.h"
#include "ReverserUnit.h"
#include "ShufflerUnit.h"

#include <memory>

namespace vexbit::bench {
namespace {

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

#define VEXBIT_UNIT_BENCH(fn)                                                                        \
    BENCHMARK_CAPTURE(fn, engaged, true)->Arg(32)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(fn, off, false)->Arg(32)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond)

VEXBIT_UNIT_BENCH(BM_Shuffler);
VEXBIT_UNIT_BENCH(BM_RetriggerFree);
VEXBIT_UNIT_BENCH(BM_RetriggerBeatSynced);
VEXBIT_UNIT_BENCH(BM_Reverser);
VEXBIT_UNIT_BENCH(BM_Gator);

} // namespace
} // namespace vexbit::bench
