#include "controller/ControllerTestKit.h"
#include "controller/StateBytes.h"

#include "product/MyVSTController.h"
#include "product/ModuleConfig.h"
#include "params/MyParameter.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vexbit {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using test::RecordingController;
using test::RecordingHandler;
using test::RecordingPeer;
using test::StateBytes;

constexpr ParamID kBypass = 0x7FFFFFFF;

IPtr<MemoryStream> streamOf(const std::string& bytes)
{
    auto stream = owned(new MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

class ControllerBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(controller->initialize(&host), kResultOk);
        controller->setComponentHandler(handler);
        controller->connect(peer);
    }
    void TearDown() override { controller->terminate(); }

    std::vector<std::string> entries(ParamID id) { return controller->getMyParameter(id)->getList(); }

    HostApplication host;
    IPtr<RecordingController> controller = owned(new RecordingController(test::kitTable()));
    IPtr<RecordingHandler> handler = owned(new RecordingHandler());
    IPtr<RecordingPeer> peer = owned(new RecordingPeer());
};

TEST(ControllerIdentity, AnswersItsInterfacesAndNamesItsClasses)
{
    configureModule(); // what the module's start-up does before any controller exists
    IPtr<MyVSTController> controller = owned(new MyVSTController());
    void* obj = nullptr;
    ASSERT_EQ(controller->queryInterface(IMidiMapping::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IMidiMapping*>(controller.get()));
    static_cast<FUnknown*>(obj)->release();
    ASSERT_EQ(controller->queryInterface(IEditController2::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IEditController2*>(controller.get()));
    static_cast<FUnknown*>(obj)->release();
    ASSERT_EQ(controller->queryInterface(IConnectionPoint::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IConnectionPoint*>(controller.get()));
    static_cast<FUnknown*>(obj)->release();

    // IPluginBase must be a working one: initializing through it publishes the parameters.
    ASSERT_EQ(controller->queryInterface(IPluginBase::iid, &obj), kResultOk);
    auto* base = static_cast<IPluginBase*>(obj);
    HostApplication host;
    EXPECT_EQ(base->initialize(&host), kResultOk);
    EXPECT_EQ(controller->getParameterCount(), 83);
    EXPECT_EQ(base->initialize(&host), kResultFalse) << "a second initialize adds nothing";
    EXPECT_EQ(controller->getParameterCount(), 83);
    EXPECT_EQ(base->terminate(), kResultOk);
    base->release();

    EXPECT_EQ(controller->queryInterface(IAudioProcessor::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);

    EXPECT_TRUE(controller->isTypeOf("MyVSTControllerBase"));
    EXPECT_TRUE(controller->isTypeOf("EditController"));
    EXPECT_TRUE(controller->isTypeOf("ComponentBase"));
    EXPECT_STREQ(static_cast<MyVSTControllerBase*>(controller.get())->MyVSTControllerBase::isA(),
                 "MyVSTControllerBase");
}

TEST_F(ControllerBase, PublishesBypassFirstThenTheTableInIdOrder)
{
    ASSERT_EQ(controller->getParameterCount(), 6);
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(info.id, kBypass);
    EXPECT_EQ(info.flags, 0x10001);
    EXPECT_EQ(info.stepCount, 1);
    EXPECT_EQ(std::u16string(info.title), u"Bypass");
    const ParamID expected[] = {test::kLevel, test::kName, test::kPattern, test::kSwitch, test::kVoices};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(controller->getParameterInfo(i + 1, info), kResultOk);
        EXPECT_EQ(info.id, expected[i]);
    }
    // Indices a host should never send, but might.
    EXPECT_EQ(controller->getParameterInfo(6, info), kResultFalse);
    EXPECT_EQ(controller->getParameterInfo(-1, info), kResultFalse);
}

TEST_F(ControllerBase, MapsMidiControllersOnEveryBusAndChannel)
{
    ParamID id = 0;
    for (int32 bus : {0, 1, 7})
        for (int16 channel : {0, 9, 15}) {
            EXPECT_EQ(controller->getMidiControllerAssignment(bus, channel, 7, id), kResultOk);
            EXPECT_EQ(id, test::kLevel);
            EXPECT_EQ(controller->getMidiControllerAssignment(bus, channel, 8, id), kResultOk);
            EXPECT_EQ(id, test::kPattern);
        }
    id = 1234;
    EXPECT_EQ(controller->getMidiControllerAssignment(0, 0, 9, id), kResultFalse);
    EXPECT_EQ(controller->getMidiControllerAssignment(0, 0, -1, id), kResultFalse);
    EXPECT_EQ(id, 1234u);
}

TEST_F(ControllerBase, PerformEditTellsTheHookTheOldValueThenTheHost)
{
    controller->setParamNormalized(test::kLevel, 0.25);
    EXPECT_EQ(controller->performEdit(test::kLevel, 0.75), kResultOk);
    ASSERT_EQ(controller->changes.size(), 1u);
    EXPECT_EQ(controller->changes[0].id, test::kLevel);
    EXPECT_DOUBLE_EQ(controller->changes[0].oldValue, 0.25);
    EXPECT_DOUBLE_EQ(controller->changes[0].newValue, 0.75);
    ASSERT_EQ(handler->edits.size(), 1u);
    EXPECT_DOUBLE_EQ(handler->edits[0].value, 0.75);
}

TEST_F(ControllerBase, ARestoredProcessorStateSetsEveryParameterAndRestartsTheHost)
{
    StateBytes b;
    b.header().u8(1).u32(4);
    b.list(test::kName, {"restored", "ignored"});
    b.list(test::kPattern, {"x", "y", "z", "w"});
    b.list(test::kSwitch, {"No", "Yes"}); // fixed entries stay
    b.list(999, {"nobody"});
    b.u32(5).value(test::kLevel, 25.0).value(test::kVoices, 8.0).value(test::kPattern, 3.0);
    b.value(999, 1.0).value(test::kSwitch, 1.0);
    EXPECT_EQ(controller->setComponentState(streamOf(b.bytes)), kResultOk);

    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBypass), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 0.25);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kVoices), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kPattern), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kSwitch), 1.0);
    EXPECT_EQ(entries(test::kName), (std::vector<std::string>{"restored"}));
    EXPECT_EQ(entries(test::kPattern), (std::vector<std::string>{"x", "y", "z", "w"}));
    EXPECT_EQ(entries(test::kSwitch), (std::vector<std::string>{"Off", "On"}));

    // Every table parameter is announced with its value as both old and new.
    ASSERT_EQ(controller->changes.size(), 5u);
    EXPECT_EQ(controller->changes[0].id, test::kLevel);
    EXPECT_DOUBLE_EQ(controller->changes[0].oldValue, 0.25);
    EXPECT_DOUBLE_EQ(controller->changes[0].newValue, 0.25);
    EXPECT_EQ(controller->changes[4].id, test::kVoices);
    ASSERT_EQ(controller->textChanges.size(), 1u);
    EXPECT_EQ(controller->textChanges[0].oldText, "restored");
    EXPECT_EQ(controller->textChanges[0].newText, "restored");
    EXPECT_EQ(controller->statesLoaded, 1);
    EXPECT_EQ(handler->restarts, (std::vector<int32>{kParamValuesChanged | kParamTitlesChanged}));
    EXPECT_EQ(handler->restarts[0], 20);
}

