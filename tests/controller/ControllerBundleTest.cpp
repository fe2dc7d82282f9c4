// The controller as a host meets it: created from the built bundle, initialised,
// connected to its processor, asked for parameters, MIDI mapping and states.
#include "controller/ControllerTestKit.h"
#include "controller/StateBytes.h"

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

constexpr ParamID kBypass = 0x7FFFFFFF;

struct Loaded {
    std::shared_ptr<Module> module;
    std::unique_ptr<PluginInstance> instance;
    IEditController* controller() const { return instance->controller(); }
    IComponent* component() const { return instance->component(); }
};

Loaded loadInstance()
{
    std::string error;
    Loaded l;
    l.module = Module::load(VEXBIT_BUNDLE_PATH, error);
    if (!l.module) {
        ADD_FAILURE() << error;
        return l;
    }
    l.instance = PluginInstance::createFirstEffect(l.module, error);
    if (!l.instance || !l.instance->controller()) ADD_FAILURE() << error;
    return l;
}

IPtr<MemoryStream> streamOf(const std::string& bytes)
{
    auto stream = owned(new MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

std::string processorState(IComponent* component)
{
    auto stream = owned(new MemoryStream());
    EXPECT_EQ(component->getState(stream), kResultOk);
    return std::string(stream->getData(), static_cast<size_t>(stream->getSize()));
}

// One published parameter as the host must see it, worked out by hand.
struct Expected {
    ParamID id;
    const char* title;
    char kind; // L linear, I integer, S skewed (mid 0.1), W switch, N list
    double min, max, def;
    int entries; // list kinds only
};

double skewedNormalized(double plain, double min, double max)
{
    return std::pow((plain - min) / (max - min), std::log(0.5) / std::log(0.1));
}

std::vector<Expected> expectedParameters()
{
    std::vector<Expected> e{{1, "AutoPlay", 'W', 0, 1, 0, 2},
                            {2, "Max Concurrency", 'I', 1, 8, 2, 0},
                            {3, "NoEffect Exec Rate", 'L', 0, 1200, 800, 0}};
    const char* shortNames[] = {"Delay", "TapeStop", "Filter", "Lo-fi", "Shuffler", "Retrigger", "Reverser", "Gator"};
    static std::vector<std::string> titles; // keeps the composed titles alive
    titles.clear();
    titles.reserve(24);
    for (int i = 0; i < 8; ++i) {
        const ParamID b = 100 + 10 * static_cast<ParamID>(i);
        titles.push_back(std::string(shortNames[i]) + " Enable");
        e.push_back({b, titles.back().c_str(), 'W', 0, 1, 1, 2});
        titles.push_back(std::string(shortNames[i]) + "Exec Rate");
        e.push_back({b + 1, titles.back().c_str(), 'L', 0, 100, 50, 0});
        titles.push_back(std::string(shortNames[i]) + "Length");
        e.push_back({b + 2, titles.back().c_str(), 'N', 0, 5, 2, 6});
    }
    const std::vector<Expected> blocks{{200, "Delay Mute", 'W', 0, 1, 0, 2},
                                       {201, "Delay On/Off", 'W', 0, 1, 0, 2},
                                       {202, "Delay Level", 'L', 0, 1, 0.3, 0},
                                       {203, "Delay Time", 'S', 20, 500, 50, 0},
                                       {204, "Delay FeedBack", 'L', 0, 0.9, 0.3, 0},
                                       {205, "Granular Dry/Wet", 'L', 0, 1, 0, 0},
                                       {206, "Granular Duration", 'S', 20, 500, 200, 0},
                                       {207, "Granular GrainSize", 'S', 20, 1000, 250, 0},
                                       {299, "Delay Randomise", 'W', 0, 1, 0, 2},
                                       {300, "TapeStop Mute", 'W', 0, 1, 0, 2},
                                       {301, "TapeStop On/Off", 'W', 0, 1, 0, 2},
                                       {302, "TapeStop StartSpeed", 'L', 0, 1, 0.8, 0},
                                       {303, "TapeStop StopSpeed", 'L', 0, 1, 1.0, 0},
                                       {399, "TapeStop Randomise", 'W', 0, 1, 0, 2},
                                       {400, "Filter Mute", 'W', 0, 1, 0, 2},
                                       {401, "Filter On/Off", 'W', 0, 1, 0, 2},
                                       {402, "Filter LowPass Freq", 'S', 20, 20000, 5000, 0},
                                       {403, "Filter LowPass Q", 'L', 0.3, 10, 4, 0},
                                       {404, "Filter HighPass Freq", 'S', 20, 20000, 1000, 0},
                                       {405, "Filter HighPass Q", 'L', 0.3, 10, 4, 0},
                                       {499, "Filter Randomise", 'W', 0, 1, 0, 2},
                                       {500, "Lo-Fi Mute", 'W', 0, 1, 0, 2},
                                       {501, "Lo-Fi On/Off", 'W', 0, 1, 0, 2},
                                       {502, "Lo-Fi BitDepth", 'I', 2, 16, 5, 0},
                                       {503, "Lo-Fi Freqency", 'I', 1, 15, 10, 0},
                                       {599, " Lo-fi Randomise", 'W', 0, 1, 0, 2},
                                       {600, "Shuffler Mute", 'W', 0, 1, 0, 2},
                                       {601, "Shuffler On/Off", 'W', 0, 1, 0, 2},
                                       {602, "Shuffler SimpleMode", 'W', 0, 1, 1, 2},
                                       {603, "Shuffler Length", 'N', 0, 4, 1, 5},
                                       {611, "Shuffler 1/32 Note Rate ", 'L', 0, 100, 10, 0},
                                       {612, "Shuffler 1/16 Note Rate", 'L', 0, 100, 100, 0},
                                       {613, "Shuffler dotted 1/16 Note Rate", 'L', 0, 100, 10, 0},
                                       {614, "Shuffler 1/8 Note Rate", 'L', 0, 100, 50, 0},
                                       {615, "Shuffler dotted 1/8 Note Rate", 'L', 0, 100, 0, 0},
                                       {616, "Shuffler double dotted 1/8 Note Rate", 'L', 0, 100, 0, 0},
                                       {617, "Shuffler 1/4 Note Rate", 'L', 0, 100, 0, 0},
                                       {618, "Shuffler dotted 1/4 Note Rate", 'L', 0, 100, 0, 0},
                                       {619, "Shuffler double dotted 1/4 Note Rate", 'L', 0, 100, 0, 0},
                                       {620, "Shuffler 1/2 Note Rate", 'L', 0, 100, 0, 0},
                                       {699, "Shuffler Randomise", 'W', 0, 1, 0, 2},
                                       {700, "Retrigger Mute", 'W', 0, 1, 0, 2},
                                       {701, "Retrigger On/Off", 'W', 0, 1, 0, 2},
                                       {702, "Retrigger Length", 'L', 0.01, 16, 1, 0},
                                       {703, "Retrigger Pitch", 'L', -48, 48, 0, 0},
                                       {704, "Retrigger BeatSync", 'W', 0, 1, 1, 2},
                                       {799, "Retrigger Randomise", 'W', 0, 1, 0, 2},
                                       {800, "Reverser Mute", 'W', 0, 1, 0, 2},
                                       {801, "Reverser On/Off", 'W', 0, 1, 0, 2},
                                       {802, "Retrigger Length", 'L', 0.01, 32, 16, 0},
                                       {899, "Reverser Randomise", 'W', 0, 1, 0, 2},
                                       {900, "Gator Mute", 'W', 0, 1, 0, 2},
                                       {901, "Gator On/Off", 'W', 0, 1, 0, 2},
                                       {902, "Gator Speed", 'L', 4, 30, 8, 0},
                                       {999, "Gator Randomise", 'W', 0, 1, 0, 2}};
    e.insert(e.end(), blocks.begin(), blocks.end());
    return e;
}

TEST(ControllerInBundle, HostSeesBypassThenEveryTableParameterWithItsStepsFlagsAndDefault)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    const auto seen = l.instance->parameters();
    const auto expected = expectedParameters();
    ASSERT_EQ(expected.size(), 82u);
    ASSERT_EQ(seen.size(), 83u);

    EXPECT_EQ(seen[0].id, kBypass);
    EXPECT_EQ(seen[0].title, "Bypass");
    EXPECT_EQ(seen[0].flags, 0x10001);
    EXPECT_EQ(seen[0].stepCount, 1);
    EXPECT_EQ(seen[0].defaultNormalized, 0.0);

    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& x = expected[i];
        const auto& p = seen[i + 1];
        SCOPED_TRACE(testing::Message() << "parameter " << x.id);
        ASSERT_EQ(p.id, x.id);
        EXPECT_EQ(p.title, x.title);
        EXPECT_EQ(p.units, "");
        EXPECT_EQ(p.shortTitle, "");
        switch (x.kind) {
        case 'L':
            EXPECT_EQ(p.stepCount, 0);
            EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate);
            EXPECT_NEAR(p.defaultNormalized, (x.def - x.min) / (x.max - x.min), 1e-12);
            break;
        case 'S':
            EXPECT_EQ(p.stepCount, 0);
            EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate);
            EXPECT_NEAR(p.defaultNormalized, skewedNormalized(x.def, x.min, x.max), 1e-9);
            break;
        case 'I':
            EXPECT_EQ(p.stepCount, static_cast<int32_t>(x.max - x.min));
            EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate);
            EXPECT_NEAR(p.defaultNormalized, (x.def - x.min) / (x.max - x.min), 1e-12);
            break;
        default:
            EXPECT_EQ(p.stepCount, x.entries - 1);
            EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
            EXPECT_NEAR(p.defaultNormalized, x.def / (x.entries - 1), 1e-12);
        }
    }
}

