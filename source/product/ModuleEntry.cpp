// The module's start-up and shut-down exports.
#include "product/ModuleConfig.h"
#include "sdk/ModuleExports.h"
#include "viewkit/PlatformWindow.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool InitDll()
{
    vexbit::configureModule();
    return true;
}

SMTG_EXPORT_SYMBOL bool ExitDll()
{
    // The configuration and the table stay until the module is unloaded; what
    // the window system keeps for the module (a window class) goes now, while
    // its code is still there.
    viewkit::releasePlatformResources();
    return true;
}

} // extern "C"
