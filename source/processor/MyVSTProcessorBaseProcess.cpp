#include "processor/MyVSTProcessorBase.h"

#include "params/ParamConversion.h"
#include "processor/MusicalTime.h"
#include "processor/ProcessorEvents.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct StereoPointers {
    float* left = nullptr;
    float* right = nullptr;
};

// The two channels of bus 0, or none when the bus is missing, is not stereo or
// carries 64-bit samples.
StereoPointers stereoBus(const AudioBusBuffers* buses, int32 busCount, int32 sampleSize)
{
    if (buses == nullptr || busCount < 1 || sampleSize != kSample32) return {};
    const AudioBusBuffers& bus = buses[0];
    if (bus.numChannels != 2 || bus.channelBuffers32 == nullptr) return {};
    if (bus.channelBuffers32[0] == nullptr || bus.channelBuffers32[1] == nullptr) return {};
    return {bus.channelBuffers32[0], bus.channelBuffers32[1]};
}

void advance(StereoPointers& p, int32 samples)
{
    if (p.left != nullptr && p.right != nullptr) {
        p.left += samples;
        p.right += samples;
    }
}

void copyChannel(const float* in, float* out, int32 samples)
{
    if (out == nullptr || in == out) return;
    const auto bytes = static_cast<std::size_t>(samples) * sizeof(float);
    if (in == nullptr)
        std::memset(out, 0, bytes); // no input to pass on: silence, not stale memory
    else
        std::memmove(out, in, bytes);
}

bool hasMusicalPosition(const ProcessContext* context)
{
    return context != nullptr && (context->state & ProcessContext::kProjectTimeMusicValid) != 0 &&
           std::isfinite(context->projectTimeMusic);
}

} // namespace

tresult PLUGIN_API MyVSTProcessorBase::process(ProcessData& data)
{
    const int32 sampleCount = std::max<int32>(0, data.numSamples);
    subBlockStart_ = 0;
    takeHandedOver();
    noteSampleRate();
    takeParameterChanges(data.inputParameterChanges);
    takeInputEvents(data.inputEvents);
    takeTransport(data.processContext, sampleCount);
    filterInputEvents(pending_);
    pending_.sortByOffset();
    render(data, sampleCount);
    sendOutputEvents(data.outputEvents, data.processContext, sampleCount);
    reportChangedParameters(data.outputParameterChanges, sampleCount);
    return kResultOk;
}

void MyVSTProcessorBase::noteSampleRate()
{
    const double rate = setupSampleRate_.load();
    if (isUsableSampleRate(rate) && rate != lastSampleRate_) {
        lastSampleRate_ = rate;
        onSampleRateChanged(rate);
    }
}

double MyVSTProcessorBase::samplesPerBeat() const
{
    return lastSampleRate_ * 60.0 / tempo_;
}

void MyVSTProcessorBase::takeParameterChanges(IParameterChanges* changes)
{
    if (changes == nullptr) return;
    const int32 queueCount = changes->getParameterCount();
    for (int32 q = 0; q < queueCount; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr) continue;
        const ParamID id = queue->getParameterId();
        const int32 pointCount = queue->getPointCount();
        const std::size_t index = parameters_.indexOf(id);
        if (id != kBypassId && index == ParameterStore::npos) continue;
        double running = index == ParameterStore::npos ? 0.0 : parameters_.valueAt(index);
        for (int32 p = 0; p < pointCount; ++p) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(p, offset, value) != kResultOk || std::isnan(value)) continue;
            if (id == kBypassId) {
                bypass_ = value > 0.5; // for the whole block, at once
                continue;
            }
            const double plain = toPlain(value, parameters_.recordAt(index));
            if (plain == running) continue;
            // A full queue drops the change; later queues may still hold Bypass.
            if (!pending_.push(makeParamChangeEvent(std::max<int32>(0, offset), id, plain))) break;
            running = plain;
        }
    }
}

void MyVSTProcessorBase::takeInputEvents(IEventList* events)
{
    if (events == nullptr) return;
    const int32 count = events->getEventCount();
    for (int32 i = 0; i < count && !pending_.full(); ++i) {
        Event event{};
        if (events->getEvent(i, event) != kResultOk) continue;
        // An offset before the block means "now".
        event.sampleOffset = std::max<int32>(0, event.sampleOffset);
        pending_.push(event);
    }
}

void MyVSTProcessorBase::takeTransport(const ProcessContext* context, int32 sampleCount)
{
    // Without a context the transport counts as stopped at an unknown position.
    const uint32 state = context != nullptr ? context->state : 0;
    if ((state & ProcessContext::kTempoValid) != 0 && isUsableTempo(context->tempo) && context->tempo != tempo_) {
        tempo_ = context->tempo;
        onTempoChanged(tempo_);
    }
    const double beatSamples = samplesPerBeat();

    const bool playing = (state & ProcessContext::kPlaying) != 0;
    // A start or stop restarts the internal position with this block, so the
    // block after a stop does not tick position 0 a second time.
    const bool transportChanged = playing != wasPlaying_;
    if (transportChanged) internalPosition_ = 0.0;
    double position = 0.0;
    if (playing && hasMusicalPosition(context)) {
        position = context->projectTimeMusic;
    } else {
        position = internalPosition_;
        internalPosition_ += sampleCount / beatSamples;
    }
    if (transportChanged) pending_.push(makeTransportEvent(0, playing, position));
    wasPlaying_ = playing;

    // One tick per grid point inside the block. Tick k never comes before
    // sample k and the queue is bounded, so the loop always ends.
    const TickGrid grid = tickGridAt(position, beatSamples, ticksPerBeat_);
    for (int64_t k = 0;; ++k) {
        const int64_t offset = grid.offsetOf(k);
        if (offset >= sampleCount) break;
        if (!pending_.push(makeTickEvent(static_cast<int32>(offset), grid.positionOf(k)))) break;
    }
}

