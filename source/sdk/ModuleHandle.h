#pragma once

namespace vexbit {

// The handle the module was loaded with: its dlopen handle once a Linux host
// has entered it, its HMODULE once Windows has loaded it; null otherwise. Used
// to find the bundle's files.
void* platformModuleHandle();
void setPlatformModuleHandle(void* handle);

} // namespace vexbit
