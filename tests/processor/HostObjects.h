#pragma once

// Small host-side implementations of the SDK's parameter-change and event-list
// interfaces, the way a host fills and reads them around a process call. Their
// room is reserved up front, so using them during process allocates nothing.

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Objects live on the test's stack; reference counting is not needed.
#define VEXBIT_TEST_NO_REFCOUNT                                        \
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override \
    {                                                                  \
        *obj = nullptr;                                                \
        return kNoInterface;                                           \
    }                                                                  \
    uint32 PLUGIN_API addRef() override                                \
    {                                                                  \
        return 1;                                                      \
    }                                                                  \
    uint32 PLUGIN_API release() override                               \
    {                                                                  \
        return 1;                                                      \
    }

class ValueQueue : public IParamValueQueue {
public:
    explicit ValueQueue(ParamID id = 0, std::size_t capacity = 1024) : id_(id) { points_.reserve(capacity); }

    ParamID PLUGIN_API getParameterId() override { return id_; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points_.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount()) return kInvalidArgument;
        offset = points_[static_cast<std::size_t>(index)].first;
        value = points_[static_cast<std::size_t>(index)].second;
        return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32 offset, ParamValue value, int32& index) override
    {
        if (points_.size() == points_.capacity()) return kResultFalse;
        index = getPointCount();
        points_.emplace_back(offset, value);
        return kResultOk;
    }
    VEXBIT_TEST_NO_REFCOUNT

    void reset(ParamID id)
    {
        id_ = id;
        points_.clear();
    }
    const std::vector<std::pair<int32, double>>& points() const { return points_; }

private:
    ParamID id_;
    std::vector<std::pair<int32, double>> points_;
};

class ParameterChangeList : public IParameterChanges {
public:
    explicit ParameterChangeList(std::size_t queueCapacity = 128, std::size_t pointCapacity = 1024)
    {
        queues_.reserve(queueCapacity);
        for (std::size_t i = 0; i < queueCapacity; ++i) queues_.emplace_back(0, pointCapacity);
    }

    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(used_); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override
    {
        if (index < 0 || static_cast<std::size_t>(index) >= used_) return nullptr;
        return &queues_[static_cast<std::size_t>(index)];
    }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) override
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
    VEXBIT_TEST_NO_REFCOUNT

    // Adds a point to the queue of id (creating it).
    void add(ParamID id, int32 offset, double value)
    {
        int32 index = 0;
        int32 pointIndex = 0;
        if (IParamValueQueue* queue = addParameterData(id, index)) queue->addPoint(offset, value, pointIndex);
    }
    // The queue of id, or null.
    ValueQueue* find(ParamID id)
    {
        for (std::size_t i = 0; i < used_; ++i)
            if (queues_[i].getParameterId() == id) return &queues_[i];
        return nullptr;
    }
    void clear() { used_ = 0; }

private:
    std::vector<ValueQueue> queues_;
    std::size_t used_ = 0;
};

class EventList : public IEventList {
public:
    explicit EventList(std::size_t capacity = 2048) { events_.reserve(capacity); }

    int32 PLUGIN_API getEventCount() override { return static_cast<int32>(events_.size()); }
    tresult PLUGIN_API getEvent(int32 index, Event& e) override
    {
        if (index < 0 || index >= getEventCount()) return kInvalidArgument;
        e = events_[static_cast<std::size_t>(index)];
        return kResultOk;
    }
    tresult PLUGIN_API addEvent(Event& e) override
    {
        if (events_.size() == events_.capacity()) return kResultFalse;
        events_.push_back(e);
        return kResultOk;
    }
    VEXBIT_TEST_NO_REFCOUNT

    void add(Event e) { addEvent(e); }
    const std::vector<Event>& events() const { return events_; }
    void clear() { events_.clear(); }

private:
    std::vector<Event> events_;
};

#undef VEXBIT_TEST_NO_REFCOUNT

inline Event noteOn(int32 offset, int16 pitch, float velocity = 1.0f, int16 channel = 0)
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

inline Event noteOff(int32 offset, int16 pitch, float velocity = 0.0f, int16 channel = 0)
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

} // namespace vexbit::test
