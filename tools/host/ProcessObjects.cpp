#include "host/ProcessObjects.h"

namespace vexbit::host {

using namespace Steinberg;
using namespace Steinberg::Vst;

int32 PLUGIN_API HostEventList::getEventCount()
{
    return static_cast<int32>(events_.size());
}

tresult PLUGIN_API HostEventList::getEvent(int32 index, Event& e)
{
    if (index < 0 || index >= getEventCount()) return kInvalidArgument;
    e = events_[static_cast<std::size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API HostEventList::addEvent(Event& e)
{
    if (events_.size() == events_.capacity()) return kResultFalse;
    events_.push_back(e);
    return kResultOk;
}

int32 PLUGIN_API HostParamValueQueue::getPointCount()
{
    return static_cast<int32>(points_.size());
}

tresult PLUGIN_API HostParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value)
{
    if (index < 0 || index >= getPointCount()) return kInvalidArgument;
    sampleOffset = points_[static_cast<std::size_t>(index)].offset;
    value = points_[static_cast<std::size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
    if (points_.size() == points_.capacity()) return kResultFalse;
    index = getPointCount();
    points_.push_back({sampleOffset, value});
    return kResultOk;
}

HostParameterChanges::HostParameterChanges(std::size_t queueCapacity, std::size_t pointCapacity)
{
    queues_.reserve(queueCapacity);
    for (std::size_t i = 0; i < queueCapacity; ++i) queues_.emplace_back(pointCapacity);
}

int32 PLUGIN_API HostParameterChanges::getParameterCount()
{
    return static_cast<int32>(used_);
}

IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= used_) return nullptr;
    return &queues_[static_cast<std::size_t>(index)];
}

IParamValueQueue* PLUGIN_API HostParameterChanges::addParameterData(const ParamID& id, int32& index)
{
    for (std::size_t i = 0; i < used_; ++i) {
        if (queues_[i].getParameterId() == id) {
            index = static_cast<int32>(i);
            return &queues_[i];
        }
    }
    if (used_ == queues_.size()) return nullptr;
    queues_[used_].reset(id);
    index = static_cast<int32>(used_);
    return &queues_[used_++];
}

bool HostParameterChanges::add(ParamID id, int32 sampleOffset, ParamValue value)
{
    int32 index = 0;
    IParamValueQueue* queue = addParameterData(id, index);
    int32 pointIndex = 0;
    return queue != nullptr && queue->addPoint(sampleOffset, value, pointIndex) == kResultOk;
}

StereoBlock::StereoBlock(int32 maxSamples, std::size_t eventCapacity, std::size_t pointCapacity)
    : inL(static_cast<std::size_t>(maxSamples)), inR(inL.size()), outL(inL.size()), outR(inL.size()),
      paramsIn(128, pointCapacity), paramsOut(128, pointCapacity), eventsIn(eventCapacity), eventsOut(eventCapacity)
{
    for (std::size_t i = 0; i < inL.size(); ++i) {
        inL[i] = 0.001f * static_cast<float>(i + 1);
        inR[i] = -inL[i];
    }
    inPtrs[0] = inL.data();
    inPtrs[1] = inR.data();
    outPtrs[0] = outL.data();
    outPtrs[1] = outR.data();
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers32 = inPtrs;
    outBus.channelBuffers32 = outPtrs;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = &paramsIn;
    data.outputParameterChanges = &paramsOut;
    data.inputEvents = &eventsIn;
    data.outputEvents = &eventsOut;
    data.processContext = &context;
    context.sampleRate = 44100.0;
    context.tempo = 120.0;
}

void StereoBlock::clearLists()
{
    paramsIn.clear();
    paramsOut.clear();
    eventsIn.clear();
    eventsOut.clear();
}

void StereoBlock::playAt(double quarters, double tempo)
{
    context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kProjectTimeMusicValid;
    context.tempo = tempo;
    context.projectTimeMusic = quarters;
}

const HostParamValueQueue* StereoBlock::outputQueue(ParamID id) const
{
    for (std::size_t i = 0; i < paramsOut.size(); ++i)
        if (paramsOut.queue(i).id() == id) return &paramsOut.queue(i);
    return nullptr;
}

Event noteOnEvent(int32 offset, int16 pitch, float velocity, int16 channel)
{
    Event e{};
    e.sampleOffset = offset;
    e.type = Event::kNoteOnEvent;
    e.noteOn.channel = channel;
    e.noteOn.pitch = pitch;
    e.noteOn.velocity = velocity;
    e.noteOn.noteId = -1;
    return e;
}

Event noteOffEvent(int32 offset, int16 pitch, float velocity, int16 channel)
{
    Event e{};
    e.sampleOffset = offset;
    e.type = Event::kNoteOffEvent;
    e.noteOff.channel = channel;
    e.noteOff.pitch = pitch;
    e.noteOff.velocity = velocity;
    e.noteOff.noteId = -1;
    return e;
}

} // namespace vexbit::host
