// The controller's view where the editor is built: the plug-in's window.
#include "product/MyVSTController.h"

#include "editor/MyVSTGUIEditor.h"

#include <cstring>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugView* PLUGIN_API MyVSTController::createView(FIDString name)
{
    if (name == nullptr || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
    auto* view = new MyVSTGUIEditor(this);
    setEditor(view);
    return view;
}

} // namespace vexbit
