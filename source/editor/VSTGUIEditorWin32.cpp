// The editor's Windows half: a child window of the host's HWND, whose timers
// run on the UI thread's messages, so nothing is needed from the host.
#include "editor/VSTGUIEditor.h"

#include "pluginterfaces/gui/iplugview.h"

#include <cstring>

namespace vexbit {

using namespace Steinberg;

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type)
{
    if (type != nullptr && std::strcmp(type, kPlatformTypeHWND) == 0) return kResultTrue;
    return kInvalidArgument;
}

const viewkit::X11FrameConfig* VSTGUIEditor::getFrameConfig()
{
    frameConfig.runLoop = nullptr;
    return &frameConfig;
}

} // namespace vexbit