void MyVSTProcessorBase::render(ProcessData& data, int32 sampleCount)
{
    // A block of no samples (a parameter flush) delivers what is due at its start.
    due_.clear();
    pending_.takeDue(std::max<int32>(1, sampleCount), sampleCount, due_);

    StereoPointers in = stereoBus(data.inputs, data.numInputs, data.symbolicSampleSize);
    StereoPointers out = stereoBus(data.outputs, data.numOutputs, data.symbolicSampleSize);

    if (bypass_) {
        copyChannel(in.left, out.left, sampleCount);
        copyChannel(in.right, out.right, sampleCount);
        for (const Event& event : due_) {
            // MIDI echoes of a bypassed block still carry their event's position.
            subBlockStart_ = std::min(event.sampleOffset, sampleCount);
            dispatch(event);
        }
        subBlockStart_ = 0;
        return;
    }

    subBlockStart_ = 0;
    for (const Event& event : due_) {
        const int32 length = std::clamp(event.sampleOffset - subBlockStart_, 0, sampleCount - subBlockStart_);
        processAudio(in.left, in.right, out.left, out.right, length);
        advance(in, length);
        advance(out, length);
        subBlockStart_ += length;
        dispatch(event);
    }
    processAudio(in.left, in.right, out.left, out.right, sampleCount - subBlockStart_);
}

void MyVSTProcessorBase::dispatch(const Event& event)
{
    switch (event.type) {
    case Event::kNoteOnEvent: onNoteOn(event.noteOn.channel, event.noteOn.pitch, event.noteOn.velocity); break;
    case Event::kNoteOffEvent: onNoteOff(event.noteOff.channel, event.noteOff.pitch, event.noteOff.velocity); break;
    case kParamChangeEvent: {
        const ParamID id = paramChangeId(event);
        if (!parameters_.contains(id)) break;
        storeParameterValue(id, paramChangeValue(event));
        applyParameter(id, getParameterValue(id));
        break;
    }
    case kTransportEvent:
        if (transportStarted(event))
            onPlayStart(transportPosition(event));
        else
            onPlayStop(transportPosition(event));
        break;
    case kTickEvent: onTick(tickPosition(event)); break;
    default: break;
    }
}

void MyVSTProcessorBase::queueOutput(const Event& event)
{
    output_.pushDroppingOldest(event);
}

void MyVSTProcessorBase::queueNoteOnOut(int16 pitch, float velocity)
{
    Event e{};
    e.busIndex = 0;
    e.sampleOffset = std::max<int32>(0, subBlockStart_);
    e.type = Event::kNoteOnEvent;
    e.noteOn.channel = 0;
    e.noteOn.pitch = pitch;
    e.noteOn.tuning = 0.0f;
    e.noteOn.velocity = velocity;
    e.noteOn.length = 0;
    e.noteOn.noteId = -1;
    queueOutput(e);
}

void MyVSTProcessorBase::queueNoteOffOut(int16 pitch, float velocity)
{
    Event e{};
    e.busIndex = 0;
    e.sampleOffset = std::max<int32>(0, subBlockStart_);
    e.type = Event::kNoteOffEvent;
    e.noteOff.channel = 0;
    e.noteOff.pitch = pitch;
    e.noteOff.velocity = velocity;
    e.noteOff.noteId = -1;
    e.noteOff.tuning = 0.0f;
    queueOutput(e);
}

void MyVSTProcessorBase::queueControllerOut(int32 sampleOffset, uint8 controller, int32 value)
{
    Event e{};
    e.busIndex = 0;
    // Saturating: an offset near the int32 limit must not wrap to the past.
    const int64_t offset = static_cast<int64_t>(sampleOffset) + subBlockStart_;
    e.sampleOffset = static_cast<int32>(std::clamp<int64_t>(offset, 0, INT32_MAX));
    e.type = Event::kLegacyMIDICCOutEvent;
    e.midiCCOut.controlNumber = controller;
    e.midiCCOut.channel = 0;
    e.midiCCOut.value = static_cast<int8>(std::clamp<int32>(value, 0, 127));
    e.midiCCOut.value2 = 0;
    queueOutput(e);
}

void MyVSTProcessorBase::sendOutputEvents(IEventList* events, const ProcessContext* context, int32 sampleCount)
{
    // Without a list the events wait for a block that has one (the queue is bounded).
    if (events == nullptr) return;
    output_.sortByOffset();
    outputDue_.clear();
    output_.takeDue(sampleCount, sampleCount, outputDue_);
    const double beatSamples = samplesPerBeat();
    const double blockPosition = hasMusicalPosition(context) ? context->projectTimeMusic : 0.0;
    for (const Event& queued : outputDue_) {
        if (queued.type == kTickEvent) continue;
        Event e = queued;
        e.flags = 0;
        e.ppqPosition = e.sampleOffset / beatSamples + blockPosition;
        events->addEvent(e);
    }
}

void MyVSTProcessorBase::reportChangedParameters(IParameterChanges* changes, int32 sampleCount)
{
    samplesSinceReport_ += sampleCount;
    if (samplesSinceReport_ <= reportInterval_) return;
    if (changes != nullptr) {
        for (const ParamID id : changed_.ids()) {
            int32 queueIndex = 0;
            IParamValueQueue* queue = changes->addParameterData(id, queueIndex);
            if (queue == nullptr) continue;
            int32 pointIndex = 0;
            queue->addPoint(0, getParameterNormalized(id), pointIndex);
        }
    }
    changed_.clear();
    samplesSinceReport_ -= reportInterval_;
}

} // namespace vexbit
