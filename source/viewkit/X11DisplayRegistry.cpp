#include "viewkit/X11DisplayRegistry.h"

#include <algorithm>
#include <vector>

namespace viewkit {

namespace {

std::vector<Display*>& ownDisplays()
{
    static std::vector<Display*> displays;
    return displays;
}
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIOErrorHandler = nullptr;
bool errorHandlersInstalled = false;

bool isOwnDisplay(Display* display)
{
    const auto& own = ownDisplays();
    return std::find(own.begin(), own.end(), display) != own.end();
}

int onXError(Display* display, XErrorEvent* event)
{
    if (isOwnDisplay(display)) return 0;
    return previousErrorHandler ? previousErrorHandler(display, event) : 0;
}

// Xlib's default handler for a broken connection exits the process. For our
// connections we return, so that Xlib goes on to the per-display exit handler
// the window set and then leaves the dead connection alone.
int onXIOError(Display* display)
{
    if (isOwnDisplay(display)) return 0;
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

} // namespace

void X11DisplayRegistry::adopt(Display* display)
{
    if (!errorHandlersInstalled) {
        previousErrorHandler = XSetErrorHandler(onXError);
        previousIOErrorHandler = XSetIOErrorHandler(onXIOError);
        errorHandlersInstalled = true;
    }
    ownDisplays().push_back(display);
}

void X11DisplayRegistry::release(Display* display)
{
    auto& own = ownDisplays();
    own.erase(std::remove(own.begin(), own.end(), display), own.end());
}

} // namespace viewkit
