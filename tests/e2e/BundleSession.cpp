#include "e2e/BundleSession.h"

#include "state/ProcessorStateImage.h"
#include "product/ModuleConfig.h"
#include "product/PluginParameterTable.h"
#include "params/ParamConversion.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <thread>

namespace vexbit::e2e {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kMaxBlock = 8192;

const ParameterTable& pluginTable()
{
    static const ParameterTable table = [] {
        ParameterTable t;
        buildPluginParameterTable(t);
        return t;
    }();
    return table;
}

// Loaded once and kept for the whole program, as a DAW keeps a plug-in's
// module while it makes instances. Unloading it would also unload the drawing
// libraries it pulls in, whose start-up allocations the leak checker would
// then count against us.
std::shared_ptr<host::Module> sharedModule(std::string& error)
{
    static auto* module = new std::shared_ptr<host::Module>();
    if (!*module) *module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
    return *module;
}

} // namespace

double normalizedOf(ParamID id, double plain)
{
    const ParamRecord* record = pluginTable().find(id);
    return record == nullptr ? 0.0 : toNormalized(plain, *record);
}

double defaultNormalized(ParamID id)
{
    const ParamRecord* record = pluginTable().find(id);
    return record == nullptr ? 0.0 : toNormalized(record->defaultValue, *record);
}

std::unique_ptr<BundleSession> BundleSession::open(double sampleRate)
{
    std::unique_ptr<BundleSession> s(new BundleSession());
    s->sampleRate_ = sampleRate;
    std::string error;
    s->module_ = sharedModule(error);
    EXPECT_TRUE(s->module_) << error;
    if (!s->module_) return nullptr;
    s->instance_ = host::PluginInstance::createFirstEffect(s->module_, error);
    EXPECT_TRUE(s->instance_) << error;
    if (!s->instance_) return nullptr;

    SpeakerArrangement stereo = SpeakerArr::kStereo;
    EXPECT_EQ(s->processor()->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, kMaxBlock, sampleRate};
    EXPECT_EQ(s->processor()->setupProcessing(setup), kResultOk);
    EXPECT_EQ(s->component()->setActive(true), kResultOk);
    s->processor()->setProcessing(true);
    return s;
}

std::vector<std::unique_ptr<BundleSession>> BundleSession::openTwins(int count, double sampleRate)
{
    std::vector<std::unique_ptr<BundleSession>> sessions;
    for (int attempt = 0; attempt < 5; ++attempt) {
        sessions.clear();
        const std::time_t before = std::time(nullptr);
        for (int i = 0; i < count; ++i) sessions.push_back(open(sampleRate));
        if (std::time(nullptr) == before) break;
    }
    return sessions;
}

BundleSession::~BundleSession()
{
    if (!instance_) return;
    processor()->setProcessing(false);
    component()->setActive(false);
}

double BundleSession::positionAt(const Transport& transport, int64_t sample) const
{
    double anchorQuarters = transport.startQuarters;
    int64_t anchorSample = transport.playFrom;
    for (const Transport::Jump& jump : transport.jumps) {
        if (jump.sample <= sample) {
            anchorQuarters = jump.quarters;
            anchorSample = jump.sample;
        }
    }
    return anchorQuarters + static_cast<double>(sample - anchorSample) / samplesPerBeat(transport.tempo);
}

Rendering BundleSession::render(const Script& script, const std::vector<float>& input, int32_t blockSize,
                                const std::function<void(bool)>& aroundProcess)
{
    Rendering out;
    std::thread audio([&] { renderBlocks(script, input, blockSize, aroundProcess, out); });
    audio.join();
    return out;
}

