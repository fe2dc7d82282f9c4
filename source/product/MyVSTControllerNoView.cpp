// The controller's view where the editor is not built (Windows, until the view
// kit draws there): no view, so hosts show their generic parameter editor.
#include "product/MyVSTController.h"

namespace vexbit {

Steinberg::IPlugView* PLUGIN_API MyVSTController::createView(Steinberg::FIDString /*name*/)
{
    return nullptr;
}

} // namespace vexbit
