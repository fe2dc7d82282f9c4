#include "controller/ControllerTestKit.h"

#include <cstdio>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API RecordingPeer::notify(IMessage* message)
{
    if (message == nullptr) return kInvalidArgument;
    Message copy;
    copy.id = message->getMessageID() ? message->getMessageID() : "";
    IAttributeList* attributes = message->getAttributes();
    const auto take = [&](const std::string& key) {
        const void* data = nullptr;
        uint32 size = 0;
        if (attributes && attributes->getBinary(key.c_str(), data, size) == kResultOk)
            copy.binary[key] = std::string(static_cast<const char*>(data), size);
    };
    for (const char* key : {"tag", "listsize", "data", "size"}) take(key);
    for (int i = 0; i < 16; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "stringlist%d", i);
        take(key);
    }
    received.push_back(std::move(copy));
    return kResultOk;
}

ParameterTable kitTable()
{
    ParameterTable table;
    table.addLinear(kLevel, "Level", 0, 100, 50, 7);
    ParamRecord name;
    name.name = "Name";
    name.kind = ParamKind::Text;
    name.list = {"first"};
    table.add(kName, name);
    ParamRecord pattern;
    pattern.name = "Pattern";
    pattern.kind = ParamKind::List;
    pattern.list = {"a", "b", "c"};
    pattern.defaultValue = 1;
    pattern.midiController = 8;
    pattern.flags = kListInState;
    table.add(kPattern, pattern);
    table.addSwitch(kSwitch, "Switch", false, -1, true);
    table.addInteger(kVoices, "Voices", 1, 8, 2, -1);
    return table;
}

uint32_t attributeU32(const std::string& bytes)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i) v |= uint32_t(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return v;
}

} // namespace vexbit::test
