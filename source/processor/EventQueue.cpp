#include "processor/EventQueue.h"

#include <algorithm>

namespace vexbit {

void EventQueue::reserve(std::size_t capacity)
{
    if (events_.size() > capacity) events_.resize(capacity);
    events_.reserve(capacity);
    scratch_.reserve(capacity);
    capacity_ = capacity;
}

bool EventQueue::push(const Event& event)
{
    if (full()) return false;
    events_.push_back(event);
    return true;
}

void EventQueue::pushDroppingOldest(const Event& event)
{
    if (capacity_ == 0) return;
    if (full()) removeFront(std::max<std::size_t>(1, capacity_ / 4));
    events_.push_back(event);
}

void EventQueue::removeFront(std::size_t count)
{
    count = std::min(count, events_.size());
    events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(count));
}

void EventQueue::sortByOffset()
{
    // Bottom-up merge sort into the preallocated scratch buffer: stable and
    // O(n log n) without the temporary allocation std::stable_sort may make.
    const std::size_t n = events_.size();
    if (n < 2) return;
    scratch_.resize(n);
    Event* from = events_.data();
    Event* to = scratch_.data();
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t a = lo;
            std::size_t b = mid;
            std::size_t out = lo;
            while (a < mid && b < hi) to[out++] = (from[b].sampleOffset < from[a].sampleOffset) ? from[b++] : from[a++];
            while (a < mid) to[out++] = from[a++];
            while (b < hi) to[out++] = from[b++];
        }
        std::swap(from, to);
    }
    if (from != events_.data()) std::copy(from, from + n, events_.data());
}

void EventQueue::takeDue(int32_t dueBefore, int32_t shift, EventQueue& due)
{
    std::size_t taken = 0;
    while (taken < events_.size() && events_[taken].sampleOffset < dueBefore) {
        due.push(events_[taken]);
        ++taken;
    }
    removeFront(taken);
    for (Event& e : events_) e.sampleOffset = std::max(0, e.sampleOffset - shift);
}

} // namespace vexbit
