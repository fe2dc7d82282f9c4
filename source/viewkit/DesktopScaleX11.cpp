#include "viewkit/DesktopScale.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace viewkit {

double desktopScaleFactor()
{
    const char* gdk = std::getenv("GDK_SCALE");
    if (wholeGdkScale(gdk) > 0) return desktopScaleFactor(gdk, nullptr);
    // A short connection of our own: the resources live on the server.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1.0;
    const double scale = desktopScaleFactor(nullptr, XResourceManagerString(display));
    XCloseDisplay(display);
    return scale;
}

} // namespace viewkit
