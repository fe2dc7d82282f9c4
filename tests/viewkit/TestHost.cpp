#include "viewkit/TestHost.h"

#include "support/OwnDisplay.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <poll.h>
#include <thread>

namespace viewkit::test {

using namespace Steinberg;

std::unique_ptr<TestHost> TestHost::open(int width, int height)
{
    if (!vexbit::test::haveDisplay()) return nullptr;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    std::unique_ptr<TestHost> host(new TestHost);
    host->dpy = d;
    const int screen = DefaultScreen(d);
    host->parent = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, BlackPixel(d, screen), WhitePixel(d, screen));
    XSelectInput(d, host->parent, StructureNotifyMask | SubstructureNotifyMask);
    XMapWindow(d, host->parent);
    XSync(d, False);
    return host;
}

TestHost::~TestHost()
{
    if (parent) XDestroyWindow(dpy, parent);
    XCloseDisplay(dpy);
}

void TestHost::destroyParent()
{
    XDestroyWindow(dpy, parent);
    XSync(dpy, False);
    parent = 0;
}

Window TestHost::childWindow() const
{
    if (!parent) return 0;
    Window root = 0, par = 0, *children = nullptr;
    unsigned count = 0;
    Window result = 0;
    if (XQueryTree(dpy, parent, &root, &par, &children, &count) && count == 1) result = children[0];
    if (children) XFree(children);
    return result;
}

void TestHost::runOnce()
{
    const auto now = std::chrono::steady_clock::now();
    auto wait = std::chrono::milliseconds(10);
    for (const Timer& t : timers)
        wait = std::min(wait, std::max(std::chrono::milliseconds(0),
                                       std::chrono::duration_cast<std::chrono::milliseconds>(t.due - now)));
    std::vector<pollfd> fds;
    for (const Handler& h : handlers) fds.push_back({h.fd, POLLIN, 0});
    if (fds.empty())
        std::this_thread::sleep_for(wait);
    else
        poll(fds.data(), fds.size(), static_cast<int>(wait.count()));

    // Callbacks may (un)register: work on copies and skip what is gone.
    const std::vector<Handler> handlerCopy = handlers;
    for (size_t i = 0; i < fds.size() && i < handlerCopy.size(); ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const auto still = std::find_if(handlers.begin(), handlers.end(), [&](const Handler& h) {
            return h.handler == handlerCopy[i].handler && h.fd == handlerCopy[i].fd;
        });
        if (still != handlers.end()) handlerCopy[i].handler->onFDIsSet(handlerCopy[i].fd);
    }
    const auto after = std::chrono::steady_clock::now();
    const std::vector<Timer> timerCopy = timers;
    for (const Timer& t : timerCopy) {
        auto still = std::find_if(timers.begin(), timers.end(), [&](const Timer& x) { return x.handler == t.handler; });
        if (still == timers.end() || still->due > after) continue;
        still->due = after + still->interval;
        t.handler->onTimer();
    }
    while (XPending(dpy)) {
        XEvent ev;
        XNextEvent(dpy, &ev);
    }
}

bool TestHost::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        runOnce();
        if (done()) return true;
    }
    return done();
}

void TestHost::runFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) runOnce();
}

CColor TestHost::pixel(Window w, int x, int y) const
{
    XImage* image = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return CColor(0, 0, 0, 0);
    const unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return CColor(static_cast<uint8_t>((p >> 16) & 0xFF), static_cast<uint8_t>((p >> 8) & 0xFF),
                  static_cast<uint8_t>(p & 0xFF));
}

void TestHost::sendButton(Window w, int x, int y, unsigned button, bool press, unsigned state)
{
    XEvent ev{};
    ev.xbutton.type = press ? ButtonPress : ButtonRelease;
    ev.xbutton.display = dpy;
    ev.xbutton.window = w;
    ev.xbutton.root = DefaultRootWindow(dpy);
    ev.xbutton.x = x;
    ev.xbutton.y = y;
    ev.xbutton.button = button;
    ev.xbutton.state = state;
    ev.xbutton.same_screen = True;
    ev.xbutton.time = (fakeTime += 1000); // far apart: never a double click
    XSendEvent(dpy, w, True, press ? ButtonPressMask : ButtonReleaseMask, &ev);
    XFlush(dpy);
}

void TestHost::sendMotion(Window w, int x, int y, unsigned state)
{
    XEvent ev{};
    ev.xmotion.type = MotionNotify;
    ev.xmotion.display = dpy;
    ev.xmotion.window = w;
    ev.xmotion.root = DefaultRootWindow(dpy);
    ev.xmotion.x = x;
    ev.xmotion.y = y;
    ev.xmotion.state = state;
    ev.xmotion.same_screen = True;
    ev.xmotion.time = (fakeTime += 10);
    XSendEvent(dpy, w, True, PointerMotionMask, &ev);
    XFlush(dpy);
}

tresult PLUGIN_API TestHost::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler || fd < 0) return kInvalidArgument;
    handlers.push_back({handler, fd});
    return kResultOk;
}

tresult PLUGIN_API TestHost::unregisterEventHandler(Linux::IEventHandler* handler)
{
    const auto before = handlers.size();
    std::erase_if(handlers, [&](const Handler& h) { return h.handler == handler; });
    return handlers.size() < before ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API TestHost::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms)
{
    if (!handler || ms == 0) return kInvalidArgument;
    timers.push_back(
        {handler, std::chrono::milliseconds(ms), std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)});
    return kResultOk;
}

tresult PLUGIN_API TestHost::unregisterTimer(Linux::ITimerHandler* handler)
{
    const auto before = timers.size();
    std::erase_if(timers, [&](const Timer& t) { return t.handler == handler; });
    return timers.size() < before ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API TestHost::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = this;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace viewkit::test