void BundleSession::renderBlocks(const Script& script, const std::vector<float>& input, int32_t blockSize,
                                 const std::function<void(bool)>& aroundProcess, Rendering& out)
{
    std::vector<HostNote> notes = script.notes;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const HostNote& a, const HostNote& b) { return a.sample < b.sample; });
    std::vector<HostChange> changes = script.changes;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const HostChange& a, const HostChange& b) { return a.sample < b.sample; });

    const int32 block = std::clamp(blockSize, 1, kMaxBlock);
    host::StereoBlock pb(block, 16384, 4096);
    ProcessContext& context = pb.context;
    context.sampleRate = sampleRate_;
    context.tempo = script.transport.tempo;
    ProcessData& data = pb.data;
    std::vector<float>& inL = pb.inL;
    std::vector<float>& inR = pb.inR;
    const std::vector<float>& outL = pb.outL;
    const std::vector<float>& outR = pb.outR;

    out.left.reserve(static_cast<size_t>(script.length));
    out.right.reserve(static_cast<size_t>(script.length));
    size_t nextNote = 0;
    size_t nextChange = 0;
    for (int64_t start = 0; start < script.length; start += block) {
        const auto n = static_cast<int32>(std::min<int64_t>(block, script.length - start));
        for (int32 i = 0; i < n; ++i) {
            const float x = input.empty() ? 0.0f : input[static_cast<size_t>(start + i) % input.size()];
            inL[static_cast<size_t>(i)] = x;
            inR[static_cast<size_t>(i)] = -0.5f * x;
        }
        pb.clearLists();
        for (; nextChange < changes.size() && changes[nextChange].sample < start + n; ++nextChange) {
            const HostChange& c = changes[nextChange];
            pb.paramsIn.add(c.id, static_cast<int32>(c.sample - start), c.normalized);
        }
        for (; nextNote < notes.size() && notes[nextNote].sample < start + n; ++nextNote) {
            const HostNote& note = notes[nextNote];
            const auto offset = static_cast<int32>(note.sample - start);
            pb.addInput(note.on ? host::noteOnEvent(offset, note.pitch, note.velocity, note.channel)
                                : host::noteOffEvent(offset, note.pitch, note.velocity, note.channel));
        }
        const bool playing = start >= script.transport.playFrom;
        context.state = ProcessContext::kTempoValid;
        context.projectTimeMusic = 0.0;
        if (playing) {
            context.state |= ProcessContext::kPlaying | ProcessContext::kProjectTimeMusicValid;
            context.projectTimeMusic = positionAt(script.transport, start);
        }
        context.projectTimeSamples = start;
        data.numSamples = n;
        if (aroundProcess) aroundProcess(true);
        const tresult result = processor()->process(data);
        if (aroundProcess) aroundProcess(false);
        ASSERT_EQ(result, kResultOk) << "block at " << start;

        out.left.insert(out.left.end(), outL.begin(), outL.begin() + n);
        out.right.insert(out.right.end(), outR.begin(), outR.begin() + n);
        for (const Event& e : pb.eventsOut.events()) out.events.push_back({start + e.sampleOffset, e});
        for (int32 q = 0; q < pb.paramsOut.getParameterCount(); ++q) {
            IParamValueQueue* queue = pb.paramsOut.getParameterData(q);
            for (int32 p = 0; p < queue->getPointCount(); ++p) {
                int32 offset = 0;
                ParamValue value = 0.0;
                if (queue->getPoint(p, offset, value) != kResultOk) continue;
                out.reports.push_back({start, queue->getParameterId(), value});
                // A DAW hands the plug-in's own changes to its controller, so the editor follows.
                if (IEditController* controller = instance_->controller())
                    controller->setParamNormalized(queue->getParameterId(), value);
            }
        }
    }
}

double BundleSession::storedValue(ParamID id) const
{
    MemoryStream stream;
    if (component()->getState(&stream) != kResultOk) return std::numeric_limits<double>::quiet_NaN();
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    ProcessorStateImage image;
    if (readProcessorState(stream, ModuleConfig{}.frameworkVersion, image) != StateReadResult::Complete)
        return std::numeric_limits<double>::quiet_NaN();
    for (const ProcessorStateImage::Value& v : image.values)
        if (v.id == id) return v.plain;
    return std::numeric_limits<double>::quiet_NaN();
}

double BundleSession::controllerValue(ParamID id) const
{
    IEditController* controller = instance_->controller();
    return controller == nullptr ? std::numeric_limits<double>::quiet_NaN() : controller->getParamNormalized(id);
}

} // namespace vexbit::e2e
