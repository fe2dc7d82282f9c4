#pragma once
// A minimal X11 host for the kit's window: its own display connection, a
// top-level parent window, and a run loop (Steinberg::Linux::IRunLoop) driven
// by poll() without any thread.
#include "viewkit/Color.h"

#include "pluginterfaces/gui/iplugview.h"

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace viewkit::test {

class TestHost : public Steinberg::Linux::IRunLoop {
public:
    // Null when no X display can be opened.
    static std::unique_ptr<TestHost> open(int width, int height);
    ~TestHost();

    Display* display() const { return dpy; }
    Window parentWindow() const { return parent; }
    // The one child of the parent window, or 0.
    Window childWindow() const;
    void destroyParent();

    // Runs the loop: poll the registered descriptors (10 ms at most), fire due timers.
    void runOnce();
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    void runFor(std::chrono::milliseconds duration);

    CColor pixel(Window w, int x, int y) const;
    void sendButton(Window w, int x, int y, unsigned button, bool press, unsigned state = 0);
    void sendMotion(Window w, int x, int y, unsigned state);

    size_t eventHandlerCount() const { return handlers.size(); }
    size_t timerCount() const { return timers.size(); }
    int lastRegisteredFd() const { return handlers.empty() ? -1 : handlers.back().fd; }

    // IRunLoop
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    TestHost() = default;
    struct Handler {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer {
        Steinberg::Linux::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
    };

    Display* dpy = nullptr;
    Window parent = 0;
    std::vector<Handler> handlers;
    std::vector<Timer> timers;
    unsigned long fakeTime = 1000;
};

} // namespace viewkit::test