TEST_F(ControllerBase, AStateOfAnotherFormatChangesNothing)
{
    StateBytes b;
    b.header("2.1").u8(1).u32(0).u32(1).value(test::kLevel, 100.0);
    EXPECT_EQ(controller->setComponentState(streamOf(b.bytes)), kResultFalse);
    StateBytes longer;
    longer.header("2.0.1").u8(1).u32(0).u32(1).value(test::kLevel, 100.0);
    EXPECT_EQ(controller->setComponentState(streamOf(longer.bytes)), kResultFalse);
    EXPECT_EQ(controller->setComponentState(streamOf("")), kResultFalse);

    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBypass), 0.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 0.5);
    EXPECT_TRUE(controller->changes.empty());
    EXPECT_TRUE(handler->restarts.empty());
    EXPECT_EQ(controller->statesLoaded, 0);
}

TEST_F(ControllerBase, AStateCutShortAnywhereChangesNothingAndReportsFalse)
{
    StateBytes b;
    b.header().u8(1).u32(1).list(test::kName, {"partly"}).u32(3).value(test::kLevel, 10.0).value(test::kVoices, 8.0);
    // Cut after the bypass byte, inside the list block, inside the value
    // pairs, and four bytes short of the end.
    for (const std::size_t keep : {std::size_t{9}, std::size_t{22}, b.bytes.size() - 14, b.bytes.size() - 4}) {
        EXPECT_EQ(controller->setComponentState(streamOf(b.bytes.substr(0, keep))), kResultFalse) << keep;

        EXPECT_DOUBLE_EQ(controller->getParamNormalized(kBypass), 0.0) << keep;
        EXPECT_EQ(entries(test::kName), (std::vector<std::string>{"first"})) << keep;
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 0.5) << keep;
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kVoices), 1.0 / 7.0) << keep;
    }
    EXPECT_TRUE(controller->changes.empty());
    EXPECT_TRUE(handler->restarts.empty());
    EXPECT_EQ(controller->statesLoaded, 0);
}

