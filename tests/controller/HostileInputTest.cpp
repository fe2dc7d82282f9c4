// Input that used to take the host down, each with the smallest case that
// showed it, given to the built bundle the way a host or a file gives it.
#include "controller/StateBytes.h"

#include "host/PluginInstance.h"
#include "host/PluginState.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <tuple>

namespace vexbit {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using test::StateBytes;

constexpr ParamID kBypass = 0x7FFFFFFF;

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
        ASSERT_TRUE(module) << error;
        instance = host::PluginInstance::createFirstEffect(module, error);
        ASSERT_TRUE(instance && instance->controller()) << error;
    }

    IEditController& controller() { return *instance->controller(); }
    IComponent& component() { return *instance->component(); }
    // Both connection points, processor first.
    std::vector<IConnectionPoint*> bothSides()
    {
        processorPoint = FUnknownPtr<IConnectionPoint>(instance->component());
        controllerPoint = FUnknownPtr<IConnectionPoint>(instance->controller());
        return {processorPoint.get(), controllerPoint.get()};
    }

    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;
    IPtr<IConnectionPoint> processorPoint;
    IPtr<IConnectionPoint> controllerPoint;
};

IPtr<MemoryStream> streamOf(const std::string& bytes)
{
    auto stream = owned(new MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

// The SDK's own host message, whose list copies a string up to the caller's
// buffer and leaves it unterminated when it fills it.
IPtr<IMessage> textMessage(const std::u16string& text)
{
    auto message = owned(new HostMessage());
    message->setMessageID("TextMessage");
    message->getAttributes()->setString("Text", reinterpret_cast<const TChar*>(text.c_str()));
    return message;
}

TEST_F(HostileInput, BypassTextOfAnyValueIsReadableAndValuesOutsideTheRangeAreClampedOrRefused)
{
    String128 text{};
    // Below 0 the SDK's list parameter indexed its strings at -1 and threw.
    ASSERT_EQ(controller().getParamStringByValue(kBypass, -0.5, text), kResultOk);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(text)), u"Off");
    ASSERT_EQ(controller().getParamStringByValue(kBypass, 7.0, text), kResultOk);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(text)), u"On");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double bad : {nan, inf, -inf}) {
        EXPECT_EQ(controller().getParamStringByValue(kBypass, bad, text), kInvalidArgument);
        EXPECT_EQ(controller().getParamStringByValue(202, bad, text), kInvalidArgument);
        EXPECT_EQ(controller().setParamNormalized(kBypass, bad), kInvalidArgument);
        EXPECT_EQ(controller().normalizedParamToPlain(kBypass, bad), bad == inf ? 1.0 : 0.0);
    }
    EXPECT_EQ(controller().getParamStringByValue(kBypass, 0.0, nullptr), kInvalidArgument);
    EXPECT_EQ(controller().plainParamToNormalized(kBypass, nan), 0.0);
    EXPECT_EQ(controller().plainParamToNormalized(kBypass, 5.0), 1.0);
    EXPECT_EQ(controller().plainParamToNormalized(kBypass, -inf), 0.0);
    EXPECT_EQ(controller().normalizedParamToPlain(kBypass, -3.0), 0.0);
    EXPECT_EQ(controller().setParamNormalized(kBypass, 2.0), kResultOk);
    EXPECT_EQ(controller().getParamNormalized(kBypass), 1.0);

    // Text that reads as no finite number never gives the host one.
    ParamValue value = 0.25;
    for (const char16_t* odd : {u"nan", u"-inf", u"1e999"}) {
        if (controller().getParamValueByString(202, const_cast<TChar*>(odd), value) == kResultOk) {
            EXPECT_TRUE(value >= 0.0 && value <= 1.0) << value;
        }
    }
    EXPECT_EQ(controller().getParamValueByString(202, nullptr, value), kInvalidArgument);
}

TEST_F(HostileInput, BypassInTheValueSectionIsIgnoredByProcessorAndControllerAlike)
{
    StateBytes state;
    state.header().u8(0).u32(0).u32(1).value(kBypass, 1.0);
    ASSERT_EQ(component().setState(streamOf(state.bytes)), kResultOk);
    ASSERT_EQ(controller().setComponentState(streamOf(state.bytes)), kResultOk);
    EXPECT_EQ(controller().getParamNormalized(kBypass), 0.0);
    auto saved = owned(new MemoryStream());
    ASSERT_EQ(component().getState(saved), kResultOk);
    ASSERT_GT(saved->getSize(), 8);
    EXPECT_EQ(saved->getData()[8], 0) << "the processor's bypass byte";

    // The bypass byte still rules on both sides.
    StateBytes on;
    on.header().u8(1).u32(0).u32(1).value(kBypass, 0.0);
    ASSERT_EQ(component().setState(streamOf(on.bytes)), kResultOk);
    ASSERT_EQ(controller().setComponentState(streamOf(on.bytes)), kResultOk);
    EXPECT_EQ(controller().getParamNormalized(kBypass), 1.0);
    saved = owned(new MemoryStream());
    ASSERT_EQ(component().getState(saved), kResultOk);
    EXPECT_EQ(saved->getData()[8], 1);
}

