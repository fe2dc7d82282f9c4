#include "controller/MyVSTController.h"

#include "module/ModuleConfig.h"
#include "params/MyParameter.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
constexpr ParamID kBypassId = 0x7FFFFFFF;
}

FUnknown* MyVSTController::createInstance(void* /*context*/)
{
    return static_cast<IEditController*>(new MyVSTController());
}

tresult PLUGIN_API MyVSTController::initialize(FUnknown* context)
{
    const tresult result = EditController::initialize(context);
    if (result != kResultOk)
        return result;

    auto* bypass = new StringListParameter(u"Bypass", kBypassId, nullptr,
                                           ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
    bypass->appendString(u"Off");
    bypass->appendString(u"On");
    parameters.addParameter(bypass);

    for (const auto& [id, record] : parameterTable()) {
        auto* parameter = new MyParameter();
        parameter->getInfo().id = id;
        parameter->getInfo().unitId = kRootUnitId;
        parameter->setRecord(record);
        parameters.addParameter(parameter);
    }
    return kResultOk;
}

} // namespace vexbit