TEST(ControllerInBundle, MidiControllersMapTheSameOnEveryBusAndChannel)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    FUnknownPtr<IMidiMapping> mapping(l.controller());
    ASSERT_TRUE(mapping);

    for (int32 bus : {0, 1, 3})
        for (int16 channel = 0; channel < 16; ++channel) {
            ParamID id = 0;
            EXPECT_EQ(mapping->getMidiControllerAssignment(bus, channel, 71, id), kResultOk);
            EXPECT_EQ(id, 802u);
            EXPECT_EQ(mapping->getMidiControllerAssignment(bus, channel, 1, id), kResultOk);
            EXPECT_EQ(id, 202u);
            EXPECT_EQ(mapping->getMidiControllerAssignment(bus, channel, 74, id), kResultFalse);
        }

    // Exactly the table's controller numbers are mapped.
    const std::set<int16> mapped{1,  2,  3,  4,  5,  6,  11, 12, 21, 22, 23, 24, 31, 32, 41, 42,
                                 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 61, 62, 63, 71, 81};
    for (int16 cc = 0; cc < 130; ++cc) {
        ParamID id = 0;
        EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, cc, id) == kResultOk, mapped.count(cc) == 1)
            << "controller " << cc;
    }
}

TEST(ControllerInBundle, ARestoredProcessorStateReachesEveryParameter)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    IPtr<RecordingHandler> handler = owned(new RecordingHandler());
    l.controller()->setComponentHandler(handler);

    // The host restores a project: the processor reads the state, then the
    // controller gets what the processor now says about itself.
    StateBytes b;
    b.header().u8(1).u32(0).u32(5);
    b.value(202, 0.6).value(2, 8.0).value(603, 3.0).value(1, 1.0).value(802, 0.01);
    ASSERT_EQ(l.component()->setState(streamOf(b.bytes)), kResultOk);
    const std::string saved = processorState(l.component());
    ASSERT_EQ(saved.size(), 905u);
    ASSERT_EQ(l.controller()->setComponentState(streamOf(saved)), kResultOk);

    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(kBypass), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(202), 0.6);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(2), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(603), 0.75);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(1), 1.0);
    EXPECT_DOUBLE_EQ(l.controller()->getParamNormalized(802), 0.0);
    EXPECT_EQ(l.instance->parameterText(603, l.controller()->getParamNormalized(603)), "1/4");
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