TEST_F(ControllerBase, StateByteCountsThatCannotBeTrueAreRefused)
{
    StateBytes negativeTag;
    negativeTag.i32(-4).raw("2.0").u8(0);
    EXPECT_EQ(controller->setComponentState(streamOf(negativeTag.bytes)), kResultFalse);
    StateBytes hugeTag;
    hugeTag.i32(0x7FFFFFFF).raw("2.0").u8(0);
    EXPECT_EQ(controller->setComponentState(streamOf(hugeTag.bytes)), kResultFalse);

    StateBytes hugeEntry;
    hugeEntry.header().u8(0).u32(1).u32(test::kName).u32(1).u32(0x80000000).raw("big").u32(0);
    EXPECT_EQ(controller->setComponentState(streamOf(hugeEntry.bytes)), kResultFalse);
    EXPECT_EQ(entries(test::kName), (std::vector<std::string>{"first"}));

    EXPECT_EQ(controller->setState(streamOf(negativeTag.bytes)), kResultFalse);
    EXPECT_EQ(controller->setState(streamOf(hugeTag.bytes)), kResultFalse);
}

TEST_F(ControllerBase, ValuesThatAreNotNumbersLeaveTheParameterAlone)
{
    StateBytes b;
    b.header().u8(0).u32(0).u32(2);
    b.value(test::kLevel, std::numeric_limits<double>::quiet_NaN());
    b.value(test::kVoices, std::numeric_limits<double>::infinity());
    EXPECT_EQ(controller->setComponentState(streamOf(b.bytes)), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 0.5);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kVoices), 1.0 / 7.0);

    // The same from a host.
    EXPECT_EQ(controller->setParamNormalized(test::kLevel, std::numeric_limits<double>::quiet_NaN()), kInvalidArgument);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 0.5);
    EXPECT_EQ(controller->setParamNormalized(test::kLevel, 7.0), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kLevel), 1.0) << "clamped as the SDK does";
}

TEST_F(ControllerBase, NullArgumentsGetTheSdkErrorCode)
{
    EXPECT_EQ(controller->setComponentState(nullptr), kInvalidArgument);
    EXPECT_EQ(controller->getState(nullptr), kInvalidArgument);
    EXPECT_EQ(controller->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);
    EXPECT_EQ(controller->sendData(1, nullptr, 4), kInvalidArgument);
}

TEST_F(ControllerBase, MessagesFromTheProcessorGoToTheSdkHandling)
{
    IPtr<IMessage> text = owned(allocateMessage(&host));
    text->setMessageID("TextMessage");
    text->getAttributes()->setString("Text", u"hello");
    EXPECT_EQ(controller->notify(text), kResultOk);
    IPtr<IMessage> other = owned(allocateMessage(&host));
    other->setMessageID("sendData");
    EXPECT_EQ(controller->notify(other), kResultFalse);
}

