// The editor's Linux half: X11 windows, driven by the host's run loop.
#include "editor/VSTGUIEditor.h"

#include "pluginterfaces/gui/iplugview.h"
#include "viewkit/Vst3RunLoop.h"

#include <cstring>

namespace vexbit {

using namespace Steinberg;

namespace {

Linux::IRunLoop* findHostRunLoop(IPlugFrame* plugFrame, Vst::EditController* controller)
{
    if (plugFrame != nullptr) {
        FUnknownPtr<Linux::IRunLoop> loop(plugFrame);
        if (loop) return loop;
    }
    // Some hosts offer the loop on their application context as well.
    if (controller != nullptr && controller->getHostContext() != nullptr) {
        FUnknownPtr<Linux::IRunLoop> loop(controller->getHostContext());
        if (loop) return loop;
    }
    return nullptr;
}

} // namespace

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type)
{
    if (type != nullptr && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0) return kResultTrue;
    return kInvalidArgument;
}

const viewkit::X11FrameConfig* VSTGUIEditor::getFrameConfig()
{
    if (!runLoop) {
        Linux::IRunLoop* host = findHostRunLoop(plugFrame, controller);
        if (host == nullptr) return nullptr;
        runLoop = std::make_unique<viewkit::Vst3RunLoop>(host);
    }
    frameConfig.runLoop = runLoop.get();
    return &frameConfig;
}

} // namespace vexbit
