#pragma once
#include <X11/Xlib.h>

namespace viewkit {

// The X connections the kit's windows have opened. Xlib's error handlers are
// process-wide and the default ones exit the process: errors on registered
// connections (e.g. a parent the host destroyed first) are ignored, errors on
// any other connection go to whoever was installed before the kit.
namespace X11DisplayRegistry {
// Registers the connection; the first one installs the kit's handlers.
void adopt(Display* display);
void release(Display* display);
} // namespace X11DisplayRegistry

} // namespace viewkit
