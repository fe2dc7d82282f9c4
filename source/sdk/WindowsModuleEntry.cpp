// On Windows the host calls InitDll and ExitDll itself, so the only entry the
// platform adds is the loader's notice: it tells us our module's handle, which
// finds the module's own files and resources.
#include "sdk/ModuleHandle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH) vexbit::setPlatformModuleHandle(instance);
    if (reason == DLL_PROCESS_DETACH) vexbit::setPlatformModuleHandle(nullptr);
    return TRUE;
}
