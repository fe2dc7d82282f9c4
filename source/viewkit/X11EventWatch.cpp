#include "viewkit/X11EventWatch.h"

#include <X11/Xlib.h>

namespace viewkit {

namespace {
// XEmbed messages (data.l[1] of an _XEMBED client message).
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr long kXEmbedFocusOut = 5;
constexpr unsigned kButtonMasks = Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;
} // namespace

struct X11EventInspector {
    // Called by Xlib for every queued event; must not call Xlib itself. Leaves
    // every event in the queue.
    static Bool inspect(Display*, XEvent* event, XPointer self)
    {
        auto* watch = reinterpret_cast<X11EventWatch*>(self);
        const XEvent& e = *event;
        const Window own = watch->ownWindow;
        switch (e.type) {
        case ButtonPress:
        case ButtonRelease:
            if (e.xbutton.window == own) {
                // The state of a press lacks its own button; of a release, it still has it.
                const bool held = e.type == ButtonPress || (e.xbutton.state & kButtonMasks) != 0;
                watch->items.push_back({false, static_cast<uint32_t>(e.xbutton.time), e.xbutton.x, e.xbutton.y, held});
            }
            break;
        case MotionNotify:
            if (e.xmotion.window == own)
                watch->items.push_back({false, static_cast<uint32_t>(e.xmotion.time), e.xmotion.x, e.xmotion.y,
                                        (e.xmotion.state & kButtonMasks) != 0});
            break;
        case FocusOut:
            // Focus moving inside our window, or a grab of our own ending, loses nothing.
            if (e.xfocus.window == own && e.xfocus.mode != NotifyUngrab && e.xfocus.detail != NotifyInferior &&
                e.xfocus.detail != NotifyPointer && e.xfocus.detail != NotifyPointerRoot &&
                e.xfocus.detail != NotifyDetailNone)
                watch->items.push_back({true, 0, 0, 0, false});
            break;
        case UnmapNotify:
            if (e.xunmap.window == own || e.xunmap.window == watch->parentWindow)
                watch->items.push_back({true, 0, 0, 0, false});
            break;
        case ClientMessage:
            if (e.xclient.window == own && e.xclient.message_type == watch->xembedAtom && e.xclient.format == 32) {
                if (e.xclient.data.l[1] == kXEmbedFocusOut) watch->items.push_back({true, 0, 0, 0, false});
                if (e.xclient.data.l[1] == kXEmbedEmbeddedNotify) watch->mapRequested = true;
            }
            break;
        default: break;
        }
        return False;
    }
};

X11EventWatch::X11EventWatch(Display* d, unsigned long own, unsigned long parent)
    : display(d), ownWindow(own), parentWindow(parent), xembedAtom(XInternAtom(d, "_XEMBED", False))
{
    // The host hiding its window hides ours without telling us; ask to hear of it.
    // Only our own connection's interest in that window changes.
    if (parentWindow) XSelectInput(display, parentWindow, StructureNotifyMask);
}

void X11EventWatch::scan()
{
    // Whatever the last scan noted has been delivered since.
    items.clear();
    if (XEventsQueued(display, QueuedAfterReading) == 0) return;
    XEvent unused;
    XCheckIfEvent(display, &unused, X11EventInspector::inspect, reinterpret_cast<XPointer>(this));
    if (mapRequested) {
        // The embedder announces itself: an XEmbed client shows itself when its info says mapped.
        mapRequested = false;
        XMapWindow(display, ownWindow);
    }
}

X11EventWatch::PointerFacts X11EventWatch::takePointerEvent(uint32_t timeMs, int x, int y)
{
    PointerFacts facts;
    while (!items.empty()) {
        const Item item = items.front();
        items.pop_front();
        if (item.interruption) {
            facts.interruptedBefore = true;
            continue;
        }
        if (item.timeMs == timeMs && item.x == x && item.y == y) {
            facts.stateKnown = true;
            facts.buttonHeld = item.buttonHeld;
            return facts;
        }
        // A pointer event pugl did not pass on (a wheel release): skip it.
    }
    return facts;
}

bool X11EventWatch::takeTrailingInterruption()
{
    bool interrupted = false;
    for (const Item& item : items) interrupted = interrupted || item.interruption;
    items.clear();
    return interrupted;
}

} // namespace viewkit