TEST(ControllerInBundle, StatesOfAnotherFormatOrCutShortAreRefused)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    IPtr<RecordingHandler> handler = owned(new RecordingHandler());
    l.controller()->setComponentHandler(handler);

    std::string saved = processorState(l.component());
    std::string otherFormat = saved;
    otherFormat[6] = '1'; // "2.1"
    for (size_t i = 17; i + 12 <= otherFormat.size(); i += 12)
        otherFormat.replace(i + 4, 8, std::string("\0\0\0\0\0\0\xF0\x3F", 8)); // every value 1.0
    EXPECT_EQ(l.controller()->setComponentState(streamOf(otherFormat)), kResultFalse);
    EXPECT_NEAR(l.controller()->getParamNormalized(202), 0.3, 1e-12);
    EXPECT_TRUE(handler->restarts.empty());

    // Cut in the middle of the value pairs: refused whole, as the processor
    // refuses it, so the editor never shows settings the processor lacks.
    std::string cut = otherFormat;
    cut[6] = '0';
    cut.resize(17 + 12 * 3 + 5);
    std::vector<double> before;
    for (const ParamID id : {1u, 2u, 3u, 100u, 101u}) before.push_back(l.controller()->getParamNormalized(id));
    EXPECT_EQ(l.controller()->setComponentState(streamOf(cut)), kResultFalse);
    std::vector<double> after;
    for (const ParamID id : {1u, 2u, 3u, 100u, 101u}) after.push_back(l.controller()->getParamNormalized(id));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(handler->restarts.empty());

    EXPECT_EQ(l.controller()->setComponentState(nullptr), kInvalidArgument);
    l.controller()->setComponentHandler(nullptr);
}

