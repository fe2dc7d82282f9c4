#include "controller/MyVSTControllerBase.h"

#include "state/ProcessorStateImage.h"
#include "state/StateStreamReader.h"
#include "params/MyParameter.h"

#include <cmath>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool writeAll(IBStream& stream, const void* bytes, int32 count)
{
    int32 written = 0;
    return stream.write(const_cast<void*>(bytes), count, &written) == kResultOk && written == count;
}

} // namespace

tresult PLUGIN_API MyVSTControllerBase::setComponentState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;

    // The whole stream is read before any parameter changes: a state the
    // processor refuses must not show in the editor either.
    ProcessorStateImage image;
    if (readProcessorState(*state, formatTag, image) != StateReadResult::Complete) return kResultFalse;

    if (image.bypass) setParamNormalized(kBypassId, *image.bypass ? 1.0 : 0.0);

    for (const auto& saved : image.lists) {
        MyParameter* parameter = getMyParameter(saved.id);
        if (parameter == nullptr || saved.entries.empty()) continue;
        if (parameter->getKind() == ParamKind::Text)
            parameter->setText(saved.entries.front());
        else if (parameter->getKind() == ParamKind::List)
            parameter->setStringList(saved.entries);
    }

    for (const auto& saved : image.values) {
        // The processor keeps whatever number it was given; a value that is
        // no number at all leaves the parameter as it was.
        if (std::isfinite(saved.plain)) setParamNormalized(saved.id, plainParamToNormalized(saved.id, saved.plain));
    }

    for (int32 i = 0; i < parameters.getParameterCount(); ++i) {
        auto* parameter = FCast<MyParameter>(parameters.getParameterByIndex(i));
        if (parameter == nullptr) continue;
        const ParamID id = parameter->getInfo().id;
        const ParamValue value = parameter->getNormalized();
        paramValueChanged(id, value, value);
        if (parameter->getKind() == ParamKind::Text && !parameter->getList().empty())
            approveTextChange(id, parameter->getList().front(), parameter->getList().front());
    }

    componentStateLoaded(state);
    restartWith(RestartFlags::kParamValuesChanged | RestartFlags::kParamTitlesChanged);
    return kResultOk;
}

tresult PLUGIN_API MyVSTControllerBase::getState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;
    const auto length = static_cast<uint32_t>(formatTag.size() + 1);
    const uint8_t lengthBytes[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16),
                                    uint8_t(length >> 24)};
    // A stream that refuses the tag would hand the host a state it cannot load.
    if (!writeAll(*state, lengthBytes, 4) || !writeAll(*state, formatTag.c_str(), int32(length))) return kResultFalse;
    writeControllerState(state);
    return kResultOk;
}

tresult PLUGIN_API MyVSTControllerBase::setState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;
    StateStreamReader reader(*state);
    int32_t length = 0;
    std::string tag;
    if (!reader.readInt32(length) || !reader.readCountedText(length, tag) || tag != formatTag) return kResultFalse;
    readControllerState(state);
    return kResultOk;
}

} // namespace vexbit
