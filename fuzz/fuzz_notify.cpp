// Messages on both connection points, built from the input: the IDs the two
// sides know and junk, attributes of every type and size under the keys they
// read and others, and messages without an attribute list. Afterwards the
// processor must still save its state and process.
#include "ByteReader.h"
#include "FuzzMessages.h"
#include "FuzzSession.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vexbit::fuzz;

namespace {

// Input, field after field (see ByteReader): per message a side byte (odd:
// controller), an ID byte (0..3 the known IDs and "", else a length byte and
// that many bytes), a flags byte (bit 0: no attribute list) and an attribute
// count byte (mod 9); per attribute a key byte (0..7 the known keys, 8
// "stringlist" and an int32 index, else a length byte and bytes) and a type
// byte: 0 int64, 1 double, 2 string, 3 binary. A string is a uint16 unit count
// and a mode byte (odd: one repeated unit follows, else the units follow);
// a binary is a uint32 size (at most 128 KiB) and the same mode byte.
const char* const kIds[] = {"sendParamStringList", "sendData", "TextMessage", ""};
const char* const kKeys[] = {"tag", "listsize", "data", "size", "Text", "stringlist0", "stringlist1", "stringlist2"};

std::string takeName(ByteReader& in, uint8_t pick, const char* const* known, size_t knownCount)
{
    if (pick < knownCount) return known[pick];
    return in.takeBytes(in.take<uint8_t>());
}

std::u16string takeString(ByteReader& in)
{
    const auto count = in.take<uint16_t>();
    if (in.take<uint8_t>() & 1) return std::u16string(count, in.take<char16_t>());
    std::u16string text;
    for (uint16_t i = 0; i < count && !in.atEnd(); ++i) text.push_back(in.take<char16_t>());
    return text;
}

std::vector<uint8_t> takeBinary(ByteReader& in)
{
    const auto size = std::min<uint32_t>(in.take<uint32_t>(), 128 * 1024);
    if (in.take<uint8_t>() & 1) return std::vector<uint8_t>(size, in.take<uint8_t>());
    const std::string bytes = in.takeBytes(size);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void setAttribute(ByteReader& in, FuzzAttributeList& list)
{
    const auto keyPick = in.take<uint8_t>();
    const std::string key = keyPick == 8 ? "stringlist" + std::to_string(in.take<int32_t>())
                                         : takeName(in, keyPick, kKeys, std::size(kKeys));
    switch (in.take<uint8_t>() % 4) {
    case 0: list.set(key, in.take<int64_t>()); break;
    case 1: list.set(key, in.take<double>()); break;
    case 2: list.set(key, takeString(in)); break;
    default: list.set(key, takeBinary(in)); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    FUnknownPtr<IConnectionPoint> processorSide(session.component());
    FUnknownPtr<IConnectionPoint> controllerSide(session.controller());
    if (!processorSide || !controllerSide) fail("no connection points");

    ByteReader in(data, size);
    for (int m = 0; m < 8 && !in.atEnd(); ++m) {
        IConnectionPoint* target = (in.take<uint8_t>() & 1) ? controllerSide.get() : processorSide.get();
        const std::string id = takeName(in, in.take<uint8_t>(), kIds, std::size(kIds));
        const bool withoutAttributes = in.take<uint8_t>() & 1;
        FuzzAttributeList attributes;
        const int count = in.take<uint8_t>() % 9;
        for (int a = 0; a < count; ++a) setAttribute(in, attributes);
        FuzzMessage message(id, withoutAttributes ? nullptr : &attributes);
        target->notify(&message);
    }

    auto state = owned(new MemoryStream());
    if (session.component()->getState(state) != kResultOk) fail("getState refused after messages");
    session.processOneBlock();
    session.reset();
    return 0;
}
