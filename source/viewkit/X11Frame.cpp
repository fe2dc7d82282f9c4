#include "X11Frame.h"
#include "RunLoop.h"
#include "Timer.h"

#include <X11/Xlib.h>
#include <cairo.h>
// This copy of pugl's headers declares C functions without a C++ guard.
extern "C" {
#include <pugl/cairo.h>
#include <pugl/pugl.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace viewkit {

namespace {

// Xlib's error handler is process-wide and the default one exits. Errors on our
// own connections (e.g. a parent the host destroyed first) are ignored; others
// go to whoever was installed before us.
std::vector<Display*>& ownDisplays() {
    static std::vector<Display*> displays;
    return displays;
}
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIOErrorHandler = nullptr;
bool errorHandlersInstalled = false;

bool isOwnDisplay(Display* display) {
    const auto& own = ownDisplays();
    return std::find(own.begin(), own.end(), display) != own.end();
}

int onXError(Display* display, XErrorEvent* event) {
    if (isOwnDisplay(display)) return 0;
    return previousErrorHandler ? previousErrorHandler(display, event) : 0;
}

// Xlib's default handler for a broken connection exits the process. For our
// connections we return, so that Xlib goes on to the per-display exit handler
// (onConnectionLost) and then leaves the dead connection alone.
int onXIOError(Display* display) {
    if (isOwnDisplay(display)) return 0;
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

void adoptDisplay(Display* display) {
    if (!errorHandlersInstalled) {
        previousErrorHandler = XSetErrorHandler(onXError);
        previousIOErrorHandler = XSetIOErrorHandler(onXIOError);
        errorHandlersInstalled = true;
    }
    ownDisplays().push_back(display);
}

void releaseDisplay(Display* display) {
    auto& own = ownDisplays();
    own.erase(std::remove(own.begin(), own.end(), display), own.end());
}

constexpr uint32_t kPumpIntervalMs = 16;
constexpr double kDoubleClickSeconds = 0.25;
constexpr double kDoubleClickDistance = 5;

class X11PlatformFrame final : public IPlatformFrame {
public:
    X11PlatformFrame(CFrame* f, IRunLoop& loop) : frame(f), runLoop(loop) {}

    bool open(void* parentWindow) {
        world = puglNewWorld(PUGL_MODULE, 0);
        if (!world) return false;
        display = static_cast<Display*>(puglGetNativeWorld(world));
        adoptDisplay(display);
        // A lost connection must not end the host process: note it and go quiet.
        XSetIOErrorExitHandler(display, onConnectionLost, this);

        view = puglNewView(world);
        if (!view) return false;
        const CRect r = frame->getViewSize();
        puglSetHandle(view, this);
        puglSetBackend(view, puglCairoBackend());
        puglSetEventFunc(view, onPuglEvent);
        puglSetViewHint(view, PUGL_RESIZABLE, PUGL_FALSE);
        puglSetSizeHint(view, PUGL_DEFAULT_SIZE, span(r.getWidth()), span(r.getHeight()));
        puglSetParentWindow(view, reinterpret_cast<PuglNativeView>(parentWindow));
        if (puglRealize(view) != PUGL_SUCCESS) return false;
        if (puglShow(view) != PUGL_SUCCESS) return false;
        XFlush(display);

        fdWatch = runLoop.watchFileDescriptor(ConnectionNumber(display), [this] { pump(); });
        pumpTimer = runLoop.startTimer(kPumpIntervalMs, [this] {
            pump();
            CVSTGUITimer::runDueTimers();
        });
        return fdWatch != 0 && pumpTimer != 0;
    }

    ~X11PlatformFrame() override {
        if (fdWatch) runLoop.cancel(fdWatch);
        if (pumpTimer) runLoop.cancel(pumpTimer);
        if (view) puglFreeView(view);
        if (world) puglFreeWorld(world);
        if (display) releaseDisplay(display);
    }

    void invalidRect(const CRect& rect) override {
        if (!view || connectionLost) return;
        const double left = std::floor(rect.left), top = std::floor(rect.top);
        puglPostRedisplayRect(view, PuglRect{static_cast<PuglCoord>(left), static_cast<PuglCoord>(top),
                                             span(std::ceil(rect.right) - left), span(std::ceil(rect.bottom) - top)});
    }

    bool setSize(const CRect& rect) override {
        if (!view || connectionLost) return false;
        return puglSetSize(view, static_cast<unsigned>(span(rect.getWidth())),
                           static_cast<unsigned>(span(rect.getHeight()))) == PUGL_SUCCESS;
    }

    void detach() override {
        frame = nullptr;
        // Stop the host from calling us at once; the window goes with the object.
        if (fdWatch) runLoop.cancel(fdWatch);
        if (pumpTimer) runLoop.cancel(pumpTimer);
        fdWatch = pumpTimer = 0;
        if (dispatching) deleteAfterDispatch = true;
        else delete this;
    }

    bool isConnectionLost() const { return connectionLost; }

private:
    static PuglSpan span(double v) { return static_cast<PuglSpan>(std::clamp(v, 1.0, 32767.0)); }

    static void onConnectionLost(Display*, void* self) {
        auto* me = static_cast<X11PlatformFrame*>(self);
        me->connectionLost = true;
    }

    // Drains the X queue without blocking; pugl paints pending exposures at the end.
    void pump() {
        if (connectionLost || !world || dispatching) return;
        dispatching = true;
        puglUpdate(world, 0);
        dispatching = false;
        if (connectionLost && !deleteAfterDispatch) {
            // Nothing more will come from the server; stop being called.
            if (fdWatch) runLoop.cancel(fdWatch);
            fdWatch = 0;
        }
        if (deleteAfterDispatch) delete this;
    }

    static PuglStatus onPuglEvent(PuglView* v, const PuglEvent* event) {
        auto* me = static_cast<X11PlatformFrame*>(puglGetHandle(v));
        if (!me || !me->frame || me->deleteAfterDispatch) return PUGL_SUCCESS;
        ScopedRef<CFrame> keep(me->frame);
        me->handle(*event);
        return PUGL_SUCCESS;
    }

    int32_t modifiers(PuglMods mods) const {
        int32_t m = 0;
        if (mods & PUGL_MOD_SHIFT) m |= kShift;
        if (mods & PUGL_MOD_CTRL) m |= kControl;
        if (mods & PUGL_MOD_ALT) m |= kAlt;
        return m;
    }

    static int32_t buttonBit(uint32_t button) {
        switch (button) {
        case 0: return kLButton;
        case 1: return kRButton;
        case 2: return kMButton;
        case 3: return kButton4;
        case 4: return kButton5;
        default: return 0;
        }
    }

    void handle(const PuglEvent& event) {
        switch (event.type) {
        case PUGL_EXPOSE: {
            auto* cr = static_cast<cairo_t*>(puglGetContext(view));
            const auto& e = event.expose;
            frame->paint(cr, CRect(e.x, e.y, e.x + e.width, e.y + e.height));
            break;
        }
        case PUGL_BUTTON_PRESS: {
            const auto& e = event.button;
            const int32_t bit = buttonBit(e.button);
            heldButtons |= bit;
            XSetInputFocus(display, static_cast<Window>(puglGetNativeView(view)), RevertToParent, CurrentTime);
            int32_t state = heldButtons | modifiers(e.state);
            if (bit == lastPressButton && e.time - lastPressTime < kDoubleClickSeconds &&
                std::fabs(e.x - lastPressPoint.x) <= kDoubleClickDistance &&
                std::fabs(e.y - lastPressPoint.y) <= kDoubleClickDistance)
                state |= kDoubleClick;
            lastPressButton = bit;
            lastPressTime = e.time;
            lastPressPoint = CPoint(e.x, e.y);
            CPoint p(e.x, e.y);
            frame->onMouseDown(p, CButtonState(state));
            break;
        }
        case PUGL_BUTTON_RELEASE: {
            const auto& e = event.button;
            const int32_t state = heldButtons | modifiers(e.state);
            heldButtons &= ~buttonBit(e.button);
            CPoint p(e.x, e.y);
            frame->onMouseUp(p, CButtonState(state));
            break;
        }
        case PUGL_MOTION: {
            CPoint p(event.motion.x, event.motion.y);
            frame->onMouseMoved(p, CButtonState(heldButtons | modifiers(event.motion.state)));
            break;
        }
        case PUGL_SCROLL: {
            const auto& e = event.scroll;
            if (e.direction == PUGL_SCROLL_UP || e.direction == PUGL_SCROLL_DOWN) {
                frame->onWheel(CPoint(e.x, e.y), e.direction == PUGL_SCROLL_UP ? 1.f : -1.f,
                               CButtonState(heldButtons | modifiers(e.state)));
            }
            break;
        }
        case PUGL_KEY_PRESS:
        case PUGL_KEY_RELEASE: {
            VstKeyCode key = translateKey(event.key);
            if (key.virt == VKEY_NONE) break; // characters arrive as PUGL_TEXT
            if (event.type == PUGL_KEY_PRESS) frame->onKeyDown(key);
            else frame->onKeyUp(key);
            break;
        }
        case PUGL_TEXT: {
            const auto& e = event.text;
            if (e.character < 0x20 || e.character == 0x7F) break;
            VstKeyCode key;
            key.character = static_cast<int32_t>(e.character);
            key.modifier = keyModifiers(e.state);
            frame->onKeyDown(key);
            break;
        }
        case PUGL_FOCUS_OUT:
            // The pointer grab went elsewhere: end any drag cleanly.
            if (heldButtons) {
                heldButtons = 0;
                frame->onMouseCancel();
            }
            break;
        default: break;
        }
    }

    static uint8_t keyModifiers(PuglMods mods) {
        uint8_t m = 0;
        if (mods & PUGL_MOD_SHIFT) m |= MODIFIER_SHIFT;
        if (mods & PUGL_MOD_ALT) m |= MODIFIER_ALTERNATE;
        if (mods & PUGL_MOD_CTRL) m |= MODIFIER_CONTROL;
        return m;
    }

    static VstKeyCode translateKey(const PuglKeyEvent& e) {
        VstKeyCode key;
        key.modifier = keyModifiers(e.state);
        switch (e.key) {
        case '\r':
        case '\n': key.virt = VKEY_RETURN; break;
        case PUGL_KEY_ESCAPE: key.virt = VKEY_ESCAPE; break;
        case PUGL_KEY_BACKSPACE: key.virt = VKEY_BACK; break;
        case PUGL_KEY_DELETE: key.virt = VKEY_DELETE; break;
        case '\t': key.virt = VKEY_TAB; break;
        case PUGL_KEY_LEFT: key.virt = VKEY_LEFT; break;
        case PUGL_KEY_RIGHT: key.virt = VKEY_RIGHT; break;
        case PUGL_KEY_UP: key.virt = VKEY_UP; break;
        case PUGL_KEY_DOWN: key.virt = VKEY_DOWN; break;
        case PUGL_KEY_HOME: key.virt = VKEY_HOME; break;
        case PUGL_KEY_END: key.virt = VKEY_END; break;
        default: break;
        }
        return key;
    }

    CFrame* frame;
    IRunLoop& runLoop;
    PuglWorld* world = nullptr;
    PuglView* view = nullptr;
    Display* display = nullptr;
    IRunLoop::Handle fdWatch = 0;
    IRunLoop::Handle pumpTimer = 0;
    bool dispatching = false;
    bool deleteAfterDispatch = false;
    bool connectionLost = false;
    int32_t heldButtons = 0;
    int32_t lastPressButton = 0;
    double lastPressTime = -1;
    CPoint lastPressPoint;
};

} // namespace

std::unique_ptr<IPlatformFrame, PlatformDeleter> X11Frame::create(CFrame* frame, void* parentWindow,
                                                                  IRunLoop& runLoop) {
    auto* platform = new X11PlatformFrame(frame, runLoop);
    std::unique_ptr<IPlatformFrame, PlatformDeleter> owner(platform);
    if (!platform->open(parentWindow)) return nullptr;
    return owner;
}

} // namespace viewkit
