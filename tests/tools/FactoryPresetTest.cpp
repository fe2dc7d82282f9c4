// The factory preset bank as a user and a host meet it: the files in the
// bundle, restored through the host library, rendered by the vexbit tool,
// installed where hosts look, and built from their texts.
#include "tools/TestFiles.h"

#include "host/AudioFile.h"
#include "host/Module.h"
#include "host/PluginInstance.h"
#include "host/PluginState.h"
#include "product/ModuleConfig.h"
#include "state/ProcessorStateImage.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace vexbit::test {
namespace {

namespace fs = std::filesystem;

const fs::path kBank = fs::path(VEXBIT_BUNDLE_PATH) / "Contents" / "Resources" / "Presets";

std::vector<fs::path> factoryPresets()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kBank))
        if (entry.path().extension() == ".vstpreset") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

float peakOf(const host::AudioBuffer& audio)
{
    float peak = 0.0f;
    for (const auto* channel : {&audio.left, &audio.right})
        for (const float x : *channel) peak = std::max(peak, std::isfinite(x) ? std::abs(x) : INFINITY);
    return peak;
}

TEST(FactoryPresets, EachRestoresRoundTripsByteIdenticallyWithValuesInRangeAndNoTwoAlike)
{
    const auto files = factoryPresets();
    ASSERT_GE(files.size(), 16u);
    std::string error;
    auto module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    const auto effect = module->firstClassOfCategory(kVstAudioEffectClass);
    ASSERT_TRUE(effect);

    std::set<std::string> states, names;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const auto file = host::readStateFile(path.string(), error);
        ASSERT_TRUE(file && file->isPreset) << error;
        EXPECT_EQ(file->componentClass, effect->cid);
        EXPECT_EQ(file->info.name + ".vstpreset", path.filename().string());
        EXPECT_EQ(file->info.category.rfind("Fx|Glitch|", 0), 0u) << file->info.category;
        EXPECT_EQ(file->info.pluginName, effect->name);

        auto instance = host::PluginInstance::create(module, *effect, error);
        ASSERT_TRUE(instance) << error;
        ASSERT_TRUE(host::restoreState(*instance, file->state, error)) << error;
        const auto saved = host::saveState(*instance, error);
        ASSERT_TRUE(saved) << error;
        EXPECT_EQ(saved->component, file->state.component);

        auto stream =
            Steinberg::owned(new Steinberg::MemoryStream(const_cast<char*>(file->state.component.data()),
                                                         static_cast<Steinberg::TSize>(file->state.component.size())));
        ProcessorStateImage image;
        ASSERT_EQ(readProcessorState(*stream, moduleConfig().frameworkVersion, image), StateReadResult::Complete);
        auto* controller = instance->controller();
        for (const auto& value : image.values) {
            const double low = controller->normalizedParamToPlain(value.id, 0.0);
            const double high = controller->normalizedParamToPlain(value.id, 1.0);
            EXPECT_TRUE(value.plain >= low && value.plain <= high) << "parameter " << value.id << " = " << value.plain;
        }
        EXPECT_TRUE(states.insert(file->state.component).second) << "the same state as another preset";
        EXPECT_TRUE(names.insert(file->info.name).second);
    }
}

TEST(FactoryPresets, TheDemoLoopThroughEachStaysFiniteAndWithinSixDecibelsOfItsInput)
{
    TempFolder folder;
    for (const fs::path& path : factoryPresets()) {
        SCOPED_TRACE(path.filename().string());
        const ToolRun run =
            runVexbit({"demo", "--plugin", VEXBIT_BUNDLE_PATH, "--preset", path.string(), "-o", folder.path("demo")});
        ASSERT_EQ(run.status, 0) << run.err;
        std::string error;
        const auto dry = host::readAudioFile(folder.path("demo/demo-dry.wav"), error);
        const auto wet = host::readAudioFile(folder.path("demo/demo.wav"), error);
        ASSERT_TRUE(dry && wet) << error;
        EXPECT_LE(peakOf(*wet), peakOf(*dry) * 1.9953f); // +6 dB
    }
}

TEST(FactoryPresets, ListedByCategoryAndRenderedByName)
{
    const ToolRun list = runVexbit({"presets", "--plugin", VEXBIT_BUNDLE_PATH, "--folder", kBank.string()});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Fx|Glitch|Tape"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("Tape-Stop Endings"), std::string::npos) << list.out;

    TempFolder folder;
    writeFloatWav(folder.path("in.wav"), 44100.0, sine(220.0, 44100.0, 22050), {});
    // Names are matched without regard to case, from the bundle's bank when the user has none.
    const ToolRun byName = runVexbit({"render", folder.path("in.wav"), "-o", folder.path("out.wav"), "--plugin",
                                      VEXBIT_BUNDLE_PATH, "--preset", "lo-fi crunch bed"});
    EXPECT_EQ(byName.status, 0) << byName.err;
    const ToolRun unknown = runVexbit({"render", folder.path("in.wav"), "-o", folder.path("out2.wav"), "--plugin",
                                       VEXBIT_BUNDLE_PATH, "--preset", "No Such Preset"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no preset named \"No Such Preset\""), std::string::npos) << unknown.err;
    EXPECT_FALSE(fs::exists(folder.path("out2.wav")));
}

TEST(FactoryPresets, BuildingRefusesAnUnreadableLineOrAnOutOfRangeValueNamingTheFile)
{
    TempFolder folder;
    fs::create_directories(folder.path("src"));
    std::ofstream(folder.path("src/a.preset")) << "Name: A\n# fine so far\nthis line means nothing\n";
    ToolRun run =
        runVexbit({"presets", "build", folder.path("src"), folder.path("out"), "--plugin", VEXBIT_BUNDLE_PATH});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("a.preset:3:"), std::string::npos) << run.err;

    std::ofstream(folder.path("src/a.preset")) << "Name: A\nGator Speed = 99\n";
    run = runVexbit({"presets", "build", folder.path("src"), folder.path("out"), "--plugin", VEXBIT_BUNDLE_PATH});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Gator Speed"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(folder.path("out/A.vstpreset")));
}

TEST(FactoryPresets, InstallPutsTheBankWhereHostsLookAndInsideTheBundle)
{
    TempFolder folder;
    const std::string command = "DESTDIR='" + folder.path("root") +
                                "' '" VEXBIT_CMAKE "' --install '" VEXBIT_BUILD_DIR "' > '" +
                                folder.path("install.log") + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readTextFile(folder.path("install.log"));
    const fs::path home = fs::path(folder.path("root")) / fs::path(std::getenv("HOME")).relative_path();
    const fs::path user = home / ".vst3" / "presets" / VEXBIT_VENDOR / VEXBIT_PRODUCT;
    const fs::path bundled =
        home / ".vst3" / (std::string(VEXBIT_PRODUCT) + ".vst3") / "Contents" / "Resources" / "Presets";
    for (const fs::path& path : factoryPresets()) {
        EXPECT_TRUE(fs::is_regular_file(user / path.filename())) << (user / path.filename());
        EXPECT_TRUE(fs::is_regular_file(bundled / path.filename())) << (bundled / path.filename());
    }
}

} // namespace
} // namespace vexbit::test
