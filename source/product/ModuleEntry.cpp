// The module's start-up and shut-down exports.
#include "product/ModuleConfig.h"
#include "sdk/ModuleExports.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool InitDll()
{
    vexbit::configureModule();
    return true;
}

SMTG_EXPORT_SYMBOL bool ExitDll()
{
    // The configuration and the table stay until the module is unloaded.
    return true;
}

} // extern "C"
