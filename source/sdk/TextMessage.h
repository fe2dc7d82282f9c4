#pragma once

#include "public.sdk/source/vst/vstcomponentbase.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace vexbit {

// The peer's short text note ("TextMessage" with a UTF-16 "Text" attribute).
bool isTextMessage(Steinberg::Vst::IMessage& message);

// Reads the text into a bounded buffer (a host's attribute list may fill it to
// the last unit without a terminator), refuses text that is not well-formed
// UTF-16 or a message without attributes, and hands the UTF-8 text to the
// receiver's receiveText.
Steinberg::tresult receiveTextMessage(Steinberg::Vst::IMessage& message, Steinberg::Vst::ComponentBase& receiver);

} // namespace vexbit
