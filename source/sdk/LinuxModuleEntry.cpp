// Entry points a Linux host calls right after dlopen and right before dlclose.
#include "sdk/ModuleExports.h"
#include "sdk/ModuleHandle.h"

namespace {
int gEntryCount = 0;
}

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle)
{
    if (++gEntryCount > 1) return true;
    vexbit::setPlatformModuleHandle(sharedLibraryHandle);
    return InitDll();
}

SMTG_EXPORT_SYMBOL bool ModuleExit()
{
    // An exit without a matching entry must not drive the count negative.
    if (gEntryCount <= 0) return false;
    if (--gEntryCount > 0) return true;
    vexbit::setPlatformModuleHandle(nullptr);
    return ExitDll();
}

} // extern "C"
