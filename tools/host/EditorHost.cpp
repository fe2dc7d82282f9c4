#include "host/EditorHost.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xlib.h>

#include <X11/Xutil.h>
#include <cairo.h>
#include <poll.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace vexbit::host {

using namespace Steinberg;

namespace {

// The bit position of the lowest set bit of a colour mask.
int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0) return 0;
    const unsigned long value = (pixel & mask) >> shiftOf(mask);
    const unsigned long max = mask >> shiftOf(mask);
    return static_cast<uint32_t>(value * 255 / max);
}

// The plug-in may destroy its window at any moment, also between our finding
// it and the server receiving what we send it; the server then refuses the
// request, which must not end the host. Errors of our own connection are
// ignored while one lives.
class IgnoredXErrors {
public:
    explicit IgnoredXErrors(Display* display) : display_(display)
    {
        XSync(display_, False);
        previous_ = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~IgnoredXErrors()
    {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    IgnoredXErrors(const IgnoredXErrors&) = delete;
    IgnoredXErrors& operator=(const IgnoredXErrors&) = delete;

private:
    Display* display_;
    XErrorHandler previous_;
};

} // namespace

std::unique_ptr<EditorHost> EditorHost::open(Vst::IEditController* controller, const std::string& title,
                                             std::string& error, double scale)
{
    if (controller == nullptr) {
        error = "the plug-in has no edit controller";
        return nullptr;
    }
    std::unique_ptr<EditorHost> host = withDisplay(error);
    if (!host) return nullptr;
    host->view_ = controller->createView(Vst::ViewType::kEditor);
    if (host->view_ == nullptr) {
        error = "the plug-in has no editor view";
        return nullptr;
    }
    if (scale > 0.0) {
        FUnknownPtr<IPlugViewContentScaleSupport> scaling(host->view_);
        if (!scaling || scaling->setContentScaleFactor(static_cast<float>(scale)) != kResultTrue) {
            error = "the editor cannot be scaled";
            return nullptr;
        }
    }
    ViewRect size;
    if (host->view_->getSize(&size) != kResultOk || size.getWidth() <= 0 || size.getHeight() <= 0)
        size = ViewRect(0, 0, 400, 300);
    host->width_ = size.getWidth();
    host->height_ = size.getHeight();

    host->createWindow(title);
    if (!host->attachView(error)) return nullptr;
    return host;
}

std::unique_ptr<EditorHost> EditorHost::openEmpty(int width, int height, std::string& error)
{
    std::unique_ptr<EditorHost> host = withDisplay(error);
    if (!host) return nullptr;
    host->width_ = std::max(width, 1);
    host->height_ = std::max(height, 1);
    host->createWindow("");
    return host;
}

std::unique_ptr<EditorHost> EditorHost::withDisplay(std::string& error)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        error = "cannot open the X display (is DISPLAY set?)";
        return nullptr;
    }
    std::unique_ptr<EditorHost> host(new EditorHost());
    host->display_ = display;
    return host;
}

void EditorHost::createWindow(const std::string& title)
{
    const int screen = DefaultScreen(display_);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, static_cast<unsigned>(width_),
                                  static_cast<unsigned>(height_), 0, BlackPixel(display_, screen),
                                  BlackPixel(display_, screen));
    XStoreName(display_, window_, title.c_str());
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom protocol = deleteWindow_;
    XSetWMProtocols(display_, window_, &protocol, 1);
    XSelectInput(display_, window_, StructureNotifyMask);
    XMapWindow(display_, window_);
    XSync(display_, False);
}

void EditorHost::destroyWindow()
{
    if (window_ == 0) return;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    window_ = 0;
}

EditorHost::~EditorHost()
{
    if (view_ != nullptr) {
        detachView();
        view_->release();
    }
    if (display_ != nullptr) {
        if (window_ != 0) XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
}

bool EditorHost::attachView(std::string& error)
{
    if (attached_) return true;
    view_->setFrame(this);
    if (view_->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
        error = "the editor cannot be embedded in an X11 window";
        view_->setFrame(nullptr);
        return false;
    }
    if (view_->attached(reinterpret_cast<void*>(static_cast<uintptr_t>(window_)), kPlatformTypeX11EmbedWindowID) !=
        kResultOk) {
        error = "the editor refused to open in the window";
        view_->setFrame(nullptr);
        return false;
    }
    attached_ = true;
    return true;
}

bool EditorHost::detachView()
{
    if (!attached_) return false;
    view_->removed();
    view_->setFrame(nullptr);
    attached_ = false;
    return true;
}

XWindow EditorHost::pluginWindow() const
{
    if (window_ == 0) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window result = 0;
    if (XQueryTree(display_, window_, &root, &parent, &children, &count) && count > 0) result = children[count - 1];
    if (children != nullptr) XFree(children);
    return result;
}

void EditorHost::runOnce()
{
    const auto now = std::chrono::steady_clock::now();
    auto wait = std::chrono::milliseconds(10);
    for (const Timer& t : timers_)
        wait = std::min(wait, std::max(std::chrono::milliseconds(0),
                                       std::chrono::duration_cast<std::chrono::milliseconds>(t.due - now)));
    std::vector<pollfd> fds;
    for (const Handler& h : handlers_) fds.push_back({h.fd, POLLIN, 0});
    if (fds.empty())
        std::this_thread::sleep_for(wait);
    else
        poll(fds.data(), fds.size(), static_cast<int>(wait.count()));

    // Callbacks may register or remove handlers: serve a copy, skipping what went away.
    const std::vector<Handler> handlers = handlers_;
    for (size_t i = 0; i < fds.size() && i < handlers.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        const bool still = std::any_of(handlers_.begin(), handlers_.end(), [&](const Handler& h) {
            return h.handler == handlers[i].handler && h.fd == handlers[i].fd;
        });
        if (still) handlers[i].handler->onFDIsSet(handlers[i].fd);
    }
    const auto after = std::chrono::steady_clock::now();
    const std::vector<Timer> timers = timers_;
    for (const Timer& t : timers) {
        auto still =
            std::find_if(timers_.begin(), timers_.end(), [&](const Timer& x) { return x.handler == t.handler; });
        if (still == timers_.end() || still->due > after) continue;
        // Missed periods are skipped rather than fired in a burst.
        still->due = after + still->interval;
        t.handler->onTimer();
    }
    handleOwnEvents();
}

void EditorHost::handleOwnEvents()
{
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
            closeRequested_ = true;
    }
}

