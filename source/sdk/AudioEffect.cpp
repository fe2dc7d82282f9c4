#include "sdk/AudioEffect.h"

namespace Steinberg {
namespace Vst {

namespace {

template <typename BusType>
BusType* busAt(BusList& list, int32 index)
{
    if (index < 0 || index >= static_cast<int32>(list.size())) return nullptr;
    return static_cast<BusType*>(list.at(static_cast<std::size_t>(index)).get());
}

template <typename T>
T* append(BusList& list, T* bus)
{
    list.push_back(IPtr<Vst::Bus>(bus, false)); // the list adopts the new bus
    return bus;
}

} // namespace

AudioEffect::AudioEffect()
{
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.processMode = kRealtime;
    processSetup.sampleRate = 44100.0;
    processSetup.symbolicSampleSize = kSample32;
}

AudioBus* AudioEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType, int32 flags)
{
    return append(audioInputs, new AudioBus(name, busType, flags, arr));
}

AudioBus* AudioEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType, int32 flags)
{
    return append(audioOutputs, new AudioBus(name, busType, flags, arr));
}

EventBus* AudioEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    return append(eventInputs, new EventBus(name, busType, flags, channels));
}

EventBus* AudioEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    return append(eventOutputs, new EventBus(name, busType, flags, channels));
}

AudioBus* AudioEffect::getAudioInput(int32 index)
{
    return busAt<AudioBus>(audioInputs, index);
}

AudioBus* AudioEffect::getAudioOutput(int32 index)
{
    return busAt<AudioBus>(audioOutputs, index);
}

EventBus* AudioEffect::getEventInput(int32 index)
{
    return busAt<EventBus>(eventInputs, index);
}

EventBus* AudioEffect::getEventOutput(int32 index)
{
    return busAt<EventBus>(eventOutputs, index);
}

tresult PLUGIN_API AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns < 0 || numOuts < 0) return kInvalidArgument;
    if (numIns > static_cast<int32>(audioInputs.size()) || numOuts > static_cast<int32>(audioOutputs.size()))
        return kResultFalse;
    if ((numIns > 0 && inputs == nullptr) || (numOuts > 0 && outputs == nullptr)) return kInvalidArgument;
    for (int32 i = 0; i < numIns; ++i) getAudioInput(i)->setArrangement(inputs[i]);
    for (int32 i = 0; i < numOuts; ++i) getAudioOutput(i)->setArrangement(outputs[i]);
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
    AudioBus* bus = dir == kInput ? getAudioInput(index) : getAudioOutput(index);
    if (bus == nullptr) return kInvalidArgument;
    arr = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API AudioEffect::setupProcessing(ProcessSetup& setup)
{
    processSetup.maxSamplesPerBlock = setup.maxSamplesPerBlock;
    processSetup.processMode = setup.processMode;
    processSetup.sampleRate = setup.sampleRate;
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
    processSetup.symbolicSampleSize = setup.symbolicSampleSize;
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
