#include "controller/MyVSTControllerBase.h"

#include "params/MyParameter.h"
#include "common/Utf.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdio>
#include <limits>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Message attributes carry their integers little-endian whatever the machine.
template <typename T>
void putLittleEndian(T value, uint8_t (&bytes)[sizeof(T)])
{
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

template <typename T>
void setInteger(IAttributeList& attributes, IAttributeList::AttrID key, T value)
{
    uint8_t bytes[sizeof(T)];
    putLittleEndian(value, bytes);
    attributes.setBinary(key, bytes, sizeof(T));
}

} // namespace

tresult MyVSTControllerBase::setParamString(ParamID id, const std::u16string& text, bool restart)
{
    return setParamString(id, utf16ToUtf8(text), restart);
}

tresult MyVSTControllerBase::setParamString(ParamID id, const std::string& text, bool restart)
{
    MyParameter* parameter = getMyParameter(id);
    if (parameter == nullptr || parameter->getKind() != ParamKind::Text) return kResultFalse;
    const std::string current = parameter->getList().empty() ? std::string() : parameter->getList().front();
    if (text == current) return kResultFalse;
    if (!approveTextChange(id, current, text)) return kResultFalse;
    if (!parameter->setText(text)) return kResultFalse;
    if (restart) restartWith(RestartFlags::kParamTitlesChanged);
    return sendParamStringList(id, {text});
}

tresult MyVSTControllerBase::setParamStringList(ParamID id, const std::vector<std::u16string>& list)
{
    StringList converted;
    converted.reserve(list.size());
    for (const auto& entry : list) converted.push_back(utf16ToUtf8(entry));
    return setParamStringList(id, converted, true);
}

tresult MyVSTControllerBase::setParamStringList(ParamID id, const StringList& list, bool restart)
{
    MyParameter* parameter = getMyParameter(id);
    if (parameter == nullptr || !parameter->setStringList(list)) return kResultFalse;
    parameter->setNormalized(0.0);
    paramValueChanged(id, 0.0, 0.0);
    if (restart) restartWith(RestartFlags::kParamTitlesChanged);
    if (editor != nullptr) editor->updateControls(static_cast<int32_t>(id));
    return sendParamStringList(id, list);
}

tresult MyVSTControllerBase::sendParamStringList(ParamID id, const StringList& list)
{
    if (list.size() > static_cast<size_t>(std::numeric_limits<int32>::max())) return kInvalidArgument;
    // Without a host that hands out messages there is no processor to tell.
    IPtr<IMessage> message = owned(allocateMessage());
    if (!message || message->getAttributes() == nullptr) return kResultFalse;

    message->setMessageID("sendParamStringList");
    IAttributeList& attributes = *message->getAttributes();
    setInteger<uint32_t>(attributes, "tag", id);
    setInteger<int32_t>(attributes, "listsize", static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        char key[128];
        std::snprintf(key, sizeof key, "stringlist%d", static_cast<int>(i));
        // The terminating zero travels with each entry.
        if (list[i].size() >= std::numeric_limits<uint32>::max()) return kInvalidArgument;
        attributes.setBinary(key, list[i].c_str(), static_cast<uint32>(list[i].size() + 1));
    }
    return sendMessage(message) == kResultOk ? kResultOk : kResultFalse;
}

tresult MyVSTControllerBase::sendData(uint32 tag, const void* bytes, uint64 byteCount)
{
    if ((bytes == nullptr && byteCount != 0) || byteCount > std::numeric_limits<uint32>::max()) return kInvalidArgument;
    IPtr<IMessage> message = owned(allocateMessage());
    if (!message || message->getAttributes() == nullptr) return kResultFalse;

    message->setMessageID("sendData");
    IAttributeList& attributes = *message->getAttributes();
    setInteger<uint32_t>(attributes, "tag", tag);
    static const uint8_t nothing = 0;
    attributes.setBinary("data", bytes != nullptr ? bytes : &nothing, static_cast<uint32>(byteCount));
    setInteger<uint64_t>(attributes, "size", byteCount);
    return sendMessage(message) == kResultOk ? kResultOk : kResultFalse;
}

} // namespace vexbit
