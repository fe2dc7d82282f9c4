#include "controller/ControllerTestKit.h"
#include "common/ParameterIds.h"
#include "support/StateBytes.h"

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
using test::streamOf;

constexpr ParamID kBypass = kBypassId;

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

TEST_F(ControllerBase, PerformEditTellsTheHookTheOldValueThenTheHost)
{
    controller->setParamNormalized(test::kLevel, 0.25);
    EXPECT_EQ(controller->performEdit(test::kLevel, 0.75), kResultOk);
    ASSERT_EQ(controller->changes.size(), 1u);
    EXPECT_EQ(controller->changes[0].id, test::kLevel);
    EXPECT_DOUBLE_EQ(controller->changes[0].oldValue, 0.25);
    EXPECT_DOUBLE_EQ(controller->changes[0].newValue, 0.75);
    ASSERT_EQ(handler->performed(test::kLevel).size(), 1u);
    EXPECT_DOUBLE_EQ(handler->performed(test::kLevel)[0], 0.75);
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

} // namespace
} // namespace vexbit
