#include "processor/MyVSTProcessorBase.h"
#include "sdk/TextMessage.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr const char* kParamStringListMessage = "sendParamStringList";
constexpr const char* kDataMessage = "sendData";

struct Bytes {
    const void* data = nullptr;
    uint32 size = 0;
};

bool readBinary(IAttributeList& attributes, const char* key, Bytes& out)
{
    return attributes.getBinary(key, out.data, out.size) == kResultOk && (out.data != nullptr || out.size == 0);
}

// A fixed-size attribute; anything of another size is refused.
template <typename T>
bool readFixed(IAttributeList& attributes, const char* key, T& value)
{
    Bytes bytes;
    if (!readBinary(attributes, key, bytes) || bytes.size != sizeof(T)) return false;
    std::memcpy(&value, bytes.data, sizeof(T));
    return true;
}

} // namespace

tresult PLUGIN_API MyVSTProcessorBase::notify(IMessage* message)
{
    if (message == nullptr) return kInvalidArgument;
    if (isTextMessage(*message)) return receiveTextMessage(*message, *this);
    const char* id = message->getMessageID();
    if (id != nullptr && std::strcmp(id, kParamStringListMessage) == 0) return receiveParamStringList(*message);
    if (id != nullptr && std::strcmp(id, kDataMessage) == 0) return receiveData(*message);
    return AudioEffect::notify(message);
}

tresult MyVSTProcessorBase::receiveParamStringList(IMessage& message)
{
    IAttributeList* attributes = message.getAttributes();
    uint32 tag = 0;
    if (attributes == nullptr || !readFixed(*attributes, "tag", tag)) return kInvalidArgument;
    const std::lock_guard lock(controlLock_);
    const std::size_t index = parameters_.indexOf(tag);
    if (index == ParameterStore::npos) return kResultOk; // a list for a parameter we do not have changes nothing
    int32 count = 0;
    if (!readFixed(*attributes, "listsize", count)) return kInvalidArgument;

    // Every entry is read before the list changes, so a message with a missing
    // entry leaves it whole.
    std::vector<std::string> entries;
    for (int32 i = 0; i < count; ++i) {
        char key[128];
        std::snprintf(key, sizeof key, "stringlist%d", static_cast<int>(i));
        Bytes bytes;
        if (!readBinary(*attributes, key, bytes)) return kInvalidArgument;
        // The text ends at its first zero byte, or with the attribute.
        const char* text = static_cast<const char*>(bytes.data);
        const void* zero = bytes.size > 0 ? std::memchr(text, 0, bytes.size) : nullptr;
        const std::size_t length =
            zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : bytes.size;
        entries.emplace_back(text != nullptr ? text : "", length);
    }
    // The list is not used by process and changes at once; the value goes to
    // the engine with the next block.
    if (count > 0) parameters_.recordAt(index).list = std::move(entries);
    PendingChanges reset;
    reset.addValue(index, 0.0);
    handOver(reset);
    return kResultOk;
}

tresult MyVSTProcessorBase::receiveData(IMessage& message)
{
    IAttributeList* attributes = message.getAttributes();
    uint32 tag = 0;
    Bytes payload;
    uint64 size = 0;
    if (attributes == nullptr || !readFixed(*attributes, "tag", tag) || !readBinary(*attributes, "data", payload) ||
        !readFixed(*attributes, "size", size))
        return kInvalidArgument;
    // A size that disagrees with the payload would let the engine read past it.
    if (size != payload.size) return kInvalidArgument;
    // A copy of our own goes to the engine with the next block.
    PendingChanges data;
    data.addData(tag, static_cast<const unsigned char*>(payload.data), payload.size);
    const std::lock_guard lock(controlLock_);
    handOver(data);
    return kResultOk;
}

} // namespace vexbit
