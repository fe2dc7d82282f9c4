// States kept the way a DAW keeps them: saved from one instance of the built
// bundle, written to a file, read back and restored into another instance.
#include "support/RunVexbit.h"
#include "common/ParameterIds.h"
#include "support/StateBytes.h"

#include "vexbit/StateDump.h"
#include "host/PluginState.h"
#include "product/ModuleConfig.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vexbit {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using host::Module;
using host::PluginInstance;
using test::StateBytes;

struct Opened {
    std::shared_ptr<Module> module;
    std::unique_ptr<PluginInstance> instance;
    FUID effectClass;
};

Opened open()
{
    std::string error;
    Opened o;
    o.module = Module::load(VEXBIT_BUNDLE_PATH, error);
    if (!o.module) {
        ADD_FAILURE() << error;
        return o;
    }
    o.effectClass = o.module->firstClassOfCategory(kVstAudioEffectClass)->cid;
    o.instance = PluginInstance::createFirstEffect(o.module, error);
    if (!o.instance) ADD_FAILURE() << error;
    return o;
}

std::string scratchFile(const std::string& name)
{
    return std::string(VEXBIT_SCRATCH_DIR) + "/" + name;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A project's state: bypass on, a few values away from their defaults.
std::string projectState()
{
    StateBytes b;
    b.header()
        .u8(1)
        .u32(0)
        .u32(4)
        .value(kDelayLevelId, 0.6)
        .value(kShufflerLengthId, 3.0)
        .value(kGatorSpeedId, 30.0)
        .value(2, 5.0);
    return b.bytes;
}

TEST(PluginStateFiles, AStateSavedToAFileComesBackInAnotherInstance)
{
    Opened from = open();
    ASSERT_TRUE(from.instance);
    std::string error;
    ASSERT_TRUE(host::restoreState(*from.instance, {projectState(), {}}, error)) << error;
    const auto saved = host::saveState(*from.instance, error);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(saved->component.size(), 905u);
    EXPECT_EQ(saved->controller, std::string("\x04\0\0\0"
                                             "2.0\0",
                                             8));

    const std::string path = scratchFile("round-trip.vstpreset");
    ASSERT_TRUE(host::writeStateFile(path, from.effectClass, *saved, error)) << error;
    const auto file = host::readStateFile(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_TRUE(file->isPreset);
    EXPECT_EQ(file->componentClass, from.effectClass);
    EXPECT_EQ(file->state.component, saved->component);
    EXPECT_EQ(file->state.controller, saved->controller);

    Opened to = open();
    ASSERT_TRUE(to.instance);
    ASSERT_TRUE(host::restoreState(*to.instance, file->state, error)) << error;
    const auto again = host::saveState(*to.instance, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->component, saved->component);
    IEditController* controller = to.instance->controller();
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0x7FFFFFFF), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kDelayLevelId), 0.6);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kShufflerLengthId), 0.75);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kGatorSpeedId), 1.0);
    EXPECT_EQ(to.instance->parameterText(2, controller->getParamNormalized(2)), "5");
    std::remove(path.c_str());
}

TEST(VexbitState, SavesDumpsAndLoadsFromTheCommandLine)
{
    const std::string bundle = VEXBIT_BUNDLE_PATH;
    const std::string path = scratchFile("cli.vstpreset");
    ASSERT_EQ(test::runVexbit({"state", "save", bundle, path}).status, 0);

    test::ToolRun r = test::runVexbit({"state", "dump", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("values: 74\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("   802  \"Retrigger Length\" = 16\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("controller state: 8 bytes\n"), std::string::npos) << r.out;

    r = test::runVexbit({"state", "load", bundle, path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"Filter LowPass Freq\"\t5000\n"), std::string::npos) << r.out;

    const std::string bad = scratchFile("cli-bad.state");
    writeFile(bad, StateBytes().header("9.9").bytes);
    r = test::runVexbit({"state", "dump", bad});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("vexbit: error:"), std::string::npos) << r.err;
    r = test::runVexbit({"state", "load", bundle, bad});
    EXPECT_NE(r.status, 0);
    EXPECT_NE((r.out + r.err).find("refused"), std::string::npos) << r.out << r.err;
    std::remove(path.c_str());
    std::remove(bad.c_str());
}

} // namespace
} // namespace vexbit
