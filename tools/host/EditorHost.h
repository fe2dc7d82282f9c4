#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Xlib's names, without its macros (which clash with other headers).
typedef struct _XDisplay Display;

namespace vexbit::host {

using XWindow = unsigned long;

// Shows a controller's editor the way a Linux DAW does: a top-level X11 window
// of the view's size, the view attached inside it, and the host's run loop
// (Steinberg::Linux::IRunLoop) offered through the view's IPlugFrame. The loop
// runs only while the caller runs it; there is no thread.
class EditorHost : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop {
public:
    // Null with one line in error when there is no display, no view "editor",
    // or the view refuses the window.
    // A scale above 0 is told to the view (as the screen's scale factor) before its size is asked.
    static std::unique_ptr<EditorHost> open(Steinberg::Vst::IEditController* controller, const std::string& title,
                                            std::string& error, double scale = 0.0);
    // A window of that size with no view in it, for a plug-in window made by
    // hand (the view kit's own tests). Null with one line in error without a display.
    static std::unique_ptr<EditorHost> openEmpty(int width, int height, std::string& error);
    // Removes and releases the view, then closes the window.
    ~EditorHost();
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    Steinberg::IPlugView* view() const { return view_; }
    Display* display() const { return display_; }
    XWindow window() const { return window_; }
    // The plug-in's own window inside ours, or 0.
    XWindow pluginWindow() const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Set once the user closed the window.
    bool closeRequested() const { return closeRequested_; }

    // One turn of the loop: wait up to 10 ms for a registered descriptor, then
    // serve readable descriptors, due timers and our own window's events.
    void runOnce();
    void runFor(std::chrono::milliseconds duration);
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(3));

    // Removes the view from the window (it stays alive) and attaches it again.
    bool detachView();
    bool attachView(std::string& error);
    // Descriptors and timers the plug-in has registered and not yet removed.
    size_t registrationCount() const { return handlers_.size() + timers_.size(); }
    size_t handlerCount() const { return handlers_.size(); }
    size_t timerCount() const { return timers_.size(); }
    int lastRegisteredDescriptor() const { return handlers_.empty() ? -1 : handlers_.back().fd; }
    // Destroys our window with the plug-in's still inside, as a host that
    // closes its window before it removes the view.
    void destroyWindow();

    // A mouse click delivered to the plug-in's window at view coordinates.
    void sendClick(int x, int y, unsigned button = 1);
    // Single pointer events, as the X server sends them to the window under
    // the pointer (or holding its grab); `buttonHeld` is whether the left
    // button is down during the motion.
    void sendButton(bool press, int x, int y, unsigned button = 1);
    void sendMotion(int x, int y, bool buttonHeld);
    // The keyboard focus leaving the plug-in's window for another client's.
    void sendFocusOut();
    // Hides and shows our window, as a DAW hides a plug-in window it keeps.
    void hideWindow();
    void showWindow();
    // What the window shows now, as a PNG file.
    bool writePng(const std::string& path) const;

    // IPlugFrame
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;
    // IRunLoop
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;
    // FUnknown: lives as long as this object; the counts are not used.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    EditorHost() = default;
    // A host with its own connection to the display, or null with error set.
    static std::unique_ptr<EditorHost> withDisplay(std::string& error);
    // Our top-level window of the current size, mapped.
    void createWindow(const std::string& title);
    void handleOwnEvents();

    struct Handler {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer {
        Steinberg::Linux::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
    };

    Steinberg::IPlugView* view_ = nullptr;
    bool attached_ = false;
    Display* display_ = nullptr;
    XWindow window_ = 0;
    unsigned long deleteWindow_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool closeRequested_ = false;
    unsigned long eventTime_ = 1000;
    std::vector<Handler> handlers_;
    std::vector<Timer> timers_;
};

} // namespace vexbit::host
