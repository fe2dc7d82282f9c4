#include "FuzzSession.h"

#include "host/PluginState.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vexbit::fuzz {

using namespace Steinberg;
using namespace Steinberg::Vst;

void fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

IPtr<MemoryStream> streamOver(std::string_view bytes)
{
    auto stream = owned(new MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

std::string contents(MemoryStream& stream)
{
    return std::string(stream.getData() != nullptr ? stream.getData() : "", static_cast<size_t>(stream.getSize()));
}

FuzzSession& FuzzSession::get()
{
    static FuzzSession* session = [] {
        auto* s = new FuzzSession();
        const char* path = std::getenv("VEXBIT_FUZZ_BUNDLE");
        std::string error;
        s->module_ = host::Module::load(path != nullptr ? path : VEXBIT_BUNDLE_PATH, error);
        if (s->module_) s->instance_ = host::PluginInstance::createFirstEffect(s->module_, error);
        if (!s->instance_ || s->instance_->controller() == nullptr) fail("cannot set up the plug-in: " + error);
        const auto saved = host::saveState(*s->instance_, error);
        if (!saved) fail("cannot save the default state: " + error);
        s->defaultComponentState_ = saved->component;
        s->defaultControllerState_ = saved->controller;
        return s;
    }();
    return *session;
}

void FuzzSession::reset()
{
    processor()->setProcessing(false);
    component()->setActive(false);
    if (component()->setState(streamOver(defaultComponentState_)) != kResultOk ||
        controller()->setComponentState(streamOver(defaultComponentState_)) != kResultOk ||
        controller()->setState(streamOver(defaultControllerState_)) != kResultOk)
        fail("the default state no longer loads");
}

void FuzzSession::processOneBlock()
{
    constexpr int32 kFrames = 512;
    ProcessSetup setup{kRealtime, kSample32, kFrames, 44100.0};
    if (processor()->setupProcessing(setup) != kResultOk || component()->setActive(true) != kResultOk)
        fail("cannot prepare for processing");
    processor()->setProcessing(true);

    std::vector<float> in[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    std::vector<float> out[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    uint32_t noise = 1;
    for (auto& channel : in)
        for (float& sample : channel)
            sample = static_cast<float>((noise = noise * 1664525u + 1013904223u) >> 8) / 16777216.0f - 0.5f;
    float* inPointers[2] = {in[0].data(), in[1].data()};
    float* outPointers[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus{};
    inBus.numChannels = 2;
    inBus.channelBuffers32 = inPointers;
    AudioBusBuffers outBus{};
    outBus.numChannels = 2;
    outBus.channelBuffers32 = outPointers;
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = kFrames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    if (processor()->process(data) != kResultOk) fail("a plain block was refused");
    processor()->setProcessing(false);
    component()->setActive(false);
}

} // namespace vexbit::fuzz
