// What a render produces: the audio through our plug-in and through another
// vendor's, the notes the plug-in echoes, and the timeline picture.
#include "tools/TestFiles.h"

#include "host/AudioFile.h"
#include "host/Timeline.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace vexbit::test {
namespace {

constexpr double kRate = 44100.0;

host::AudioBuffer readBack(const std::string& path)
{
    std::string error;
    auto audio = host::readAudioFile(path, error);
    EXPECT_TRUE(audio.has_value()) << error;
    return audio ? *audio : host::AudioBuffer{};
}

// "frame,event,pitch" of every note echo in an events file.
std::vector<std::tuple<long, std::string, int>> noteEchoes(const std::string& csv)
{
    std::vector<std::tuple<long, std::string, int>> echoes;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line); // header
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ',')) fields.push_back(cell);
        if (fields.size() == 7 && fields[3] != "controller")
            echoes.emplace_back(std::stol(fields[0]), fields[3], std::stoi(fields[5]));
    }
    return echoes;
}

TEST(RenderOutput, WithEveryEffectOffTheOutputIsTheInputOneSampleLate)
{
    TempFolder dir;
    const auto left = sine(440.0, kRate, 22050);
    const auto right = sine(660.0, kRate, 22050, 0.25f);
    writeFloatWav(dir.path("in.wav"), kRate, left, right);

    // Odd block sizes put block edges everywhere; the result must not depend on them.
    for (const char* block : {"512", "37"}) {
        SCOPED_TRACE(block);
        const ToolRun run = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("out.wav"), "--block", block});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("22050 frames"), std::string::npos) << run.out;

        const host::AudioBuffer out = readBack(dir.path("out.wav"));
        ASSERT_EQ(out.frames(), left.size());
        EXPECT_EQ(out.sampleRate, kRate);
        EXPECT_EQ(out.left[0], 0.0f);
        // The start-up ramp of the output gain lasts ten samples.
        for (std::size_t n = 10; n < out.frames(); ++n) {
            ASSERT_NEAR(out.left[n], left[n - 1], 1e-6f) << "frame " << n;
            ASSERT_NEAR(out.right[n], right[n - 1], 1e-6f) << "frame " << n;
        }
    }
}

TEST(RenderOutput, TailExtendsTheOutputWithTheInputFormatKept)
{
    TempFolder dir;
    writeFloatWav(dir.path("in.wav"), 48000.0, sine(440.0, 48000.0, 4800), {});
    const ToolRun run = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("out.wav"), "--tail", "0.5"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string error;
    host::AudioFileFormat format;
    const auto out = host::readAudioFile(dir.path("out.wav"), error, &format);
    ASSERT_TRUE(out) << error;
    EXPECT_EQ(out->frames(), 4800u + 24000u);
    EXPECT_EQ(out->sampleRate, 48000.0);
    EXPECT_EQ(format.channels, 2);                       // a mono input comes out stereo
    EXPECT_EQ(format.libsndfileFormat & 0xFFFF, 0x0006); // still 32-bit float
}

TEST(RenderOutput, FilterNoteFromAMidiFileEngagesTheFilterAtItsSample)
{
    TempFolder dir;
    // 3 kHz lies inside the band the Filter keeps (1 to 5 kHz); 150 Hz lies well below it.
    const std::size_t frames = 88200;
    auto mix = sine(3000.0, kRate, frames, 0.3f);
    const auto low = sine(150.0, kRate, frames, 0.3f);
    for (std::size_t i = 0; i < frames; ++i) mix[i] += low[i];
    writeFloatWav(dir.path("in.wav"), kRate, mix, mix);
    // At 120 BPM beat 1 is frame 22050 and beat 3 frame 66150.
    writeMidiFile(dir.path("notes.mid"), {{52, 1.0, 3.0}});

    const ToolRun run = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("out.wav"), "--midi",
                                   dir.path("notes.mid"), "--events", dir.path("events.csv")});
    ASSERT_EQ(run.status, 0) << run.err;

    std::vector<std::tuple<long, std::string, int>> filterEchoes;
    for (const auto& e : noteEchoes(readTextFile(dir.path("events.csv"))))
        if (std::get<2>(e) == 52 && std::get<0>(e) > 0) filterEchoes.push_back(e);
    ASSERT_EQ(filterEchoes.size(), 2u);
    EXPECT_EQ(filterEchoes[0], std::make_tuple(22050L, std::string("note-on"), 52));
    EXPECT_EQ(filterEchoes[1], std::make_tuple(66150L, std::string("note-off"), 52));

    const host::AudioBuffer out = readBack(dir.path("out.wav"));
    ASSERT_EQ(out.frames(), frames);
    auto level = [&](std::size_t begin, std::size_t end, double f) {
        return toneLevel(out.left, begin, end, f, kRate);
    };
    // Just before the note both tones pass; just after it the low one is gone.
    // Windows of 2940 frames hold whole cycles of both tones.
    EXPECT_NEAR(level(19110, 22050, 150.0), 0.3, 0.03);
    EXPECT_NEAR(level(19110, 22050, 3000.0), 0.3, 0.03);
    EXPECT_LT(level(22491, 25431, 150.0), 0.3 * 0.1);
    EXPECT_GT(level(22491, 25431, 3000.0), 0.3 * 0.5);
    // Released, the filter lets it through again.
    EXPECT_NEAR(level(67620, 88200, 150.0), 0.3, 0.03);
}

