#include "processor/MyVSTProcessor.h"

#include "module/ModuleConfig.h"
#include "params/Utf.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Bus names carry their number, counted from 1.
std::u16string busName(const char* stem, int number)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", stem, number);
    return utf8ToUtf16(text);
}

} // namespace

MyVSTProcessor::MyVSTProcessor()
{
    setControllerClass(moduleConfig().controllerClassId);
}

FUnknown* MyVSTProcessor::createInstance(void* /*context*/)
{
    return static_cast<IAudioProcessor*>(new MyVSTProcessor());
}

tresult PLUGIN_API MyVSTProcessor::initialize(FUnknown* context)
{
    const tresult result = AudioEffect::initialize(context);
    if (result != kResultOk)
        return result;

    const ModuleConfig& config = moduleConfig();
    addAudioInput(busName("AudioInput", 1).c_str(), SpeakerArr::kStereo);
    if (config.sideChainBusCount > 0)
        addAudioInput(busName("AudioSidChain", 1).c_str(), SpeakerArr::kStereo, kAux);
    addAudioOutput(busName("AudioOutput", 1).c_str(), SpeakerArr::kStereo);
    addEventInput(busName("EventInput", 1).c_str(), 16);
    if (config.eventOutputBusCount > 0)
        addEventOutput(busName("EventOutput", 1).c_str(), 16);
    return kResultOk;
}

tresult PLUGIN_API MyVSTProcessor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                      SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns == 1 && numOuts == 1 && inputs != nullptr && outputs != nullptr &&
        inputs[0] == SpeakerArr::kStereo && outputs[0] == SpeakerArr::kStereo)
        return AudioEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
    return kResultFalse;
}

tresult PLUGIN_API MyVSTProcessor::process(ProcessData& data)
{
    if (data.numSamples <= 0 || data.numOutputs < 1 || data.outputs == nullptr)
        return kResultOk;
    AudioBusBuffers& out = data.outputs[0];
    const bool haveInput = data.numInputs >= 1 && data.inputs != nullptr;
    const auto bytes = static_cast<std::size_t>(data.numSamples) * sizeof(Sample32);
    for (int32 ch = 0; ch < out.numChannels; ++ch) {
        Sample32* dst = out.channelBuffers32 != nullptr ? out.channelBuffers32[ch] : nullptr;
        if (dst == nullptr)
            continue;
        const Sample32* src = nullptr;
        if (haveInput && ch < data.inputs[0].numChannels && data.inputs[0].channelBuffers32 != nullptr)
            src = data.inputs[0].channelBuffers32[ch];
        if (src == nullptr)
            std::memset(dst, 0, bytes);
        else if (src != dst)
            std::memmove(dst, src, bytes);
    }
    return kResultOk;
}

} // namespace vexbit
