#include "support/OwnDisplay.h"

#include "host/VirtualDisplay.h"

#include <string>

namespace vexbit::test {

// Our own server rather than a shared one (xvfb-run): a shared server resets
// whenever its last client leaves and then refuses connections for a moment.
bool haveDisplay()
{
    static host::VirtualDisplay own;
    static const bool started = [] {
        std::string error;
        return own.start(error);
    }();
    return started || host::displayReachable();
}

} // namespace vexbit::test
