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
    // Events that are not input are left alone.
    void dispatch(CFrame& frame, const PuglEvent& event);

private:
    int32_t heldButtons = 0;
    int32_t lastPressButton = 0;
    double lastPressTime = -1;
    CPoint lastPressPoint;
};

} // namespace viewkit