void EditorHost::runFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end && !closeRequested_) runOnce();
}

bool EditorHost::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        runOnce();
        if (done()) return true;
    }
    return done();
}

void EditorHost::sendClick(int x, int y, unsigned button)
{
    sendButton(true, x, y, button);
    sendButton(false, x, y, button);
}

void EditorHost::sendButton(bool press, int x, int y, unsigned button)
{
    const IgnoredXErrors ignored(display_);
    const Window target = pluginWindow();
    if (target == 0) return;
    XEvent event{};
    event.xbutton.type = press ? ButtonPress : ButtonRelease;
    event.xbutton.display = display_;
    event.xbutton.window = target;
    event.xbutton.root = DefaultRootWindow(display_);
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.button = button;
    event.xbutton.state = press ? 0 : (Button1Mask << (button - 1));
    event.xbutton.same_screen = True;
    // Far apart in time, so that two clicks never make a double click.
    event.xbutton.time = (eventTime_ += 1000);
    XSendEvent(display_, target, True, press ? ButtonPressMask : ButtonReleaseMask, &event);
    XFlush(display_);
}

void EditorHost::sendMotion(int x, int y, bool buttonHeld)
{
    const IgnoredXErrors ignored(display_);
    const Window target = pluginWindow();
    if (target == 0) return;
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = display_;
    event.xmotion.window = target;
    event.xmotion.root = DefaultRootWindow(display_);
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = buttonHeld ? Button1Mask : 0;
    event.xmotion.same_screen = True;
    event.xmotion.time = (eventTime_ += 10);
    XSendEvent(display_, target, True, PointerMotionMask, &event);
    XFlush(display_);
}

void EditorHost::sendFocusOut()
{
    const IgnoredXErrors ignored(display_);
    const Window target = pluginWindow();
    if (target == 0) return;
    XEvent event{};
    event.xfocus.type = FocusOut;
    event.xfocus.display = display_;
    event.xfocus.window = target;
    event.xfocus.mode = NotifyNormal;
    event.xfocus.detail = NotifyNonlinear;
    XSendEvent(display_, target, False, FocusChangeMask, &event);
    XFlush(display_);
}

void EditorHost::hideWindow()
{
    XUnmapWindow(display_, window_);
    XFlush(display_);
}

void EditorHost::showWindow()
{
    XMapWindow(display_, window_);
    XFlush(display_);
}

bool EditorHost::writePng(const std::string& path) const
{
    XImage* image = XGetImage(display_, window_, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            row[x] = (channel(p, image->red_mask) << 16) | (channel(p, image->green_mask) << 8) |
                     channel(p, image->blue_mask);
        }
    }
    cairo_surface_mark_dirty(surface);
    XDestroyImage(image);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

tresult PLUGIN_API EditorHost::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (view == nullptr || newSize == nullptr || newSize->getWidth() <= 0 || newSize->getHeight() <= 0)
        return kInvalidArgument;
    if (newSize->getWidth() != width_ || newSize->getHeight() != height_) {
        width_ = newSize->getWidth();
        height_ = newSize->getHeight();
        XResizeWindow(display_, window_, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
        XFlush(display_);
        view->onSize(newSize);
    }
    return kResultTrue;
}

tresult PLUGIN_API EditorHost::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (handler == nullptr || fd < 0) return kInvalidArgument;
    handlers_.push_back({handler, fd});
    return kResultOk;
}

tresult PLUGIN_API EditorHost::unregisterEventHandler(Linux::IEventHandler* handler)
{
    const size_t before = handlers_.size();
    std::erase_if(handlers_, [&](const Handler& h) { return h.handler == handler; });
    return handlers_.size() < before ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API EditorHost::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (handler == nullptr || milliseconds == 0) return kInvalidArgument;
    const auto interval = std::chrono::milliseconds(milliseconds);
    timers_.push_back({handler, interval, std::chrono::steady_clock::now() + interval});
    return kResultOk;
}

tresult PLUGIN_API EditorHost::unregisterTimer(Linux::ITimerHandler* handler)
{
    const size_t before = timers_.size();
    std::erase_if(timers_, [&](const Timer& t) { return t.handler == handler; });
    return timers_.size() < before ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API EditorHost::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace vexbit::host