TEST_F(ControllerBase, OwnStateCarriesTheFormatTagAndTheSubclassState)
{
    controller->ownState = "MINE";
    auto stream = owned(new MemoryStream());
    ASSERT_EQ(controller->getState(stream), kResultOk);
    EXPECT_EQ(std::string(stream->getData(), static_cast<size_t>(stream->getSize())), std::string("\x04\x00\x00\x00"
                                                                                                  "2.0\0MINE",
                                                                                                  12));

    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(controller->setState(stream), kResultOk);
    EXPECT_EQ(controller->ownStateRead, "MINE");

    // The tag's zero is not needed among the counted bytes.
    EXPECT_EQ(controller->setState(streamOf(std::string("\x03\x00\x00\x00"
                                                        "2.0",
                                                        7))),
              kResultOk);
    EXPECT_EQ(controller->setState(streamOf(std::string("\x04\x00\x00\x00"
                                                        "2.1\0",
                                                        8))),
              kResultFalse);
    EXPECT_EQ(controller->setState(streamOf(std::string("\x04\x00", 2))), kResultFalse);
}

TEST_F(ControllerBase, ATextChangeIsKeptAnnouncedAndSent)
{
    EXPECT_EQ(controller->setParamString(test::kName, std::string("second"), true), kResultOk);
    EXPECT_EQ(entries(test::kName).at(0), "second");
    ASSERT_EQ(controller->textChanges.size(), 1u);
    EXPECT_EQ(controller->textChanges[0].oldText, "first");
    EXPECT_EQ(handler->restarts, (std::vector<int32>{kParamTitlesChanged}));
    ASSERT_EQ(peer->received.size(), 1u);
    const auto& message = peer->received[0];
    EXPECT_EQ(message.id, "sendParamStringList");
    EXPECT_EQ(message.binary.at("tag"), std::string("\x14\x00\x00\x00", 4));
    EXPECT_EQ(message.binary.at("listsize"), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(message.binary.at("stringlist0"), std::string("second\0", 7));
    EXPECT_EQ(message.binary.count("stringlist1"), 0u);

    // The UTF-16 form arrives as UTF-8, without a restart when none is asked for.
    EXPECT_EQ(controller->setParamString(test::kName, std::u16string(u"drei\u00df"), false), kResultOk);
    EXPECT_EQ(entries(test::kName).at(0), "drei\xC3\x9F");
    EXPECT_EQ(handler->restarts.size(), 1u);
    EXPECT_EQ(peer->received.size(), 2u);
}

TEST_F(ControllerBase, ATextChangeThatChangesNothingOrIsRefusedSendsNothing)
{
    EXPECT_EQ(controller->setParamString(test::kName, std::string("first"), true), kResultFalse);
    EXPECT_TRUE(controller->textChanges.empty()) << "the same text is not even offered for approval";
    EXPECT_EQ(controller->setParamString(test::kLevel, std::string("text"), true), kResultFalse);
    EXPECT_EQ(controller->setParamString(kBypass, std::string("On"), true), kResultFalse);
    EXPECT_EQ(controller->setParamString(4242, std::string("x"), true), kResultFalse);

    controller->approveTexts = false;
    EXPECT_EQ(controller->setParamString(test::kName, std::string("second"), true), kResultFalse);
    EXPECT_EQ(entries(test::kName).at(0), "first");

    EXPECT_TRUE(peer->received.empty());
    EXPECT_TRUE(handler->restarts.empty());
}

class RecordingEditor : public EditorControls {
public:
    void updateControls(int32_t tag) override { updated.push_back(tag); }
    std::vector<int32_t> updated;
};

TEST_F(ControllerBase, ANewStringListResetsTheValueRefreshesTheEditorAndIsSent)
{
    RecordingEditor editor;
    controller->setEditor(&editor);
    controller->setParamNormalized(test::kPattern, 1.0);

    const std::vector<std::string> list{"one", "two"};
    EXPECT_EQ(controller->setParamStringList(test::kPattern, list, false), kResultOk);
    EXPECT_EQ(entries(test::kPattern), list);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(test::kPattern), 0.0);
    ASSERT_EQ(controller->changes.size(), 1u);
    EXPECT_DOUBLE_EQ(controller->changes[0].oldValue, 0.0);
    EXPECT_TRUE(handler->restarts.empty());
    EXPECT_EQ(editor.updated, (std::vector<int32_t>{test::kPattern}));
    ASSERT_EQ(peer->received.size(), 1u);
    EXPECT_EQ(peer->received[0].binary.at("listsize"), std::string("\x02\x00\x00\x00", 4));
    EXPECT_EQ(peer->received[0].binary.at("stringlist1"), std::string("two\0", 4));

    // The UTF-16 form always asks the host to reread the titles.
    EXPECT_EQ(controller->setParamStringList(test::kPattern, std::vector<std::u16string>{u"A", u"B", u"C"}), kResultOk);
    EXPECT_EQ(entries(test::kPattern), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(handler->restarts, (std::vector<int32>{kParamTitlesChanged}));
    ParameterInfo info{};
    controller->getParameterInfoByTag(test::kPattern, info);
    EXPECT_EQ(info.stepCount, 2);

    controller->setEditor(nullptr);
    EXPECT_EQ(controller->setParamStringList(test::kPattern, list, true), kResultOk);
    EXPECT_EQ(editor.updated.size(), 2u);
}

TEST_F(ControllerBase, ListsThatMayNotChangeAreRefusedAndNotSent)
{
    EXPECT_EQ(controller->setParamStringList(test::kSwitch, {"No", "Yes"}, true), kResultFalse);
    EXPECT_EQ(entries(test::kSwitch), (std::vector<std::string>{"Off", "On"}));
    EXPECT_EQ(controller->setParamStringList(test::kName, {"x"}, true), kResultFalse);
    EXPECT_EQ(controller->setParamStringList(kBypass, {"x"}, true), kResultFalse);
    EXPECT_TRUE(peer->received.empty());
    EXPECT_TRUE(controller->changes.empty());
}

TEST_F(ControllerBase, DataReachesThePeerWithTagPayloadAndSize)
{
    const char payload[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    EXPECT_EQ(controller->sendData(0xA1B2C3D4, payload, sizeof payload), kResultOk);
    ASSERT_EQ(peer->received.size(), 1u);
    const auto& message = peer->received[0];
    EXPECT_EQ(message.id, "sendData");
    EXPECT_EQ(test::attributeU32(message.binary.at("tag")), 0xA1B2C3D4u);
    EXPECT_EQ(message.binary.at("data"), std::string(payload, 10));
    EXPECT_EQ(message.binary.at("size"), std::string("\x0A\0\0\0\0\0\0\0", 8));
}

TEST(ControllerWithoutConnection, SkipsMessagesItCannotSendAndSaysSo)
{
    // No host application: no message can be made.
    IPtr<RecordingController> lonely = owned(new RecordingController(test::kitTable()));
    ASSERT_EQ(lonely->initialize(nullptr), kResultOk);
    EXPECT_EQ(lonely->setParamString(test::kName, std::string("solo"), true), kResultFalse);
    EXPECT_EQ(lonely->getMyParameter(test::kName)->getList().at(0), "solo") << "the controller keeps its own copy";
    const char byte = 1;
    EXPECT_EQ(lonely->sendData(1, &byte, 1), kResultFalse);
    lonely->terminate();

    // A host, but no processor connected.
    HostApplication host;
    IPtr<RecordingController> unconnected = owned(new RecordingController(test::kitTable()));
    ASSERT_EQ(unconnected->initialize(&host), kResultOk);
    EXPECT_EQ(unconnected->setParamStringList(test::kPattern, {"p", "q"}, true), kResultFalse);
    EXPECT_EQ(unconnected->getMyParameter(test::kPattern)->getList().size(), 2u);
    EXPECT_EQ(unconnected->sendData(1, &byte, 1), kResultFalse);
    unconnected->terminate();
}

} // namespace
} // namespace vexbit
