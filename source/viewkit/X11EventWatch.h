#pragma once
#include <cstdint>
#include <deque>

typedef struct _XDisplay Display;

namespace viewkit {

// Looks at the X events queued for our window before pugl takes them, for
// what pugl does not pass on: the keyboard focus leaving (X or XEmbed), the
// host unmapping the window we live in, and the real button state of every
// pointer event. The findings are handed out in queue order, so that a loss
// of focus between a press and the next motion is seen between the two.
class X11EventWatch {
public:
    X11EventWatch(Display* display, unsigned long ownWindow, unsigned long parentWindow);

    // Reads the connection without blocking and notes what the queue holds.
    void scan();

    struct PointerFacts {
        bool interruptedBefore = false; // focus or window lost before this event
        bool stateKnown = false;
        bool buttonHeld = false; // a mouse button was down when this event happened
    };
    // For a pointer event pugl is delivering (press, release, motion or scroll, by its X time and position).
    PointerFacts takePointerEvent(uint32_t timeMs, int x, int y);
    // After the queue is drained: whether an interruption came after the last pointer event.
    bool takeTrailingInterruption();

private:
    struct Item {
        bool interruption;
        uint32_t timeMs;
        int x, y;
        bool buttonHeld;
    };
    friend struct X11EventInspector;

    Display* display;
    unsigned long ownWindow;
    unsigned long parentWindow;
    unsigned long xembedAtom;
    std::deque<Item> items;
    bool mapRequested = false;
};

} // namespace viewkit
