#pragma once
#include "viewkit/Frame.h"

namespace viewkit {

class IRunLoop;

// The frame's window on X11: a pugl child view of the host's window, fed by the
// host's run loop (the X connection's descriptor and a 16 ms timer that also
// fires the kit's timers).
namespace X11Frame {
// Returns null when the display cannot be opened or the window not created.
std::unique_ptr<IPlatformFrame, PlatformDeleter> create(CFrame* frame, void* parentWindow, IRunLoop& runLoop);
} // namespace X11Frame

} // namespace viewkit
