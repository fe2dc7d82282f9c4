#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexbit {

// A queue of SDK events with a capacity fixed by reserve(): nothing in it
// allocates afterwards, so the audio thread can fill, sort and drain it.
class EventQueue {
public:
    using Event = Steinberg::Vst::Event;

    // Allocates room for capacity events (and the sort's scratch space).
    // Existing events are kept up to the new capacity.
    void reserve(std::size_t capacity);
    std::size_t capacity() const { return capacity_; }

    // Appends the event; false (and nothing queued) when the queue is full.
    bool push(const Event& event);
    // Appends the event; when the queue is full the oldest quarter is dropped
    // first, so a consumer that never drains it cannot make it grow.
    void pushDroppingOldest(const Event& event);

    std::size_t size() const { return events_.size(); }
    bool empty() const { return events_.empty(); }
    bool full() const { return events_.size() >= capacity_; }
    Event& operator[](std::size_t i) { return events_[i]; }
    const Event& operator[](std::size_t i) const { return events_[i]; }
    Event* begin() { return events_.data(); }
    Event* end() { return events_.data() + events_.size(); }
    const Event* begin() const { return events_.data(); }
    const Event* end() const { return events_.data() + events_.size(); }

    void clear() { events_.clear(); }
    // Removes the first count events, keeping the order of the rest.
    void removeFront(std::size_t count);
    // Removes the events for which keep returns false, keeping the order of the rest.
    template <typename Predicate>
    void retainIf(Predicate keep)
    {
        std::size_t out = 0;
        for (std::size_t i = 0; i < events_.size(); ++i)
            if (keep(events_[i])) events_[out++] = events_[i];
        events_.resize(out);
    }

    // Orders the events by sample offset. Equal offsets keep their queueing
    // order, so a parameter change queued before a note at the same sample is
    // applied before it.
    void sortByOffset();

    // Moves the events with an offset below dueBefore, in order, to the end of
    // due, and moves the rest towards the next block (offset minus shift, at
    // least 0). Assumes the queue is sorted.
    void takeDue(int32_t dueBefore, int32_t shift, EventQueue& due);

private:
    std::vector<Event> events_;
    std::vector<Event> scratch_;
    std::size_t capacity_ = 0;
};

} // namespace vexbit
