#include "sdk/ModuleHandle.h"

namespace vexbit {

namespace {
void* gModuleHandle = nullptr;
}

void* platformModuleHandle()
{
    return gModuleHandle;
}

void setPlatformModuleHandle(void* handle)
{
    gModuleHandle = handle;
}

} // namespace vexbit
