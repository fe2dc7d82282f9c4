#pragma once
#include "viewkit/Frame.h"

// This copy of pugl's headers declares C functions without a C++ guard.
extern "C" {
#include <pugl/pugl.h>
}

namespace viewkit {

// Turns pugl's mouse, wheel and key events into the frame's calls. Keeps the
// held buttons and the last press between events, to tell double clicks.
class PuglInputTranslator {
public:
    // Events that are not input are left alone. Pointer positions are window
    // pixels; `scale` (pixels per frame unit) maps them to frame coordinates.
    void dispatch(CFrame& frame, const PuglEvent& event, double scale = 1.0);
    bool holdsButtons() const { return heldButtons != 0; }
    // The releases of the held buttons will not come (the gesture was interrupted).
    void forgetHeldButtons() { heldButtons = 0; }

private:
    int32_t heldButtons = 0;
    int32_t lastPressButton = 0;
    double lastPressTime = -1;
    CPoint lastPressPoint;
};

} // namespace viewkit
