#include "FuzzMessages.h"

#include <algorithm>
#include <cstring>

namespace vexbit::fuzz {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <typename T>
const T* find(const std::map<std::string, FuzzAttributeList::Value>& values, IAttributeList::AttrID id)
{
    if (id == nullptr) return nullptr;
    const auto found = values.find(id);
    return found != values.end() ? std::get_if<T>(&found->second) : nullptr;
}

template <typename Interface>
tresult answer(void* self, const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Interface::iid)) {
        *obj = self;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace

tresult PLUGIN_API FuzzAttributeList::setInt(AttrID id, int64 value)
{
    if (id == nullptr) return kInvalidArgument;
    values_[id] = int64_t(value);
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::getInt(AttrID id, int64& value)
{
    const auto* v = find<int64_t>(values_, id);
    if (v == nullptr) return kResultFalse;
    value = *v;
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::setFloat(AttrID id, double value)
{
    if (id == nullptr) return kInvalidArgument;
    values_[id] = value;
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::getFloat(AttrID id, double& value)
{
    const auto* v = find<double>(values_, id);
    if (v == nullptr) return kResultFalse;
    value = *v;
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::setString(AttrID id, const TChar* string)
{
    if (id == nullptr || string == nullptr) return kInvalidArgument;
    values_[id] = std::u16string(reinterpret_cast<const char16_t*>(string));
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::getString(AttrID id, TChar* string, uint32 sizeInBytes)
{
    const auto* v = find<std::u16string>(values_, id);
    if (v == nullptr || string == nullptr) return kResultFalse;
    // The terminator travels when it fits, as with a host's list.
    const size_t bytes = std::min<size_t>((v->size() + 1) * sizeof(TChar), sizeInBytes);
    std::memcpy(string, v->c_str(), bytes);
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::setBinary(AttrID id, const void* data, uint32 sizeInBytes)
{
    if (id == nullptr || (data == nullptr && sizeInBytes != 0)) return kInvalidArgument;
    const auto* bytes = static_cast<const uint8_t*>(data);
    values_[id] = std::vector<uint8_t>(bytes, bytes + sizeInBytes);
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::getBinary(AttrID id, const void*& data, uint32& sizeInBytes)
{
    const auto* v = find<std::vector<uint8_t>>(values_, id);
    if (v == nullptr) {
        sizeInBytes = 0;
        return kResultFalse;
    }
    data = v->data();
    sizeInBytes = static_cast<uint32>(v->size());
    return kResultOk;
}

tresult PLUGIN_API FuzzAttributeList::queryInterface(const TUID iid, void** obj)
{
    return answer<IAttributeList>(this, iid, obj);
}

tresult PLUGIN_API FuzzMessage::queryInterface(const TUID iid, void** obj)
{
    return answer<IMessage>(this, iid, obj);
}

} // namespace vexbit::fuzz