TEST(ControllerInBundle, OwnStateIsTheFormatTagAndRoundTrips)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    auto stream = owned(new MemoryStream());
    ASSERT_EQ(l.controller()->getState(stream), kResultOk);
    EXPECT_EQ(std::string(stream->getData(), static_cast<size_t>(stream->getSize())), std::string("\x04\0\0\0"
                                                                                                  "2.0\0",
                                                                                                  8));
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(l.controller()->setState(stream), kResultOk);
    EXPECT_EQ(l.controller()->setState(streamOf(std::string("\x04\0\0\0"
                                                            "2.1\0",
                                                            8))),
              kResultFalse);
    EXPECT_EQ(l.controller()->createView("Editor"), nullptr);
}

// The bundle's own controller offers no way to replace a list, so a controller
// of ours over the module's table (with the Shuffler's length list made
// replaceable) takes its place and joins the bundle's processor the way a host
// joins the two.
TEST(ControllerWithBundleProcessor, AStringListReachesTheProcessorThroughTheConnection)
{
    Loaded l = loadInstance();
    ASSERT_TRUE(l.instance);
    configureModule();
    ParameterTable table = parameterTable();
    ParamRecord length = *table.find(603);
    length.flags |= kListInState;
    table.add(603, length);

    IPtr<test::RecordingController> controller = owned(new test::RecordingController(table));
    ASSERT_EQ(controller->initialize(l.module->hostContext()), kResultOk);
    FUnknownPtr<IConnectionPoint> processorPoint(l.component());
    ASSERT_TRUE(processorPoint);
    ASSERT_EQ(controller->connect(processorPoint), kResultOk);

    StateBytes b;
    b.header().u8(0).u32(0).u32(1).value(603, 4.0);
    ASSERT_EQ(l.component()->setState(streamOf(b.bytes)), kResultOk);

    EXPECT_EQ(controller->setParamStringList(603, {"1/2", "1/4", "1/8"}, true), kResultOk);

    ProcessorStateImage image;
    const std::string saved = processorState(l.component());
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
