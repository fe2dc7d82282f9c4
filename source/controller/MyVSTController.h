#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"

namespace vexbit {

// The plug-in's edit controller: publishes "Bypass" and the table's parameters.
class MyVSTController : public Steinberg::Vst::EditController {
public:
    static Steinberg::FUnknown* createInstance(void* context);

    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
};

} // namespace vexbit
