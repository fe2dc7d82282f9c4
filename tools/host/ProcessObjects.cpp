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

} // namespace vexbit::host
