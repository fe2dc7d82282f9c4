#pragma once

// The two messages the controller sends its processor, built as the
// controller builds them: a replacement string list and an opaque data block.

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexbit::test {

inline Steinberg::IPtr<Steinberg::Vst::IMessage> hostMessage(const char* id)
{
    auto msg = Steinberg::owned(static_cast<Steinberg::Vst::IMessage*>(new Steinberg::Vst::HostMessage()));
    msg->setMessageID(id);
    return msg;
}

inline Steinberg::IPtr<Steinberg::Vst::IMessage> stringListMessage(uint32_t tag,
                                                                   const std::vector<std::string>& entries)
{
    auto msg = hostMessage("sendParamStringList");
    const uint32_t count = static_cast<uint32_t>(entries.size());
    msg->getAttributes()->setBinary("tag", &tag, 4);
    msg->getAttributes()->setBinary("listsize", &count, 4);
    for (std::size_t i = 0; i < entries.size(); ++i)
        msg->getAttributes()->setBinary(("stringlist" + std::to_string(i)).c_str(), entries[i].c_str(),
                                        static_cast<Steinberg::uint32>(entries[i].size() + 1));
    return msg;
}

inline Steinberg::IPtr<Steinberg::Vst::IMessage> dataMessage(uint32_t tag, const std::string& payload)
{
    auto msg = hostMessage("sendData");
    const uint64_t size = payload.size();
    msg->getAttributes()->setBinary("tag", &tag, 4);
    msg->getAttributes()->setBinary("data", payload.data(), static_cast<Steinberg::uint32>(payload.size()));
    msg->getAttributes()->setBinary("size", &size, 8);
    return msg;
}

} // namespace vexbit::test
