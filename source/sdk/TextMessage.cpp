#include "sdk/TextMessage.h"

#include "common/Utf.h"

#include <cstring>
#include <string>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The sender cuts its text to 255 units plus the terminator.
constexpr std::size_t kTextUnits = 256;

} // namespace

bool isTextMessage(IMessage& message)
{
    const char* id = message.getMessageID();
    return id != nullptr && std::strcmp(id, "TextMessage") == 0;
}

tresult receiveTextMessage(IMessage& message, ComponentBase& receiver)
{
    IAttributeList* attributes = message.getAttributes();
    if (attributes == nullptr) return kInvalidArgument;
    // One unit more than the list is allowed to fill, so the text always ends.
    TChar text[kTextUnits + 1] = {};
    if (attributes->getString("Text", text, kTextUnits * sizeof(TChar)) != kResultOk) return kResultFalse;
    const std::u16string units(text, text + std::char_traits<TChar>::length(text));
    if (!isWellFormedUtf16(units)) return kInvalidArgument;
    return receiver.receiveText(utf16ToUtf8(units).c_str());
}

} // namespace vexbit
