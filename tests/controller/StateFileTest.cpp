// States kept the way a DAW keeps them: saved from one instance of the built
// bundle, written to a file, read back and restored into another instance.
#include "controller/StateBytes.h"

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

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A project's state: bypass on, a few values away from their defaults.
std::string projectState()
{
    StateBytes b;
    b.header().u8(1).u32(0).u32(4).value(202, 0.6).value(603, 3.0).value(902, 30.0).value(2, 5.0);
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
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(202), 0.6);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(603), 0.75);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(902), 1.0);
    EXPECT_EQ(to.instance->parameterText(2, controller->getParamNormalized(2)), "5");
    std::remove(path.c_str());
}

TEST(PluginStateFiles, AFileThatIsNoPresetIsABareProcessorState)
{
    const std::string path = scratchFile("bare.state");
    writeFile(path, projectState());
    std::string error;
    const auto file = host::readStateFile(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_FALSE(file->isPreset);
    EXPECT_EQ(file->state.component, projectState());
    EXPECT_TRUE(file->state.controller.empty());

    Opened o = open();
    ASSERT_TRUE(o.instance);
    ASSERT_TRUE(host::restoreState(*o.instance, file->state, error)) << error;
    EXPECT_DOUBLE_EQ(o.instance->controller()->getParamNormalized(202), 0.6);
    std::remove(path.c_str());
}

TEST(PluginStateFiles, DamagedFilesAndRefusedStatesAreReportedNotApplied)
{
    std::string error;
    EXPECT_FALSE(host::readStateFile(scratchFile("does-not-exist"), error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    // A preset cut inside its chunk list, and one whose chunk points past the end.
    Opened o = open();
    ASSERT_TRUE(o.instance);
    const auto saved = host::saveState(*o.instance, error);
    ASSERT_TRUE(saved);
    const std::string good = scratchFile("damaged.vstpreset");
    ASSERT_TRUE(host::writeStateFile(good, o.effectClass, *saved, error)) << error;
    const std::string bytes = readFile(good);
    writeFile(good, bytes.substr(0, bytes.size() - 30));
    EXPECT_FALSE(host::readStateFile(good, error));
    std::string pastTheEnd = bytes;
    const size_t listAt = pastTheEnd.rfind("List");
    ASSERT_NE(listAt, std::string::npos);
    pastTheEnd[listAt + 8 + 4 + 7] = '\x7F'; // first entry's offset becomes huge
    writeFile(good, pastTheEnd);
    EXPECT_FALSE(host::readStateFile(good, error));
    std::remove(good.c_str());

    // A state of another format is refused by the component; nothing goes on to the controller.
    std::string other = projectState();
    other[6] = '1';
    EXPECT_FALSE(host::restoreState(*o.instance, {other, {}}, error));
    EXPECT_NE(error.find("component refused"), std::string::npos) << error;
    EXPECT_NEAR(o.instance->controller()->getParamNormalized(202), 0.3, 1e-12);
}

TEST(StateDump, ShowsHeaderBypassListsAndEveryValueWithItsTitle)
{
    configureModule();
    StateBytes b;
    b.header().u8(1).u32(1).list(603, {"1/2", "1/4"}).u32(4);
    b.value(802, 16.0).value(603, 1.0).value(5, 2.5).value(611, 0.125).raw("xyz");
    std::ostringstream out;
    EXPECT_TRUE(cli::dumpProcessorState(b.bytes, parameterTable(), "2.0", out));
    EXPECT_EQ(out.str(), "state: " + std::to_string(b.bytes.size()) +
                             " bytes\n"
                             "header: \"2.0\"\n"
                             "bypass: on\n"
                             "string lists: 1\n"
                             "  603  \"Shuffler Length\": 2 entries\n"
                             "    0: \"1/2\"\n"
                             "    1: \"1/4\"\n"
                             "values: 4\n"
                             "   802  \"Retrigger Length\" = 16\n"
                             "   603  \"Shuffler Length\" = 1 (1/16)\n"
                             "     5  (no such parameter) = 2.5\n"
                             "   611  \"Shuffler 1/32 Note Rate \" = 0.125\n"
                             "extra state: 3 bytes\n");
}

TEST(StateDump, SaysWhenAStateIsOfAnotherFormatOrDamaged)
{
    configureModule();
    std::ostringstream other;
    EXPECT_FALSE(cli::dumpProcessorState(StateBytes().header("2.1").u8(0).bytes, parameterTable(), "2.0", other));
    EXPECT_NE(other.str().find("header: \"2.1\", not the format \"2.0\""), std::string::npos) << other.str();

    StateBytes cut;
    cut.header().u8(0).u32(0).u32(3).value(1, 1.0).u32(2);
    std::ostringstream damaged;
    EXPECT_FALSE(cli::dumpProcessorState(cut.bytes, parameterTable(), "2.0", damaged));
    EXPECT_NE(damaged.str().find("     1  \"AutoPlay\" = 1 (On)\ndamaged:"), std::string::npos) << damaged.str();
}

std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

TEST(VexbitState, SavesDumpsAndLoadsFromTheCommandLine)
{
    const std::string tool = std::string("'") + VEXBIT_EXECUTABLE + "'";
    const std::string bundle = std::string("'") + VEXBIT_BUNDLE_PATH + "'";
    const std::string path = scratchFile("cli.vstpreset");
    int status = -1;
    run(tool + " state save " + bundle + " '" + path + "'", status);
    ASSERT_EQ(status, 0);

    std::string out = run(tool + " state dump '" + path + "'", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("values: 74\n"), std::string::npos) << out;
    EXPECT_NE(out.find("   802  \"Retrigger Length\" = 16\n"), std::string::npos) << out;
    EXPECT_NE(out.find("controller state: 8 bytes\n"), std::string::npos) << out;

    out = run(tool + " state load " + bundle + " '" + path + "'", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("\"Filter LowPass Freq\"\t5000\n"), std::string::npos) << out;

    const std::string bad = scratchFile("cli-bad.state");
    writeFile(bad, StateBytes().header("9.9").bytes);
    out = run(tool + " state dump '" + bad + "'", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("vexbit: error:"), std::string::npos) << out;
    out = run(tool + " state load " + bundle + " '" + bad + "'", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("refused"), std::string::npos) << out;
    std::remove(path.c_str());
    std::remove(bad.c_str());
}

} // namespace
} // namespace vexbit
