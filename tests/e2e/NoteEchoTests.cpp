// Notes and transport starts through the built bundle: what they do to the
// audio, what the plug-in echoes on its event output and what the host hears.
#include "e2e/BundleSession.h"
#include "e2e/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexbit::e2e {
namespace {

using Steinberg::Vst::Event;

Script playingScript(int64_t length)
{
    Script s;
    s.length = length;
    return s;
}

std::vector<OutputEvent> eventsOfType(const Rendering& r, uint16_t type, int64_t after = 0)
{
    std::vector<OutputEvent> found;
    for (const OutputEvent& e : r.events)
        if (e.event.type == type && e.sample > after) found.push_back(e);
    return found;
}

// The last value the host heard for id, or NaN.
double lastReport(const Rendering& r, ParamID id)
{
    double value = std::nan("");
    for (const Report& report : r.reports)
        if (report.id == id) value = report.normalized;
    return value;
}

TEST(NotesThroughTheBundle, ATriggerNoteEngagesItsEffectAtItsSampleAndEchoesThere)
{
    auto reference = BundleSession::open();
    auto played = BundleSession::open();
    ASSERT_TRUE(reference && played);
    const auto input = noise(16384, 3);
    Script script = playingScript(8192);
    const Rendering dry = reference->render(script, input, 512);
    script.notes = {{200, 52}};
    const Rendering wet = played->render(script, input, 512);

    // The chain plays one sample late, so the first filtered sample is heard at 201.
    for (size_t n = 0; n <= 200; ++n) ASSERT_EQ(dry.left[n], wet.left[n]) << n;
    EXPECT_NE(dry.left[201], wet.left[201]);

    const auto noteOns = eventsOfType(wet, Event::kNoteOnEvent);
    ASSERT_EQ(noteOns.size(), 1u);
    EXPECT_EQ(noteOns[0].sample, 200);
    EXPECT_EQ(noteOns[0].event.noteOn.pitch, 52);
    EXPECT_EQ(noteOns[0].event.noteOn.channel, 0);
    EXPECT_EQ(noteOns[0].event.busIndex, 0);

    // The host and its controller hear the switch once enough samples have passed.
    EXPECT_EQ(lastReport(wet, 401), 1.0);
    EXPECT_EQ(played->controllerValue(401), 1.0);
    EXPECT_EQ(played->storedValue(401), 1.0);
}

TEST(NotesThroughTheBundle, TheDelaysRandomiseNoteRedrawsItsSettingsAndEchoesEachOne)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    Script script = playingScript(8192);
    script.transport.playFrom = script.length; // stopped, so no transport-start echo
    script.notes = {{100, 72}, {3000, 72, false}};
    const Rendering r = session->render(script, noise(4096, 4), 512);

    const auto controllers = eventsOfType(r, Event::kLegacyMIDICCOutEvent);
    ASSERT_EQ(controllers.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const auto& cc = controllers[i].event.midiCCOut;
        const ParamID id = 202 + static_cast<ParamID>(i);
        EXPECT_EQ(controllers[i].sample, 100);
        EXPECT_EQ(cc.controlNumber, i + 1);
        // The echo carries the value the host is told about.
        const double reported = lastReport(r, id);
        ASSERT_FALSE(std::isnan(reported)) << id;
        EXPECT_EQ(cc.value, static_cast<int>(reported * 127.0)) << id;
        EXPECT_DOUBLE_EQ(normalizedOf(id, session->storedValue(id)), reported) << id;
    }
    EXPECT_EQ(lastReport(r, 299), 0.0);
    EXPECT_TRUE(eventsOfType(r, Event::kNoteOnEvent).empty());
    EXPECT_TRUE(eventsOfType(r, Event::kNoteOffEvent).empty());
}

TEST(NotesThroughTheBundle, ATransportStartEchoesTheContinuousParametersAt300)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    Script script = playingScript(2048);
    script.transport.playFrom = 512;
    const Rendering r = session->render(script, noise(2048, 5), 512);

    const std::vector<std::pair<ParamID, int>> expected{
        {202, 1},  {203, 2},  {204, 3},  {205, 4},  {206, 5},  {207, 6},  {302, 11}, {303, 12}, {402, 21}, {403, 22},
        {404, 23}, {405, 24}, {502, 31}, {503, 32}, {611, 41}, {612, 42}, {613, 43}, {614, 44}, {615, 45}, {616, 46},
        {617, 47}, {618, 48}, {619, 49}, {620, 50}, {702, 61}, {703, 62}, {802, 71}, {902, 81}};
    const auto controllers = eventsOfType(r, Event::kLegacyMIDICCOutEvent);
    ASSERT_EQ(controllers.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(controllers[i].sample, 512 + 300);
        EXPECT_EQ(controllers[i].event.midiCCOut.controlNumber, expected[i].second);
        EXPECT_EQ(controllers[i].event.midiCCOut.value, static_cast<int>(defaultNormalized(expected[i].first) * 127.0))
            << expected[i].first;
    }
}

// AutoPlay with only the Gator enabled and nothing else to draw: the Gator runs
// from the first sixteenth note on, and every switch falls on a sixteenth.
class AutoPlayThroughTheBundle : public ::testing::TestWithParam<double> {};

TEST_P(AutoPlayThroughTheBundle, StartsOnTheFirstSixteenthAndSwitchesOnlyOnSixteenths)
{
    const double tempo = GetParam();
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    const double spb = session->samplesPerBeat(tempo);
    Script script;
    script.transport.tempo = tempo;
    script.transport.startQuarters = 0.1;
    script.length = static_cast<int64_t>(8 * spb);
    script.changes = {{0, 1, 1.0}, {0, 3, 0.0}};
    for (ParamID slot = 0; slot < 7; ++slot) script.changes.push_back({0, 100 + 10 * slot, 0.0});
    const Rendering r = session->render(script, noise(4096, 6), 512);

    // Sample 0 carries what the plug-in echoed while it was set up.
    std::vector<OutputEvent> notes;
    for (const OutputEvent& e : r.events)
        if (e.sample > 0 && (e.event.type == Event::kNoteOnEvent || e.event.type == Event::kNoteOffEvent))
            notes.push_back(e);
    ASSERT_GE(notes.size(), 4u);
    EXPECT_EQ(notes.front().event.type, Event::kNoteOnEvent);
    EXPECT_NEAR(static_cast<double>(notes.front().sample), 0.15 * spb, 1.0);
    int ons = 0;
    for (const OutputEvent& e : notes) {
        EXPECT_EQ(e.event.noteOn.pitch, 60);
        const double sixteenths = (0.1 + static_cast<double>(e.sample) / spb) * 4.0;
        EXPECT_NEAR(sixteenths, std::round(sixteenths), 1.5 * 4.0 / spb) << e.sample;
        const double stamped = e.event.ppqPosition * 4.0;
        EXPECT_NEAR(stamped, std::round(stamped), 1.5 * 4.0 / spb) << e.sample;
        ons += e.event.type == Event::kNoteOnEvent ? 1 : 0;
    }
    // An expiring Gator is drawn again on the same sixteenth: off and on together.
    EXPECT_EQ(ons, static_cast<int>(notes.size()) - ons + 1);
    EXPECT_EQ(lastReport(r, 901), 1.0);
    EXPECT_EQ(session->controllerValue(901), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Tempi, AutoPlayThroughTheBundle, ::testing::Values(120.0, 93.7));

} // namespace
} // namespace vexbit::e2e