TEST(RenderOutput, RendersThroughAMonoPluginOfAnotherVendor)
{
    const std::string zamDelay = "/usr/lib/vst3/ZamDelay.vst3";
    if (!std::filesystem::exists(zamDelay)) GTEST_SKIP() << zamDelay << " is not installed";
    TempFolder dir;
    std::vector<float> click(44100, 0.0f);
    click[1000] = 0.8f;
    writeFloatWav(dir.path("in.wav"), kRate, click, click);

    const ToolRun run = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("out.wav"), "--plugin", zamDelay,
                                   "--set", "Dry/Wet=1", "--set", "Time=100"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("ZamDelay"), std::string::npos);
    const host::AudioBuffer out = readBack(dir.path("out.wav"));
    ASSERT_EQ(out.frames(), click.size());
    // Its one channel reaches both sides; the echo comes 100 ms after the click.
    std::size_t loudest = 0;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        ASSERT_EQ(out.left[i], out.right[i]);
        if (std::fabs(out.left[i]) > std::fabs(out.left[loudest])) loudest = i;
    }
    EXPECT_NEAR(static_cast<double>(loudest), 1000.0 + 4410.0, 20.0);
}

TEST(RenderOutput, TimelineShowsOneLanePerEffectWithTheEngagedSpans)
{
    TempFolder dir;
    writeFloatWav(dir.path("in.wav"), kRate, sine(220.0, kRate, 4 * 22050), {});
    const ToolRun run = runVexbit({"render", dir.path("in.wav"), "-o", dir.path("out.wav"), "--note", "52@1:1",
                                   "--timeline", dir.path("t.png"), "--timeline-width", "900"});
    ASSERT_EQ(run.status, 0) << run.err;

    cairo_surface_t* png = cairo_image_surface_create_from_png(dir.path("t.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    const host::TimelineLayout layout = host::timelineLayout(900, 8);
    EXPECT_EQ(cairo_image_surface_get_width(png), 900);
    EXPECT_EQ(cairo_image_surface_get_height(png), layout.height);

    auto brightness = [&](double x, double y) {
        const unsigned char* data = cairo_image_surface_get_data(png);
        const int stride = cairo_image_surface_get_stride(png);
        const auto* pixel =
            reinterpret_cast<const uint32_t*>(data + static_cast<int>(y) * stride) + static_cast<int>(x);
        return (((*pixel >> 16) & 0xFF) + ((*pixel >> 8) & 0xFF) + (*pixel & 0xFF)) / (3.0 * 255.0);
    };
    // Beats 0..4 span the plot; the Filter (lane 2) was engaged from beat 1 to 2.
    auto xAtBeat = [&](double beat) { return layout.plotLeft + (layout.plotRight - layout.plotLeft) * beat / 4.0; };
    auto laneMiddle = [&](std::size_t lane) { return layout.lanes[lane].y + layout.lanes[lane].height / 2; };
    EXPECT_GT(brightness(xAtBeat(1.5), laneMiddle(2)), 0.35);
    EXPECT_LT(brightness(xAtBeat(0.5), laneMiddle(2)), 0.2);
    EXPECT_LT(brightness(xAtBeat(2.5), laneMiddle(2)), 0.2);
    for (std::size_t lane : {0u, 1u, 3u, 4u, 5u, 6u, 7u})
        EXPECT_LT(brightness(xAtBeat(1.5), laneMiddle(lane)), 0.2) << "lane " << lane;
    cairo_surface_destroy(png);
}

TEST(RenderOutput, DemoWritesTheDryLoopTheRenderAndThePicture)
{
    TempFolder dir;
    const ToolRun run = runVexbit({"demo", "-o", dir.path("demo")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(dir.path("demo")), std::string::npos) << run.out;

    const host::AudioBuffer dry = readBack(dir.path("demo/demo-dry.wav"));
    const host::AudioBuffer wet = readBack(dir.path("demo/demo.wav"));
    EXPECT_EQ(dry.frames(), 8u * 44100u); // four bars at 120 BPM
    EXPECT_EQ(wet.frames(), dry.frames() + 44100u);
    float peak = 0.0f;
    for (std::size_t i = 0; i < dry.frames(); ++i)
        peak = std::max({peak, std::fabs(dry.left[i]), std::fabs(dry.right[i])});
    EXPECT_NEAR(peak, 0.891f, 0.01f);
    cairo_surface_t* png = cairo_image_surface_create_from_png(dir.path("demo/demo.png").c_str());
    EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), host::kDefaultTimelineWidth);
    cairo_surface_destroy(png);
}

TEST(RenderOutput, BenchTimesEachBundleOnTheSameAudio)
{
    const ToolRun run = runVexbit({"bench", "--seconds", "0.5", "--runs", "3", "--block", "256", "", "?AutoPlay=On"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("0.5 s of audio at 44100 Hz in blocks of 256; median of 3 interleaved runs"),
              std::string::npos)
        << run.out;
    // One row per bundle; the first compares with itself.
    EXPECT_NE(run.out.find("1.00  Vexbit Glitch\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Vexbit Glitch ?AutoPlay=On\n"), std::string::npos) << run.out;
}

} // namespace
} // namespace vexbit::test