TEST_F(HostileInput, ATextMessageOfAnyLengthIsReadWithinItsBufferOnBothSides)
{
    for (IConnectionPoint* side : bothSides()) {
        ASSERT_NE(side, nullptr);
        EXPECT_EQ(side->notify(textMessage(std::u16string(256, u'x'))), kResultOk);
        EXPECT_EQ(side->notify(textMessage(std::u16string(5000, u'y'))), kResultOk);
        EXPECT_EQ(side->notify(textMessage(u"short")), kResultOk);
    }
}

// A message whose attribute list the host could not make.
struct MessageWithoutAttributes : public IMessage {
    FIDString PLUGIN_API getMessageID() override { return "TextMessage"; }
    void PLUGIN_API setMessageID(FIDString) override {}
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

TEST_F(HostileInput, ATextMessageWithoutAttributesOrWithBrokenUtf16IsRefusedOnBothSides)
{
    MessageWithoutAttributes bare;
    for (IConnectionPoint* side : bothSides()) {
        EXPECT_EQ(side->notify(&bare), kInvalidArgument);
        EXPECT_EQ(side->notify(textMessage(u"\xDC00")), kInvalidArgument);
        EXPECT_EQ(side->notify(textMessage(u"a\xD800z")), kInvalidArgument);
        // A lead surrogate cut off by the buffer's end is as broken as a lone one.
        EXPECT_EQ(side->notify(textMessage(std::u16string(255, u'x') + u"\xD83D\xDE00")), kInvalidArgument);
        EXPECT_EQ(side->notify(textMessage(u"\xD83D\xDE00 ok")), kResultOk);
    }
}

std::string scratchFile(const std::string& name)
{
    return std::string(VEXBIT_SCRATCH_DIR) + "/" + name;
}

// A preset header: "VST3", version 1, a class ID, the chunk list's offset.
std::string presetHeader(int64_t listOffset)
{
    StateBytes b;
    b.raw("VST3").u32(1).raw("0123456789ABCDEF0123456789ABCDEF");
    b.u32(static_cast<uint32_t>(listOffset)).u32(static_cast<uint32_t>(static_cast<uint64_t>(listOffset) >> 32));
    return b.bytes;
}

std::string chunkList(const std::vector<std::tuple<std::string, int64_t, int64_t>>& entries)
{
    StateBytes b;
    b.raw("List").u32(static_cast<uint32_t>(entries.size()));
    for (const auto& [id, offset, size] : entries) {
        b.raw(id).u32(static_cast<uint32_t>(offset)).u32(static_cast<uint32_t>(static_cast<uint64_t>(offset) >> 32));
        b.u32(static_cast<uint32_t>(size)).u32(static_cast<uint32_t>(static_cast<uint64_t>(size) >> 32));
    }
    return b.bytes;
}

TEST(HostilePresetFiles, OffsetsAndSizesOutsideTheFileAreRefusedBeforeAnythingIsRead)
{
    std::string error;
    // The chunk list offset beyond the end overflowed a 4-byte buffer in the SDK's reader.
    EXPECT_FALSE(host::parseStateFile(presetHeader(0x7FFFFFFF), error));
    EXPECT_NE(error.find("damaged preset"), std::string::npos) << error;
    for (const int64_t at : {int64_t(-1), int64_t(0), int64_t(47), int64_t(49), INT64_MAX})
        EXPECT_FALSE(host::parseStateFile(presetHeader(at) + chunkList({}), error)) << at;
    EXPECT_FALSE(host::parseStateFile(std::string("VST3", 4), error));

    const std::string state = StateBytes().header().u8(0).u32(0).u32(0).bytes;
    const std::string body = presetHeader(48 + static_cast<int64_t>(state.size())) + state;
    for (const auto& [offset, size] : std::vector<std::pair<int64_t, int64_t>>{
             {48, 1000}, {-4, 8}, {48, -1}, {INT64_MAX, 1}, {48, INT64_MAX}, {10000, 0}}) {
        EXPECT_FALSE(host::parseStateFile(body + chunkList({{"Comp", offset, size}}), error)) << offset << " " << size;
    }
    // An entry count larger than the entries the file holds.
    std::string tooMany = body + chunkList({{"Comp", 48, static_cast<int64_t>(state.size())}});
    tooMany[body.size() + 4] = 2;
    EXPECT_FALSE(host::parseStateFile(tooMany, error));

    // The well-formed one; the controller chunk may be missing.
    const auto good = host::parseStateFile(body + chunkList({{"Comp", 48, static_cast<int64_t>(state.size())}}), error);
    ASSERT_TRUE(good) << error;
    EXPECT_TRUE(good->isPreset);
    EXPECT_EQ(good->state.component, state);
    EXPECT_TRUE(good->state.controller.empty());
    FUID expectedClass;
    ASSERT_TRUE(expectedClass.fromString("0123456789ABCDEF0123456789ABCDEF"));
    EXPECT_EQ(good->componentClass, expectedClass);
}

TEST(HostilePresetFiles, TheCommandLineReportsADamagedPresetAndExitsNormally)
{
    const std::string path = scratchFile("offset-beyond.vstpreset");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << presetHeader(0x7FFFFFFF);
    for (const std::string& command :
         {"state dump '" + path + "'", "state load '" + std::string(VEXBIT_BUNDLE_PATH) + "' '" + path + "'"}) {
        const std::string line = std::string("'") + VEXBIT_EXECUTABLE + "' " + command + " >/dev/null 2>&1";
        const int status = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_NE(WEXITSTATUS(status), 0) << command;
    }
    std::remove(path.c_str());
}

} // namespace
} // namespace vexbit
