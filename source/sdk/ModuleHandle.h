#pragma once

namespace vexbit {

// The handle the host loaded the module with (its dlopen handle on Linux);
// null while no host has entered the module. Used to find the bundle's files.
void* platformModuleHandle();
void setPlatformModuleHandle(void* handle);

} // namespace vexbit
