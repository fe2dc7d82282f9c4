// The run-loop interfaces exist only in the SDK's Linux headers; a Linux
// editor needs their IDs (see sdk_common_iids.cpp for why we define them).
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {
DEF_CLASS_IID(Linux::IEventHandler)
DEF_CLASS_IID(Linux::ITimerHandler)
DEF_CLASS_IID(Linux::IRunLoop)
} // namespace Steinberg
