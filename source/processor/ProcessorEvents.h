#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <cstdint>
#include <cstring>

namespace vexbit {

using Steinberg::Vst::Event;

// The processor's own event types. They travel in the pending-event queue next
// to the host's note events but are never handed back to the host.
inline constexpr uint16_t kParamChangeEvent = 65532;
inline constexpr uint16_t kTransportEvent = 65533;
inline constexpr uint16_t kTickEvent = 65534;

// Internal events belong to no bus.
inline constexpr int32_t kInternalBus = -1;

namespace detail {

// The payload lives in the Event's 24-byte union; fields are placed by byte
// offset so that the layout does not depend on which union member is active.
inline unsigned char* payload(Event& e)
{
    return reinterpret_cast<unsigned char*>(&e.noteOn);
}
inline const unsigned char* payload(const Event& e)
{
    return reinterpret_cast<const unsigned char*>(&e.noteOn);
}
template <typename T>
void put(Event& e, std::size_t offset, T value)
{
    std::memcpy(payload(e) + offset, &value, sizeof value);
}
template <typename T>
T get(const Event& e, std::size_t offset)
{
    T value;
    std::memcpy(&value, payload(e) + offset, sizeof value);
    return value;
}
inline Event internalEvent(uint16_t type, int32_t sampleOffset)
{
    Event e{};
    e.busIndex = kInternalBus;
    e.sampleOffset = sampleOffset;
    e.type = type;
    return e;
}

} // namespace detail

inline Event makeParamChangeEvent(int32_t sampleOffset, uint32_t id, double plain)
{
    Event e = detail::internalEvent(kParamChangeEvent, sampleOffset);
    detail::put(e, 0, id);
    detail::put(e, 8, plain);
    return e;
}

inline Event makeTransportEvent(int32_t sampleOffset, bool started, double position)
{
    Event e = detail::internalEvent(kTransportEvent, sampleOffset);
    detail::put<uint8_t>(e, 0, started ? 1 : 0);
    detail::put(e, 8, position);
    return e;
}

inline Event makeTickEvent(int32_t sampleOffset, double position)
{
    Event e = detail::internalEvent(kTickEvent, sampleOffset);
    detail::put(e, 0, position);
    return e;
}

inline uint32_t paramChangeId(const Event& e)
{
    return detail::get<uint32_t>(e, 0);
}
inline double paramChangeValue(const Event& e)
{
    return detail::get<double>(e, 8);
}
inline bool transportStarted(const Event& e)
{
    return detail::get<uint8_t>(e, 0) != 0;
}
inline double transportPosition(const Event& e)
{
    return detail::get<double>(e, 8);
}
inline double tickPosition(const Event& e)
{
    return detail::get<double>(e, 0);
}

} // namespace vexbit
