#pragma once

namespace vexbit {

// The handle the module was loaded with (its dlopen handle on Linux, its
// HMODULE on Windows); null while no host has entered the module. Used to find
// the bundle's files.
void* platformModuleHandle();
void setPlatformModuleHandle(void* handle);

} // namespace vexbit
