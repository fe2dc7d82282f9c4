#pragma once
#include "viewkit/ViewContainer.h"
#include <memory>

typedef struct _cairo cairo_t;

namespace viewkit {

class CFrame;
class IRunLoop;

// What the frame asks of the editor that owns it (the SDK editor maps these to
// the controller and to the host's knob mode).
class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;
    virtual void beginEdit(int32_t /*tag*/) {}
    virtual void endEdit(int32_t /*tag*/) {}
    virtual int32_t getKnobMode() const { return kCircularMode; }
};

// The window system side of a frame (see X11Frame.cpp, Win32Frame.cpp).
class IPlatformFrame {
public:
    virtual ~IPlatformFrame() = default;
    // `rect` in frame coordinates.
    virtual void invalidRect(const CRect& rect) = 0;
    // `rect` in frame coordinates; the window takes it times the frame's scale factor.
    virtual bool setSize(const CRect& rect) = 0;
    // The frame is going away: free everything now, or right after the event
    // being dispatched when called from inside one. Takes ownership of itself.
    virtual void detach() = 0;
};

struct PlatformDeleter {
    void operator()(IPlatformFrame* p) const
    {
        if (p) p->detach();
    }
};

// The scale factors a frame accepts (high-resolution screens use 1.25 to 3).
inline constexpr double kMinScaleFactor = 1.0;
inline constexpr double kMaxScaleFactor = 4.0;

enum class PlatformType { kDefaultNative, kX11EmbedWindowID, kHWND };

// How the frame reaches the host's event loop on Linux; the frame never starts a
// thread. Windows windows need nothing here: their timers run on the thread's messages.
struct X11FrameConfig {
    IRunLoop* runLoop = nullptr;
};

// The root of a view tree: one window (or an offscreen image), focus, mouse
// capture, a modal overlay (open menus) and the link to the editor.
class CFrame : public CViewContainer {
public:
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);

    // Creates the child window of `parent` (an X11 window id or an HWND). On X11
    // it fails without a run loop or when the display cannot be reached.
    bool open(void* parent, PlatformType type = PlatformType::kDefaultNative, const X11FrameConfig* config = nullptr);
    // Closes the window, removes every view and drops the creator's reference.
    void close();
    bool isOpen() const { return platform != nullptr; }

    bool isRoot() const override { return true; }
    VSTGUIEditorInterface* getEditor() const { return editor; }
    void beginEdit(int32_t tag)
    {
        if (editor) editor->beginEdit(tag);
    }
    void endEdit(int32_t tag)
    {
        if (editor) editor->endEdit(tag);
    }
    int32_t getKnobMode() const { return editor ? editor->getKnobMode() : kCircularMode; }

    // Invalidates every dirty view; the editor's timer calls it.
    void idle();
    bool setSize(CCoord width, CCoord height);
    // How many device pixels one unit of the view tree covers: the window
    // becomes that much larger and everything is drawn at that resolution,
    // while views keep their sizes and positions. Values outside 1..4 are refused.
    bool setScaleFactor(double scale);
    double getScaleFactor() const { return scaleFactor; }

    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }
    // An overlay that takes all input until it closes (e.g. an open menu).
    void setModalView(CView* view);
    CView* getModalView() const { return modalView; }

    // The window lost the pointer or the keyboard: an open menu closes, the
    // control under a held button is released where the pointer was last
    // seen, an open text field commits, and held keys or wheel steps end.
    void interruptGestures();
    bool hasMouseGesture() const { return mouseDownView != nullptr || modalHasMouse; }

    // Called by views as they leave the tree, so no stale pointer is kept.
    void onViewRemoved(CView* view);

    // Collects a repaint request in frame coordinates.
    void invalidateFrameRect(const CRect& rect);
    // The union of all requests since the last call (for the platform and for tests).
    CRect takeInvalidRect();

    // Paints `updateRect` of the tree onto `cr`, whose origin is the frame's top-left.
    void paint(cairo_t* cr, const CRect& updateRect);

    void drawBackgroundRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;
    int32_t onKeyUp(VstKeyCode& key) override;

protected:
    ~CFrame() override;

private:
    void markDirtyViews(CView* view);

    VSTGUIEditorInterface* editor;
    std::unique_ptr<IPlatformFrame, PlatformDeleter> platform;
    CView* focusView = nullptr;
    CView* modalView = nullptr;
    bool modalHasMouse = false;
    double scaleFactor = 1.0;
    CPoint lastMousePoint;
    CButtonState lastMouseButtons;
    CRect pendingInvalid;
};

} // namespace viewkit
