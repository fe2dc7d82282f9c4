// Parameter settings on the command line and states carried from one render
// to the next, read back through the host library as a DAW would.
#include "tools/TestFiles.h"

#include "host/Module.h"
#include "host/PluginInstance.h"
#include "host/PluginState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace vexbit::test {
namespace {

// Every parameter's plain value after the state file is restored into a fresh instance.
std::map<Steinberg::Vst::ParamID, double> plainValuesIn(const std::string& stateFile)
{
    std::string error;
    auto module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
    EXPECT_TRUE(module) << error;
    auto instance = host::PluginInstance::createFirstEffect(module, error);
    EXPECT_TRUE(instance) << error;
    const auto file = host::readStateFile(stateFile, error);
    EXPECT_TRUE(file) << error;
    std::map<Steinberg::Vst::ParamID, double> values;
    if (!instance || !file) return values;
    EXPECT_TRUE(host::restoreState(*instance, file->state, error)) << error;
    auto* controller = instance->controller();
    for (const auto& p : instance->parameters())
        values[p.id] = controller->normalizedParamToPlain(p.id, controller->getParamNormalized(p.id));
    return values;
}

TEST(RenderState, SettingsByTitleAndByIdReachTheSavedStateAndTheNextRender)
{
    TempFolder dir;
    writeFloatWav(dir.path("in.wav"), 44100.0, sine(440.0, 44100.0, 4410), {});

    const ToolRun first = runVexbit(
        {"render", dir.path("in.wav"), "-o", dir.path("a.wav"), "--set", "Gator Speed=12", // title, plain units
         "--set", "503=7",                                                                 // ID, plain units
         "--set", "Lo-fiLength=1/2 Note",                                                  // title, display text
         "--set", "704=Off",                                                               // ID, display text
         "--set", "shuffler 1/32 note rate=40", // loose title (the real one ends in a space)
         "--set", "802=3.5",                    // the second "Retrigger Length"
         "--save-state", dir.path("a.vstpreset")});
    ASSERT_EQ(first.status, 0) << first.err;
    const auto saved = plainValuesIn(dir.path("a.vstpreset"));
    EXPECT_NEAR(saved.at(902), 12.0, 1e-6);
    EXPECT_NEAR(saved.at(503), 7.0, 1e-6);
    EXPECT_NEAR(saved.at(132), 3.0, 1e-6);
    EXPECT_NEAR(saved.at(704), 0.0, 1e-6);
    EXPECT_NEAR(saved.at(611), 40.0, 1e-6);
    EXPECT_NEAR(saved.at(802), 3.5, 1e-6);
    EXPECT_NEAR(saved.at(702), 1.0, 1e-6); // its namesake keeps its default

    const ToolRun second = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("b.wav"), "--state",
                                      dir.path("a.vstpreset"), "--save-state", dir.path("b.vstpreset")});
    ASSERT_EQ(second.status, 0) << second.err;
    const auto reloaded = plainValuesIn(dir.path("b.vstpreset"));
    ASSERT_EQ(reloaded.size(), saved.size());
    for (const auto& [id, value] : saved) EXPECT_NEAR(reloaded.at(id), value, 1e-9) << "parameter " << id;
}

TEST(RenderState, AStateOfAnotherPluginIsRefused)
{
    TempFolder dir;
    writeFloatWav(dir.path("in.wav"), 44100.0, sine(440.0, 44100.0, 4410), {});
    const std::string zamDelay = "/usr/lib/vst3/ZamDelay.vst3";
    if (!std::filesystem::exists(zamDelay)) GTEST_SKIP() << zamDelay << " is not installed";
    const ToolRun save = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("a.wav"), "--plugin", zamDelay,
                                    "--save-state", dir.path("zam.vstpreset")});
    ASSERT_EQ(save.status, 0) << save.err;
    const ToolRun load =
        runVexbit({"render", dir.path("in.wav"), "-o", dir.path("b.wav"), "--state", dir.path("zam.vstpreset")});
    EXPECT_NE(load.status, 0);
    EXPECT_NE(load.err.find("another plug-in"), std::string::npos) << load.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("b.wav")));
}

} // namespace
} // namespace vexbit::test
