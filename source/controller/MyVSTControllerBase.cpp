#include "controller/MyVSTControllerBase.h"

#include "params/MyParameter.h"
#include "sdk/TextMessage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

MyVSTControllerBase::MyVSTControllerBase(const ParameterTable& table, std::string formatTag)
    : table(table), formatTag(std::move(formatTag))
{}

tresult PLUGIN_API MyVSTControllerBase::queryInterface(const TUID iid, void** obj)
{
    // IEditController and ComponentBase both lead to IPluginBase; hosts get
    // the component base's one, as from the SDK's own controller.
    QUERY_INTERFACE(iid, obj, IMidiMapping::iid, IMidiMapping)
    QUERY_INTERFACE(iid, obj, IEditController::iid, IEditController)
    QUERY_INTERFACE(iid, obj, IEditController2::iid, IEditController2)
    if (FUnknownPrivate::iidEqual(iid, IPluginBase::iid)) {
        addRef();
        *obj = static_cast<IPluginBase*>(static_cast<ComponentBase*>(this));
        return kResultOk;
    }
    QUERY_INTERFACE(iid, obj, IConnectionPoint::iid, IConnectionPoint)
    return FObject::queryInterface(iid, obj);
}

tresult PLUGIN_API MyVSTControllerBase::initialize(FUnknown* context)
{
    const tresult result = EditController::initialize(context);
    if (result != kResultOk) return result;
    addBypassParameter();
    addTableParameters();
    return kResultOk;
}

tresult PLUGIN_API MyVSTControllerBase::terminate()
{
    ccToParam.clear();
    return EditController::terminate();
}

void MyVSTControllerBase::addBypassParameter()
{
    auto* bypass = new StringListParameter(STR16("Bypass"), kBypassId, nullptr,
                                           ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, kRootUnitId);
    bypass->appendString(STR16("Off"));
    bypass->appendString(STR16("On"));
    parameters.addParameter(bypass);
}

void MyVSTControllerBase::addTableParameters()
{
    for (const auto& [id, record] : table) {
        auto* parameter = new MyParameter();
        parameter->getInfo().id = id;
        parameter->getInfo().unitId = kRootUnitId;
        parameter->setRecord(record);
        parameters.addParameter(parameter);
        // Host MIDI controller numbers are 16-bit; larger numbers cannot be asked for.
        if (record.midiController >= 0 && record.midiController <= std::numeric_limits<int16>::max())
            ccToParam[static_cast<int16>(record.midiController)] = id;
    }
}

tresult PLUGIN_API MyVSTControllerBase::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    // The SDK's container throws on an index past its end; a host's bad index
    // must not take the process down.
    if (paramIndex < 0 || paramIndex >= getParameterCount()) return kResultFalse;
    return EditController::getParameterInfo(paramIndex, info);
}

namespace {

// The SDK's parameters index their string lists and convert to integers with
// whatever value they are given; they only ever see 0..1 from us.
ParamValue clampNormalized(ParamValue value)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

} // namespace

tresult PLUGIN_API MyVSTControllerBase::setParamNormalized(ParamID tag, ParamValue value)
{
    if (!std::isfinite(value)) return kInvalidArgument;
    return EditController::setParamNormalized(tag, clampNormalized(value));
}

tresult PLUGIN_API MyVSTControllerBase::getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string)
{
    if (string == nullptr || !std::isfinite(valueNormalized)) return kInvalidArgument;
    return EditController::getParamStringByValue(tag, clampNormalized(valueNormalized), string);
}

tresult PLUGIN_API MyVSTControllerBase::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized)
{
    if (string == nullptr) return kInvalidArgument;
    ParamValue value = 0.0;
    const tresult result = EditController::getParamValueByString(tag, string, value);
    // Text such as "nan" must not hand the host a value it cannot use.
    if (result != kResultOk || !std::isfinite(value)) return result == kResultOk ? kResultFalse : result;
    valueNormalized = clampNormalized(value);
    return kResultOk;
}

ParamValue PLUGIN_API MyVSTControllerBase::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized)
{
    const ParamValue plain = EditController::normalizedParamToPlain(tag, clampNormalized(valueNormalized));
    return std::isfinite(plain) ? plain : 0.0;
}

ParamValue PLUGIN_API MyVSTControllerBase::plainParamToNormalized(ParamID tag, ParamValue plainValue)
{
    return clampNormalized(EditController::plainParamToNormalized(tag, plainValue));
}

IPlugView* PLUGIN_API MyVSTControllerBase::createView(FIDString /*name*/)
{
    // No view yet: the editor registers itself here once it exists.
    return nullptr;
}

tresult PLUGIN_API MyVSTControllerBase::getMidiControllerAssignment(int32 /*busIndex*/, int16 /*channel*/,
                                                                    CtrlNumber midiControllerNumber, ParamID& id)
{
    // Every bus and channel map alike.
    const auto found = ccToParam.find(midiControllerNumber);
    if (found == ccToParam.end()) return kResultFalse;
    id = found->second;
    return kResultOk;
}

tresult PLUGIN_API MyVSTControllerBase::notify(IMessage* message)
{
    if (message == nullptr) return kInvalidArgument;
    // The SDK's own handling of text trusts the attribute list too far.
    if (isTextMessage(*message)) return receiveTextMessage(*message, *this);
    return ComponentBase::notify(message);
}

tresult MyVSTControllerBase::performEdit(ParamID tag, ParamValue valueNormalized)
{
    paramValueChanged(tag, getParamNormalized(tag), valueNormalized);
    return EditController::performEdit(tag, valueNormalized);
}

MyParameter* MyVSTControllerBase::getMyParameter(ParamID id)
{
    return FCast<MyParameter>(getParameterObject(id));
}

tresult MyVSTControllerBase::restartWith(int32 flags)
{
    if (componentHandler == nullptr) return kResultFalse;
    return componentHandler->restartComponent(flags);
}

} // namespace vexbit
