#pragma once

#include "controller/MyVSTControllerBase.h"

namespace vexbit {

// The plug-in's edit controller: the base with the module's parameter table
// and format tag, and hooks that leave everything to the base.
class MyVSTController : public MyVSTControllerBase {
public:
    MyVSTController();

    // Creation function for the class factory; the caller owns the one reference.
    static Steinberg::FUnknown* createInstance(void* context);

    // The view "editor" is the plug-in's window; there is no other view.
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

    bool paramValueChanged(ParamID id, ParamValue oldValue, ParamValue newValue) override;
    bool approveTextChange(ParamID id, const std::string& oldText, const std::string& newText) override;
    void componentStateLoaded(IBStream* state) override;
    void writeControllerState(IBStream* state) override;
    void readControllerState(IBStream* state) override;

    OBJ_METHODS(MyVSTController, MyVSTControllerBase)
};

} // namespace vexbit
