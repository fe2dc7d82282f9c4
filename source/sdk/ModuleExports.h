#pragma once

#include "pluginterfaces/base/fplatform.h"

// The module's start-up and shut-down, provided by the plug-in and called by
// the platform entry points (or directly by a host that knows them).
extern "C" {
SMTG_EXPORT_SYMBOL bool InitDll();
SMTG_EXPORT_SYMBOL bool ExitDll();
}
