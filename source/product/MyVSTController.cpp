#include "product/MyVSTController.h"

#include "product/ModuleConfig.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

MyVSTController::MyVSTController() : MyVSTControllerBase(parameterTable(), moduleConfig().frameworkVersion) {}

FUnknown* MyVSTController::createInstance(void* /*context*/)
{
    return static_cast<IEditController*>(new MyVSTController());
}

bool MyVSTController::paramValueChanged(ParamID, ParamValue, ParamValue)
{
    return false;
}

bool MyVSTController::approveTextChange(ParamID, const std::string&, const std::string&)
{
    return true;
}

void MyVSTController::componentStateLoaded(IBStream*) {}

void MyVSTController::writeControllerState(IBStream*) {}

void MyVSTController::readControllerState(IBStream*) {}

} // namespace vexbit
