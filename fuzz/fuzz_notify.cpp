// Messages on both connection points, built from the input: the IDs the two
// sides know and junk, attributes of every type and size under the keys they
// read and others, and messages without an attribute list. Afterwards the
// processor must still save its state and process.
#include "FuzzMessages.h"
#include "FuzzSession.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vexbit::fuzz;

namespace {

const char* const kIds[] = {"sendParamStringList", "sendData", "TextMessage", ""};
const char* const kKeys[] = {"tag", "listsize", "data", "size", "Text", "stringlist0", "stringlist1", "stringlist2"};
// Parameters of every kind, the controller's Bypass and IDs nobody has.
const uint32_t kTags[] = {1, 2, 202, 603, 611, 802, 902, 0x7FFFFFFF, 5, 0xFFFFFFFF};

std::string pickKey(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return "stringlist" + std::to_string(in.ConsumeIntegral<int32_t>());
    case 1: return in.ConsumeRandomLengthString(130);
    default: return kKeys[in.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)];
    }
}

std::vector<uint8_t> pickBinary(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: { // a known tag, as the sender writes it
        const uint32_t tag = kTags[in.ConsumeIntegralInRange<size_t>(0, std::size(kTags) - 1)];
        std::vector<uint8_t> bytes(4);
        std::memcpy(bytes.data(), &tag, 4);
        return bytes;
    }
    case 1: { // a large block of one byte
        return std::vector<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 70000), in.ConsumeIntegral<uint8_t>());
    }
    default: return in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 64));
    }
}

std::u16string pickString(FuzzedDataProvider& in)
{
    std::u16string text;
    if (in.ConsumeBool()) { // long runs of one unit: lone surrogates, zeros, plain letters
        text.assign(in.ConsumeIntegralInRange<size_t>(0, 1000), in.ConsumeIntegral<char16_t>());
    } else {
        const size_t n = in.ConsumeIntegralInRange<size_t>(0, 300);
        for (size_t i = 0; i < n && in.remaining_bytes() >= 2; ++i)
            text.push_back(in.ConsumeIntegral<char16_t>());
    }
    return text;
}

void setAttribute(FuzzedDataProvider& in, FuzzAttributeList& list)
{
    const std::string key = pickKey(in);
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: list.set(key, in.ConsumeIntegral<int64_t>()); break;
    case 1: list.set(key, in.ConsumeFloatingPoint<double>()); break;
    case 2: list.set(key, pickString(in)); break;
    default: list.set(key, pickBinary(in)); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    FUnknownPtr<IConnectionPoint> processorSide(session.component());
    FUnknownPtr<IConnectionPoint> controllerSide(session.controller());
    if (!processorSide || !controllerSide)
        fail("no connection points");

    FuzzedDataProvider in(data, size);
    const int messages = in.ConsumeIntegralInRange(1, 4);
    for (int m = 0; m < messages && in.remaining_bytes() > 0; ++m) {
        IConnectionPoint* target = in.ConsumeBool() ? processorSide.get() : controllerSide.get();
        const size_t pick = in.ConsumeIntegralInRange<size_t>(0, std::size(kIds));
        const std::string id = pick < std::size(kIds) ? kIds[pick] : in.ConsumeRandomLengthString(40);
        const bool withoutAttributes = in.ConsumeIntegralInRange(0, 15) == 0;
        FuzzAttributeList attributes;
        const int count = in.ConsumeIntegralInRange(0, 8);
        for (int a = 0; a < count; ++a)
            setAttribute(in, attributes);
        FuzzMessage message(id, withoutAttributes ? nullptr : &attributes);
        target->notify(&message);
    }

    auto state = owned(new MemoryStream());
    if (session.component()->getState(state) != kResultOk)
        fail("getState refused after messages");
    session.processOneBlock();
    session.reset();
    return 0;
}
