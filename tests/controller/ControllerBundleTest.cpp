// The controller as a host meets it: created from the built bundle, initialised,
// connected to its processor, asked for parameters, MIDI mapping and states.
#include "controller/ControllerTestKit.h"
#include "common/ParameterIds.h"
#include "support/LoadedBundle.h"
#include "support/StateBytes.h"

#include "state/ProcessorStateImage.h"
#include "host/PluginInstance.h"
#include "product/ModuleConfig.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace vexbit {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using host::Module;
using host::PluginInstance;
using test::RecordingHandler;
using test::StateBytes;
using test::streamOf;

constexpr ParamID kBypass = kBypassId;

// Hosts list parameters in the order given and save automation by ID, so
// Bypass leads and the table follows in ascending ID order, each with the
// step count and flags its kind implies.
TEST(ControllerInBundle, HostSeesBypassThenEveryTableParameterInIdOrder)
{
    const test::LoadedBundle l = test::loadBundle();
    ASSERT_TRUE(l.instance);
    ASSERT_TRUE(l.instance);
    const auto seen = l.instance->parameters();
    ASSERT_EQ(seen.size(), 83u);
    EXPECT_EQ(seen[0].id, kBypass);
    EXPECT_EQ(seen[0].title, "Bypass");
    EXPECT_EQ(seen[0].flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
    EXPECT_EQ(seen[0].stepCount, 1);
    EXPECT_EQ(seen[0].defaultNormalized, 0.0);
    for (size_t i = 1; i < seen.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "parameter " << seen[i].id);
        if (i > 1) {
            EXPECT_GT(seen[i].id, seen[i - 1].id);
        }
        EXPECT_FALSE(seen[i].title.empty());
        EXPECT_EQ(seen[i].flags & ~ParameterInfo::kIsList, ParameterInfo::kCanAutomate);
        EXPECT_GE(seen[i].defaultNormalized, 0.0);
        EXPECT_LE(seen[i].defaultNormalized, 1.0);
        if (seen[i].flags & ParameterInfo::kIsList) {
            EXPECT_GT(seen[i].stepCount, 0);
        }
    }
}

TEST(ControllerInBundle, ARestoredProcessorStateReachesEveryParameter)
{
    const test::LoadedBundle l = test::loadBundle();
    ASSERT_TRUE(l.instance);
    ASSERT_TRUE(l.instance);
    IPtr<RecordingHandler> handler = owned(new RecordingHandler());
    l.controller()->setComponentHandler(handler);

    // The host restores a project: the processor reads the state, then the
    // controller gets what the processor now says about itself.
    StateBytes b;
    b.header().u8(1).u32(0).u32(5);
    b.value(kDelayLevelId, 0.6)
        .value(2, 8.0)
        .value(kShufflerLengthId, 3.0)
        .value(1, 1.0)
        .value(kReverserLengthId, 0.01);
    ASSERT_EQ(l.component()->setState(streamOf(b.bytes)), kResultOk);
    const std::string saved = l.saved();
    ASSERT_EQ(saved.size(), 905u);
    ASSERT_EQ(l.controller()->setComponentState(streamOf(saved)), kResultOk);

    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(kBypass), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(kDelayLevelId), 0.6);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(2), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(kShufflerLengthId), 0.75);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(1), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(kReverserLengthId), 0.0);
    EXPECT_EQ(l.instance->parameterText(kShufflerLengthId, l.controller()->getParamNormalized(kShufflerLengthId)),
              "1/4");
    // Untouched parameters come back at their defaults.
    const std::set<ParamID> restored{kBypass, 202, 2, 603, 1, 802};
    for (const auto& p : l.instance->parameters()) {
        if (restored.count(p.id) == 0) {
            EXPECT_NEAR(l.controller()->getParamNormalized(p.id), p.defaultNormalized, 1e-12) << p.id;
        }
    }

    EXPECT_EQ(handler->restarts, (std::vector<int32>{kParamValuesChanged | kParamTitlesChanged}));
    l.controller()->setComponentHandler(nullptr);
}

// The bundle's own controller offers no way to replace a list, so a controller
// of ours over the module's table (with the Shuffler's length list made
// replaceable) takes its place and joins the bundle's processor the way a host
// joins the two.
TEST(ControllerWithBundleProcessor, AStringListReachesTheProcessorThroughTheConnection)
{
    const test::LoadedBundle l = test::loadBundle();
    ASSERT_TRUE(l.instance);
    ASSERT_TRUE(l.instance);
    configureModule();
    ParameterTable table = parameterTable();
    ParamRecord length = *table.find(kShufflerLengthId);
    length.flags |= kListInState;
    table.add(kShufflerLengthId, length);

    IPtr<test::RecordingController> controller = owned(new test::RecordingController(table));
    ASSERT_EQ(controller->initialize(l.module->hostContext()), kResultOk);
    FUnknownPtr<IConnectionPoint> processorPoint(l.component());
    ASSERT_TRUE(processorPoint);
    ASSERT_EQ(controller->connect(processorPoint), kResultOk);

    StateBytes b;
    b.header().u8(0).u32(0).u32(1).value(kShufflerLengthId, 4.0);
    ASSERT_EQ(l.component()->setState(streamOf(b.bytes)), kResultOk);

    EXPECT_EQ(controller->setParamStringList(kShufflerLengthId, {"1/2", "1/4", "1/8"}, true), kResultOk);

    ProcessorStateImage image;
    const std::string saved = l.saved();
    auto stream = streamOf(saved);
    ASSERT_EQ(readProcessorState(*stream, "2.0", image), StateReadResult::Complete);
    EXPECT_TRUE(image.lists.empty()) << "the processor's record of 603 does not keep its list in the state";
    bool found = false;
    for (const auto& v : image.values)
        if (v.id == 603) {
            found = true;
            EXPECT_EQ(v.plain, 0.0);
        }
    EXPECT_TRUE(found);

    const char payload[10] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    EXPECT_EQ(controller->sendData(42, payload, sizeof payload), kResultOk);

    controller->disconnect(processorPoint);
    controller->terminate();
}

} // namespace
} // namespace vexbit
