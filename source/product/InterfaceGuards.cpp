#include "product/InterfaceGuards.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Runs the call; any exception becomes `fallback`.
#define VEXBIT_GUARDED(fallback, call) \
    try {                              \
        return call;                   \
    } catch (...) {                    \
        return fallback;               \
    }

FUnknown* GuardedProcessor::createInstance(void* /*context*/)
{
    try {
        return static_cast<IAudioProcessor*>(new GuardedProcessor());
    } catch (...) {
        return nullptr;
    }
}

tresult PLUGIN_API GuardedProcessor::initialize(FUnknown* context)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::initialize(context))
}
tresult PLUGIN_API GuardedProcessor::terminate()
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::terminate())
}
tresult PLUGIN_API GuardedProcessor::connect(IConnectionPoint* other)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::connect(other))
}
tresult PLUGIN_API GuardedProcessor::disconnect(IConnectionPoint* other)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::disconnect(other))
}
tresult PLUGIN_API GuardedProcessor::notify(IMessage* message)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::notify(message))
}
tresult PLUGIN_API GuardedProcessor::getControllerClassId(TUID classId)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::getControllerClassId(classId))
}
tresult PLUGIN_API GuardedProcessor::setIoMode(IoMode mode)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setIoMode(mode))
}
int32 PLUGIN_API GuardedProcessor::getBusCount(MediaType type, BusDirection dir)
{
    VEXBIT_GUARDED(0, MyVSTProcessor::getBusCount(type, dir))
}
tresult PLUGIN_API GuardedProcessor::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::getBusInfo(type, dir, index, bus))
}
tresult PLUGIN_API GuardedProcessor::getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::getRoutingInfo(inInfo, outInfo))
}
tresult PLUGIN_API GuardedProcessor::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::activateBus(type, dir, index, state))
}
tresult PLUGIN_API GuardedProcessor::setActive(TBool state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setActive(state))
}
tresult PLUGIN_API GuardedProcessor::setState(IBStream* state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setState(state))
}
tresult PLUGIN_API GuardedProcessor::getState(IBStream* state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::getState(state))
}
tresult PLUGIN_API GuardedProcessor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                        SpeakerArrangement* outputs, int32 numOuts)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setBusArrangements(inputs, numIns, outputs, numOuts))
}
tresult PLUGIN_API GuardedProcessor::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::getBusArrangement(dir, index, arr))
}
tresult PLUGIN_API GuardedProcessor::canProcessSampleSize(int32 symbolicSampleSize)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::canProcessSampleSize(symbolicSampleSize))
}
uint32 PLUGIN_API GuardedProcessor::getLatencySamples()
{
    VEXBIT_GUARDED(0u, MyVSTProcessor::getLatencySamples())
}
tresult PLUGIN_API GuardedProcessor::setupProcessing(ProcessSetup& setup)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setupProcessing(setup))
}
tresult PLUGIN_API GuardedProcessor::setProcessing(TBool state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::setProcessing(state))
}
tresult PLUGIN_API GuardedProcessor::process(ProcessData& data)
{
    VEXBIT_GUARDED(kInternalError, MyVSTProcessor::process(data))
}
uint32 PLUGIN_API GuardedProcessor::getTailSamples()
{
    VEXBIT_GUARDED(0u, MyVSTProcessor::getTailSamples())
}

FUnknown* GuardedController::createInstance(void* /*context*/)
{
    try {
        return static_cast<IEditController*>(new GuardedController());
    } catch (...) {
        return nullptr;
    }
}

tresult PLUGIN_API GuardedController::initialize(FUnknown* context)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::initialize(context))
}
tresult PLUGIN_API GuardedController::terminate()
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::terminate())
}
tresult PLUGIN_API GuardedController::connect(IConnectionPoint* other)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::connect(other))
}
tresult PLUGIN_API GuardedController::disconnect(IConnectionPoint* other)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::disconnect(other))
}
tresult PLUGIN_API GuardedController::notify(IMessage* message)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::notify(message))
}
tresult PLUGIN_API GuardedController::setComponentState(IBStream* state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::setComponentState(state))
}
tresult PLUGIN_API GuardedController::setState(IBStream* state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::setState(state))
}
tresult PLUGIN_API GuardedController::getState(IBStream* state)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::getState(state))
}
int32 PLUGIN_API GuardedController::getParameterCount()
{
    VEXBIT_GUARDED(0, MyVSTController::getParameterCount())
}
tresult PLUGIN_API GuardedController::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::getParameterInfo(paramIndex, info))
}
tresult PLUGIN_API GuardedController::getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::getParamStringByValue(tag, valueNormalized, string))
}
tresult PLUGIN_API GuardedController::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::getParamValueByString(tag, string, valueNormalized))
}
ParamValue PLUGIN_API GuardedController::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized)
{
    VEXBIT_GUARDED(0.0, MyVSTController::normalizedParamToPlain(tag, valueNormalized))
}
ParamValue PLUGIN_API GuardedController::plainParamToNormalized(ParamID tag, ParamValue plainValue)
{
    VEXBIT_GUARDED(0.0, MyVSTController::plainParamToNormalized(tag, plainValue))
}
ParamValue PLUGIN_API GuardedController::getParamNormalized(ParamID tag)
{
    VEXBIT_GUARDED(0.0, MyVSTController::getParamNormalized(tag))
}
tresult PLUGIN_API GuardedController::setParamNormalized(ParamID tag, ParamValue value)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::setParamNormalized(tag, value))
}
tresult PLUGIN_API GuardedController::setComponentHandler(IComponentHandler* handler)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::setComponentHandler(handler))
}
IPlugView* PLUGIN_API GuardedController::createView(FIDString name)
{
    VEXBIT_GUARDED(nullptr, MyVSTController::createView(name))
}
tresult PLUGIN_API GuardedController::setKnobMode(KnobMode mode)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::setKnobMode(mode))
}
tresult PLUGIN_API GuardedController::openHelp(TBool onlyCheck)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::openHelp(onlyCheck))
}
tresult PLUGIN_API GuardedController::openAboutBox(TBool onlyCheck)
{
    VEXBIT_GUARDED(kInternalError, MyVSTController::openAboutBox(onlyCheck))
}
tresult PLUGIN_API GuardedController::getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                                  CtrlNumber midiControllerNumber, ParamID& id)
{
    VEXBIT_GUARDED(kInternalError,
                   MyVSTController::getMidiControllerAssignment(busIndex, channel, midiControllerNumber, id))
}

#undef VEXBIT_GUARDED

} // namespace vexbit
