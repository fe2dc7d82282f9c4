#pragma once
// A small Windows host for plug-in views: a top-level window whose client area
// the view is attached to, as a DAW's plug-in window does, and the input a user
// would give it, sent as window messages to the view's child window.
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace vexbit::test {

class WindowsEditorHost {
public:
    WindowsEditorHost();
    ~WindowsEditorHost();
    WindowsEditorHost(const WindowsEditorHost&) = delete;
    WindowsEditorHost& operator=(const WindowsEditorHost&) = delete;

    HWND window() const { return topLevel; }
    // The view's own window inside ours; null while no view is attached.
    HWND viewWindow() const { return GetWindow(topLevel, GW_CHILD); }

    // Creates the controller's "editor" view and attaches it; false when either fails.
    bool attach(Steinberg::Vst::IEditController* controller);
    // Removes and releases the view.
    void remove();
    Steinberg::IPlugView* view() const { return plugView; }

    // Handles this thread's messages for a while, or until `done` holds.
    void runFor(std::chrono::milliseconds time);
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // Input at view pixels, as the system would post it to the view's window.
    void press(int x, int y);
    void moveHeld(int x, int y);
    void release(int x, int y);
    void click(int x, int y);

    // The view window's pixels as 0x00RRGGBB, row by row; empty when unreadable.
    std::vector<uint32_t> capture(int& width, int& height) const;

private:
    void post(UINT message, WPARAM wParam, int x, int y);

    HWND topLevel = nullptr;
    Steinberg::IPlugView* plugView = nullptr;
};

} // namespace vexbit::test
