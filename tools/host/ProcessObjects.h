#pragma once

// The host's side of the event and parameter-change interfaces that travel in
// ProcessData. Their room is reserved when they are made, so a process call
// that fills or reads them allocates nothing; what does not fit is refused
// with kResultFalse, as the interfaces allow.

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <cstddef>
#include <vector>

namespace vexbit::host {

// The objects are members of the renderer and never handed over for keeps, so
// reference counting is a formality.
#define VEXBIT_HOST_STATIC_OBJECT(Interface)                                                     \
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override \
    {                                                                                            \
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid) ||               \
            Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid)) {                         \
            *obj = this;                                                                         \
            return Steinberg::kResultOk;                                                         \
        }                                                                                        \
        *obj = nullptr;                                                                          \
        return Steinberg::kNoInterface;                                                          \
    }                                                                                            \
    Steinberg::uint32 PLUGIN_API addRef() override                                               \
    {                                                                                            \
        return 1;                                                                                \
    }                                                                                            \
    Steinberg::uint32 PLUGIN_API release() override                                              \
    {                                                                                            \
        return 1;                                                                                \
    }

class HostEventList final : public Steinberg::Vst::IEventList {
public:
    explicit HostEventList(std::size_t capacity = 4096) { events_.reserve(capacity); }

    Steinberg::int32 PLUGIN_API getEventCount() override;
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;
    VEXBIT_HOST_STATIC_OBJECT(Steinberg::Vst::IEventList)

    const std::vector<Steinberg::Vst::Event>& events() const { return events_; }
    void clear() { events_.clear(); }

private:
    std::vector<Steinberg::Vst::Event> events_;
};

class HostParamValueQueue final : public Steinberg::Vst::IParamValueQueue {
public:
    struct Point {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };

    explicit HostParamValueQueue(std::size_t capacity) { points_.reserve(capacity); }

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override;
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;
    VEXBIT_HOST_STATIC_OBJECT(Steinberg::Vst::IParamValueQueue)

    void reset(Steinberg::Vst::ParamID id)
    {
        id_ = id;
        points_.clear();
    }
    Steinberg::Vst::ParamID id() const { return id_; }
    const std::vector<Point>& points() const { return points_; }

private:
    Steinberg::Vst::ParamID id_ = 0;
    std::vector<Point> points_;
};

class HostParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    explicit HostParameterChanges(std::size_t queueCapacity = 256, std::size_t pointCapacity = 64);

    Steinberg::int32 PLUGIN_API getParameterCount() override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;
    VEXBIT_HOST_STATIC_OBJECT(Steinberg::Vst::IParameterChanges)

    // Adds one point to the queue of id; false when there is no room.
    bool add(Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);
    std::size_t size() const { return used_; }
    const HostParamValueQueue& queue(std::size_t index) const { return queues_[index]; }
    void clear() { used_ = 0; }

private:
    std::vector<HostParamValueQueue> queues_;
    std::size_t used_ = 0;
};

#undef VEXBIT_HOST_STATIC_OBJECT

// One stereo host block: input and output buffers, parameter and event lists
// in both directions and a process context, wired into a ProcessData. The input
// is a quiet ramp, positive on the left and negative on the right, so the
// channels and the samples can be told apart.
class StereoBlock {
public:
    explicit StereoBlock(Steinberg::int32 maxSamples = 8192, std::size_t eventCapacity = 2048,
                         std::size_t pointCapacity = 1024);
    StereoBlock(const StereoBlock&) = delete;
    StereoBlock& operator=(const StereoBlock&) = delete;

    Steinberg::Vst::ProcessData& next(Steinberg::int32 numSamples)
    {
        data.numSamples = numSamples;
        return data;
    }
    void clearLists();
    // The transport playing at a musical position, or stopped.
    void playAt(double quarters, double tempo = 120.0);
    void stop() { context.state = Steinberg::Vst::ProcessContext::kTempoValid; }
    void addInput(Steinberg::Vst::Event e) { eventsIn.addEvent(e); }
    // The output queue of id, or null.
    const HostParamValueQueue* outputQueue(Steinberg::Vst::ParamID id) const;

    std::vector<float> inL, inR, outL, outR;
    float* inPtrs[2];
    float* outPtrs[2];
    Steinberg::Vst::AudioBusBuffers inBus{};
    Steinberg::Vst::AudioBusBuffers outBus{};
    HostParameterChanges paramsIn;
    HostParameterChanges paramsOut;
    HostEventList eventsIn;
    HostEventList eventsOut;
    Steinberg::Vst::ProcessContext context{};
    Steinberg::Vst::ProcessData data{};
};

// A note event at a sample offset of the block.
Steinberg::Vst::Event noteOnEvent(Steinberg::int32 offset, Steinberg::int16 pitch, float velocity = 1.0f,
                                  Steinberg::int16 channel = 0);
Steinberg::Vst::Event noteOffEvent(Steinberg::int32 offset, Steinberg::int16 pitch, float velocity = 0.0f,
                                   Steinberg::int16 channel = 0);

} // namespace vexbit::host
