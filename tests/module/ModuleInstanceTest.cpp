// A processor and its controller created from the bundle and connected, as a host does.
#include "host/PluginInstance.h"
#include "common/Utf.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using vexbit::host::Module;
using vexbit::host::PluginInstance;

namespace {

struct Loaded {
    std::shared_ptr<Module> module;
    std::unique_ptr<PluginInstance> instance;
};

Loaded loadInstance()
{
    std::string error;
    Loaded l;
    l.module = Module::load(VEXBIT_BUNDLE_PATH, error);
    EXPECT_TRUE(l.module) << error;
    if (l.module) {
        l.instance = PluginInstance::createFirstEffect(l.module, error);
        EXPECT_TRUE(l.instance) << error;
    }
    return l;
}

std::string busName(IComponent* component, MediaType type, BusDirection dir, int32& channels)
{
    BusInfo info{};
    EXPECT_EQ(component->getBusInfo(type, dir, 0, info), kResultOk);
    channels = info.channelCount;
    return vexbit::utf16ToUtf8(info.name, 128);
}

} // namespace

TEST(ModuleInstance, ProcessorNamesItsControllerAndBuses)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    IComponent* component = l.instance->component();

    TUID controllerCid = {};
    ASSERT_EQ(component->getControllerClassId(controllerCid), kResultOk);
    EXPECT_EQ(FUID::fromTUID(controllerCid), l.module->classes().at(1).cid);

    EXPECT_EQ(component->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kOutput), 1);
    int32 channels = 0;
    EXPECT_EQ(busName(component, kAudio, kInput, channels), "AudioInput 1");
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(busName(component, kAudio, kOutput, channels), "AudioOutput 1");
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(busName(component, kEvent, kInput, channels), "EventInput 1");
    EXPECT_EQ(channels, 16);
    EXPECT_EQ(busName(component, kEvent, kOutput, channels), "EventOutput 1");
    EXPECT_EQ(channels, 16);

    EXPECT_EQ(l.instance->processor()->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(l.instance->processor()->canProcessSampleSize(kSample64), kResultFalse);
}
