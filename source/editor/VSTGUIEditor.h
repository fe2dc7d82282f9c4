#pragma once

#include "viewkit/Frame.h"
#include "viewkit/Timer.h"
#include "viewkit/RunLoop.h"

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <memory>

namespace vexbit {

// The host-facing editor view of a controller, drawn with our view kit: it
// answers the host's IPlugView calls, forwards the frame's edit gestures to
// the controller, and runs a 100 ms timer while attached. The concrete editor
// builds and tears down the frame in open and close.
//
// On Linux the window and the timer live on the host's run loop, which the
// host lends through the IPlugFrame it sets on the view; on Windows they live
// on the UI thread's messages. The platform's half is in VSTGUIEditorX11.cpp
// or VSTGUIEditorWin32.cpp.
//
// On high-resolution screens the view is larger by the screen's scale factor
// (told by the host, else taken from the desktop) and
// drawn at that resolution; the view tree keeps the editor's own size.
class VSTGUIEditor : public Steinberg::Vst::EditorView,
                     public Steinberg::IPlugViewContentScaleSupport,
                     public viewkit::VSTGUIEditorInterface,
                     public viewkit::CBaseObject {
public:
    using tresult = Steinberg::tresult;
    using PlatformType = viewkit::PlatformType;

    VSTGUIEditor(void* controller, Steinberg::ViewRect* size = nullptr);
    ~VSTGUIEditor() override;

    // Builds the frame in `parent` (an X11 window id or an HWND). A null parent builds the
    // frame without a window, e.g. to render it offscreen.
    virtual bool PLUGIN_API open(void* parent, const PlatformType& type = PlatformType::kDefaultNative) = 0;
    virtual void PLUGIN_API close() = 0;

    void setIdleRate(Steinberg::int32 milliseconds);
    viewkit::CFrame* getFrame() const { return frame; }
    viewkit::CVSTGUITimer* getTimer() const { return timer; }

    // The size the concrete editor was made with, before scaling.
    Steinberg::ViewRect getUnscaledSize() const { return unscaledSize; }
    double getScaleFactor() const { return scaleFactor; }

    // IPlugView
    tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;
    tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    tresult PLUGIN_API removed() override;
    tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
    tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers) override;
    tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers) override;
    tresult PLUGIN_API onWheel(float distance) override;

    // IPlugViewContentScaleSupport: factors from 1 to 4 are taken.
    tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return EditorView::addRef(); }
    Steinberg::uint32 PLUGIN_API release() override { return EditorView::release(); }

    // VSTGUIEditorInterface: the frame's edit gestures go to the controller.
    void beginEdit(int32_t tag) override;
    void endEdit(int32_t tag) override;
    int32_t getKnobMode() const override;

    // The timer's tick lets the frame redraw what changed.
    viewkit::CMessageResult notify(viewkit::CBaseObject* sender, viewkit::IdStringPtr message) override;

protected:
    // The editor's size before scaling, for editors that know it only after construction.
    void setEditorSize(const Steinberg::ViewRect& size);

    // What CFrame::open needs from the host; null when a Linux host lent no run loop.
    const viewkit::X11FrameConfig* getFrameConfig();

    viewkit::CFrame* frame = nullptr;

private:
    // Takes the desktop's scale once, unless the host has told one.
    void followDesktopScale();
    void applyScaleFactor(double factor);
    Steinberg::ViewRect scaledSize() const;

    Steinberg::ViewRect unscaledSize;
    double scaleFactor = 1.0;
    bool scaleSettled = false;

    viewkit::CVSTGUITimer* timer = nullptr;
    std::unique_ptr<viewkit::IRunLoop> runLoop;
    viewkit::X11FrameConfig frameConfig;
};

} // namespace vexbit
