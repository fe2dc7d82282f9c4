#include "viewkit/X11Frame.h"
#include "viewkit/FrameImage.h"
#include "viewkit/PlatformWindow.h"
#include "viewkit/PuglInputTranslator.h"
#include "viewkit/RunLoop.h"
#include "viewkit/Timer.h"
#include "viewkit/X11DisplayRegistry.h"
#include "viewkit/X11EventWatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
extern "C" {
#include <pugl/stub.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <poll.h>

namespace viewkit {

namespace {

constexpr uint32_t kPumpIntervalMs = 16;

class X11PlatformFrame final : public IPlatformFrame {
public:
    X11PlatformFrame(CFrame* f, IRunLoop& loop) : frame(f), runLoop(loop) {}

    bool open(void* parentWindow)
    {
        world = puglNewWorld(PUGL_MODULE, 0);
        if (!world) return false;
        display = static_cast<Display*>(puglGetNativeWorld(world));
        X11DisplayRegistry::adopt(display);
        // A lost connection must not end the host process: note it and go quiet.
        XSetIOErrorExitHandler(display, onConnectionLost, this);

        view = puglNewView(world);
        if (!view) return false;
        const CRect r = frame->getViewSize();
        puglSetHandle(view, this);
        puglSetBackend(view, puglStubBackend());
        puglSetEventFunc(view, onPuglEvent);
        puglSetViewHint(view, PUGL_RESIZABLE, PUGL_FALSE);
        const double scale = frame->getScaleFactor();
        puglSetSizeHint(view, PUGL_DEFAULT_SIZE, span(r.getWidth() * scale), span(r.getHeight() * scale));
        puglSetParentWindow(view, reinterpret_cast<PuglNativeView>(parentWindow));
        if (puglRealize(view) != PUGL_SUCCESS) return false;
        const auto window = static_cast<Window>(puglGetNativeView(view));
        declareXEmbedClient(window);
        watch = std::make_unique<X11EventWatch>(display, window,
                                                static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow)));
        if (puglShow(view) != PUGL_SUCCESS) return false;
        XFlush(display);

        fdWatch = runLoop.watchFileDescriptor(ConnectionNumber(display), [this] { pump(); });
        pumpTimer = runLoop.startTimer(kPumpIntervalMs, [this] {
            pump();
            CVSTGUITimer::runDueTimers();
        });
        return fdWatch != 0 && pumpTimer != 0;
    }

    ~X11PlatformFrame() override
    {
        if (fdWatch) runLoop.cancel(fdWatch);
        if (pumpTimer) runLoop.cancel(pumpTimer);
        if (gc) XFreeGC(display, gc);
        if (view) puglFreeView(view);
        if (world) puglFreeWorld(world);
        if (display) X11DisplayRegistry::release(display);
    }

    void invalidRect(const CRect& rect) override
    {
        if (!view || connectionLost) return;
        const double scale = frame ? frame->getScaleFactor() : 1.0;
        const double left = std::floor(rect.left * scale), top = std::floor(rect.top * scale);
        puglPostRedisplayRect(view, PuglRect{static_cast<PuglCoord>(left), static_cast<PuglCoord>(top),
                                             span(std::ceil(rect.right * scale) - left),
                                             span(std::ceil(rect.bottom * scale) - top)});
    }

    bool setSize(const CRect& rect) override
    {
        if (!view || connectionLost) return false;
        const double scale = frame ? frame->getScaleFactor() : 1.0;
        return puglSetSize(view, static_cast<unsigned>(span(std::ceil(rect.getWidth() * scale))),
                           static_cast<unsigned>(span(std::ceil(rect.getHeight() * scale)))) == PUGL_SUCCESS;
    }

    void detach() override
    {
        frame = nullptr;
        // Stop the host from calling us at once; the window goes with the object.
        if (fdWatch) runLoop.cancel(fdWatch);
        if (pumpTimer) runLoop.cancel(pumpTimer);
        fdWatch = pumpTimer = 0;
        if (dispatching)
            deleteAfterDispatch = true;
        else
            delete this;
    }

    bool isConnectionLost() const { return connectionLost; }

private:
    // Hosts that embed by XEmbed (the SDK's editorhost among them) want the
    // client's protocol version and its wish to be mapped on the window.
    void declareXEmbedClient(Window window)
    {
        const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
        const long versionAndFlags[2] = {0, 1}; // version 0, XEMBED_MAPPED
        XChangeProperty(display, window, info, info, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(versionAndFlags), 2);
    }

    static PuglSpan span(double v) { return static_cast<PuglSpan>(std::clamp(v, 1.0, 32767.0)); }

    static void onConnectionLost(Display*, void* self)
    {
        auto* me = static_cast<X11PlatformFrame*>(self);
        me->connectionLost = true;
    }

    // Drains the X queue without blocking; pugl paints pending exposures at the end.
    void pump()
    {
        if (connectionLost || !world || dispatching) return;
        // Notice a closed connection before Xlib does: once Xlib has hit the
        // error, pugl would still paint into the dead connection in the same update.
        pollfd socket{ConnectionNumber(display), POLLIN | POLLRDHUP, 0};
        if (::poll(&socket, 1, 0) > 0 && (socket.revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)))
            connectionLost = true;
        if (connectionLost) {
            if (fdWatch) runLoop.cancel(fdWatch);
            fdWatch = 0;
            return;
        }
        dispatching = true;
        watch->scan();
        puglUpdate(world, 0);
        if (watch->takeTrailingInterruption() && !deleteAfterDispatch && frame) interruptGestures();
        dispatching = false;
        if (connectionLost && !deleteAfterDispatch) {
            // Nothing more will come from the server; stop being called.
            if (fdWatch) runLoop.cancel(fdWatch);
            fdWatch = 0;
        }
        if (deleteAfterDispatch) delete this;
    }

    static PuglStatus onPuglEvent(PuglView* v, const PuglEvent* event)
    {
        auto* me = static_cast<X11PlatformFrame*>(puglGetHandle(v));
        if (!me || !me->frame || me->deleteAfterDispatch) return PUGL_SUCCESS;
        ScopedRef<CFrame> keep(me->frame);
        me->handle(*event);
        return PUGL_SUCCESS;
    }

    void handle(const PuglEvent& event)
    {
        if (event.type == PUGL_EXPOSE) {
            const auto& e = event.expose;
            paint(e.x, e.y, e.x + e.width, e.y + e.height);
            return;
        }
        switch (event.type) {
        case PUGL_BUTTON_PRESS:
        case PUGL_BUTTON_RELEASE: checkPointerEvent(event.button.time, event.button.x, event.button.y, false); break;
        case PUGL_MOTION: checkPointerEvent(event.motion.time, event.motion.x, event.motion.y, true); break;
        case PUGL_SCROLL: checkPointerEvent(event.scroll.time, event.scroll.x, event.scroll.y, false); break;
        case PUGL_UNMAP: interruptGestures(); return;
        case PUGL_POINTER_IN:
        case PUGL_POINTER_OUT:
            // Someone else grabbed the pointer, or our grab ended without a release reaching us.
            if (event.crossing.mode != PUGL_CROSSING_NORMAL && input.holdsButtons()) interruptGestures();
            return;
        default: break;
        }
        if (!frame) return;
        // A click gives the window the keyboard focus.
        if (event.type == PUGL_BUTTON_PRESS)
            XSetInputFocus(display, static_cast<Window>(puglGetNativeView(view)), RevertToParent, CurrentTime);
        input.dispatch(*frame, event, frame->getScaleFactor());
    }

    void checkPointerEvent(double time, double x, double y, bool motion)
    {
        const auto facts = watch->takePointerEvent(static_cast<uint32_t>(std::llround(time * 1000.0)),
                                                   static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
        if (facts.interruptedBefore) interruptGestures();
        // A motion with no button down while we think one is: its release went elsewhere.
        if (motion && facts.stateKnown && !facts.buttonHeld && input.holdsButtons()) interruptGestures();
    }

    void interruptGestures()
    {
        input.forgetHeldButtons();
        if (!frame) return;
        ScopedRef<CFrame> keep(frame);
        frame->interruptGestures();
    }

    // Views draw into a memory image, whose exposed part is put into the
    // window with XPutImage. Nothing goes through cairo's X backend, whose
    // per-connection caches outlive a closed connection.
    void paint(int pixelLeft, int pixelTop, int pixelRight, int pixelBottom)
    {
        FrameImage::Area area;
        if (image.paint(*frame, pixelLeft, pixelTop, pixelRight, pixelBottom, area))
            putImage(area.x, area.y, area.width, area.height);
    }

    void putImage(int x, int y, int w, int h)
    {
        const auto window = static_cast<Window>(puglGetNativeView(view));
        if (!gc) {
            XWindowAttributes attrs;
            if (!XGetWindowAttributes(display, window, &attrs)) return;
            visual = attrs.visual;
            depth = attrs.depth;
            gc = XCreateGC(display, window, 0, nullptr);
        }
        unsigned char* data = image.data();
        const int stride = image.stride();
        const uint32_t one = 1;
        const bool littleEndianHost = *reinterpret_cast<const unsigned char*>(&one) == 1;
        const bool sameLayout = depth >= 24 && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                                visual->blue_mask == 0xFF && littleEndianHost && ImageByteOrder(display) == LSBFirst;
        if (sameLayout) {
            XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                         reinterpret_cast<char*>(data + y * stride + x * 4), static_cast<unsigned>(w),
                                         static_cast<unsigned>(h), 32, stride);
            if (!image) return;
            XPutImage(display, window, gc, image, 0, 0, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
            image->data = nullptr; // the buffer stays ours
            XDestroyImage(image);
            return;
        }
        // Any other visual: convert pixel by pixel through the visual's masks.
        XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                     static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
        if (!image) return;
        image->data =
            static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(h)));
        if (!image->data) {
            XDestroyImage(image);
            return;
        }
        auto channel = [](uint32_t value8, unsigned long mask) -> unsigned long {
            if (!mask) return 0;
            int shift = 0;
            while (!((mask >> shift) & 1)) ++shift;
            const unsigned long max = mask >> shift;
            return ((value8 * max + 127) / 255) << shift;
        };
        for (int row = 0; row < h; ++row) {
            const auto* src = reinterpret_cast<const uint32_t*>(data + (y + row) * stride) + x;
            for (int col = 0; col < w; ++col) {
                const uint32_t p = src[col];
                XPutPixel(image, col, row,
                          channel((p >> 16) & 0xFF, visual->red_mask) | channel((p >> 8) & 0xFF, visual->green_mask) |
                              channel(p & 0xFF, visual->blue_mask));
            }
        }
        XPutImage(display, window, gc, image, 0, 0, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XDestroyImage(image);
    }

    CFrame* frame;
    IRunLoop& runLoop;
    FrameImage image;
    GC gc = nullptr;
    Visual* visual = nullptr;
    int depth = 0;
    PuglWorld* world = nullptr;
    PuglView* view = nullptr;
    Display* display = nullptr;
    IRunLoop::Handle fdWatch = 0;
    IRunLoop::Handle pumpTimer = 0;
    bool dispatching = false;
    bool deleteAfterDispatch = false;
    bool connectionLost = false;
    PuglInputTranslator input;
    std::unique_ptr<X11EventWatch> watch;
};

} // namespace

std::unique_ptr<IPlatformFrame, PlatformDeleter> X11Frame::create(CFrame* frame, void* parentWindow, IRunLoop& runLoop)
{
    auto* platform = new X11PlatformFrame(frame, runLoop);
    std::unique_ptr<IPlatformFrame, PlatformDeleter> owner(platform);
    if (!platform->open(parentWindow)) return nullptr;
    return owner;
}

std::unique_ptr<IPlatformFrame, PlatformDeleter> createPlatformFrame(CFrame* frame, void* parent,
                                                                     const X11FrameConfig* config)
{
    if (!config || !config->runLoop) return nullptr;
    return X11Frame::create(frame, parent, *config->runLoop);
}

void releasePlatformResources() {}

// fontconfig substitutes families itself (Liberation Sans for Arial).
const char* platformFontFamily(const char* family)
{
    return family;
}

} // namespace viewkit
