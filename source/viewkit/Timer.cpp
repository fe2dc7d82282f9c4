#include "viewkit/Timer.h"

#include <algorithm>
#include <vector>

namespace viewkit {

IdStringPtr CVSTGUITimer::kMsgTimer = "timer fired";

namespace {
// Only the UI thread touches timers, so a plain list serves.
std::vector<CVSTGUITimer*>& runningTimers()
{
    static std::vector<CVSTGUITimer*> timers;
    return timers;
}
} // namespace

CVSTGUITimer::CVSTGUITimer(CBaseObject* t, uint32_t ms, bool doStart) : target(t), fireTime(std::max(ms, 1u))
{
    if (doStart) start();
}

CVSTGUITimer::CVSTGUITimer(Callback cb, uint32_t ms, bool doStart) : callback(std::move(cb)), fireTime(std::max(ms, 1u))
{
    if (doStart) start();
}

CVSTGUITimer::~CVSTGUITimer()
{
    stop();
}

bool CVSTGUITimer::start()
{
    if (running) return true;
    running = true;
    due = Clock::now() + std::chrono::milliseconds(fireTime);
    runningTimers().push_back(this);
    return true;
}

bool CVSTGUITimer::stop()
{
    if (!running) return false;
    running = false;
    auto& timers = runningTimers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    return true;
}

bool CVSTGUITimer::setFireTime(uint32_t ms)
{
    fireTime = std::max(ms, 1u);
    if (running) {
        stop();
        start();
    }
    return true;
}

void CVSTGUITimer::fire()
{
    ScopedRef<CVSTGUITimer> keep(this);
    if (callback)
        callback(this);
    else if (target)
        target->notify(this, kMsgTimer);
}

void CVSTGUITimer::runDueTimers(Clock::time_point now)
{
    // A callback may start or stop timers: work on a copy and skip stopped ones.
    std::vector<CVSTGUITimer*> snapshot = runningTimers();
    for (CVSTGUITimer* t : snapshot) t->remember();
    for (CVSTGUITimer* t : snapshot) {
        if (!t->running || now < t->due) continue;
        const auto period = std::chrono::milliseconds(t->fireTime);
        t->due += period;
        if (t->due <= now) t->due = now + period;
        t->fire();
    }
    for (CVSTGUITimer* t : snapshot) t->forget();
}

size_t CVSTGUITimer::runningTimerCount()
{
    return runningTimers().size();
}

} // namespace viewkit
