#pragma once
#include "viewkit/BaseObject.h"
#include <chrono>
#include <functional>

namespace viewkit {

// A repeating timer on the UI thread. Running timers are fired by whoever drives
// the kit: every open window's run-loop timer calls runDueTimers().
class CVSTGUITimer : public CBaseObject {
public:
    using Callback = std::function<void(CVSTGUITimer*)>;
    // Sent to the target on every period; compare by pointer.
    static IdStringPtr kMsgTimer;

    CVSTGUITimer(CBaseObject* target, uint32_t fireTimeMs = 100, bool doStart = false);
    CVSTGUITimer(Callback callback, uint32_t fireTimeMs = 100, bool doStart = true);
    ~CVSTGUITimer() override;

    bool start();
    bool stop();
    bool isRunning() const { return running; }
    // Restarts a running timer with the new period.
    bool setFireTime(uint32_t ms);

    using Clock = std::chrono::steady_clock;
    // Fires every running timer whose period has passed at `now`; missed periods are skipped.
    static void runDueTimers(Clock::time_point now = Clock::now());
    static size_t runningTimerCount();

private:
    void fire();

    CBaseObject* target = nullptr;
    Callback callback;
    uint32_t fireTime;
    bool running = false;
    Clock::time_point due;
};

} // namespace viewkit
