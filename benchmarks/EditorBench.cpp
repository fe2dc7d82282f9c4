// The editor's work on the UI thread: the 100 ms timer tick, building the whole
// window, and painting it.
#include "editor/MyVSTGUIEditor.h"
#include "product/MyVSTController.h"
#include "product/ModuleConfig.h"

#include "viewkit/Frame.h"
#include "viewkit/Offscreen.h"
#include "viewkit/Timer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vexbit;

struct OpenEditor {
    OpenEditor()
    {
        configureModule();
        controller = new MyVSTController();
        controller->initialize(nullptr);
        editor = new MyVSTGUIEditor(controller);
    }
    ~OpenEditor()
    {
        editor->release();
        controller->terminate();
        controller->release();
    }
    void tick() { editor->notify(editor->getTimer(), viewkit::CVSTGUITimer::kMsgTimer); }

    MyVSTController* controller;
    MyVSTGUIEditor* editor;
};

// A tick when nothing changed: one poll of every parameter.
void BM_EditorTimerTickIdle(benchmark::State& state)
{
    OpenEditor e;
    e.editor->open(nullptr);
    for (auto _ : state) e.tick();
}
BENCHMARK(BM_EditorTimerTickIdle);

// A tick after the host moved every parameter: every bound control is refreshed.
void BM_EditorTimerTickAllChanged(benchmark::State& state)
{
    OpenEditor e;
    e.editor->open(nullptr);
    double v = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        v = v > 0.5 ? 0.25 : 0.75;
        for (const auto& [tag, last] : e.editor->getLastValues())
            e.controller->setParamNormalized(static_cast<Steinberg::Vst::ParamID>(tag), v);
        state.ResumeTiming();
        e.tick();
    }
}
BENCHMARK(BM_EditorTimerTickAllChanged);

void BM_EditorOpenAndClose(benchmark::State& state)
{
    OpenEditor e;
    for (auto _ : state) {
        e.editor->open(nullptr);
        e.editor->close();
    }
}
BENCHMARK(BM_EditorOpenAndClose)->Unit(benchmark::kMillisecond);

void BM_EditorPaintWholeWindow(benchmark::State& state)
{
    OpenEditor e;
    e.editor->open(nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(viewkit::OffscreenImage::render(e.editor->getFrame()));
}
BENCHMARK(BM_EditorPaintWholeWindow)->Unit(benchmark::kMillisecond);

} // namespace
