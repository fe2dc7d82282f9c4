// Notes and transport starts through the built bundle: what they do to the
// audio, what the plug-in echoes on its event output and what the host hears.
#include "common/ParameterIds.h"
#include "e2e/BundleSession.h"
#include "e2e/TestSignals.h"

#include <gtest/gtest.h>

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cmath>
#include <map>
#include <set>

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
    EXPECT_EQ(played->storedValue(kFilterOnOffId), 1.0);
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

// The controller number the host's MIDI mapping gives a parameter, or -1.
int mappedController(const BundleSession& session, ParamID id)
{
    Steinberg::FUnknownPtr<Steinberg::Vst::IMidiMapping> mapping(session.instance().controller());
    for (int16_t cc = 0; mapping && cc < 128; ++cc) {
        ParamID mapped = 0;
        if (mapping->getMidiControllerAssignment(0, 0, cc, mapped) == Steinberg::kResultOk && mapped == id) return cc;
    }
    return -1;
}

// A host that maps a controller to a parameter must hear that same controller
// back when the parameter changes, or its MIDI learn and the echo disagree.
TEST(NotesThroughTheBundle, EveryParameterEchoesTheControllerTheHostMapsToIt)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    const auto parameters = session->instance().parameters();
    Script script = playingScript(64 * static_cast<int64_t>(parameters.size() + 2));
    script.transport.playFrom = script.length; // stopped, so no transport-start echo
    std::map<int64_t, ParamID> changedAt;
    for (size_t i = 0; i < parameters.size(); ++i) {
        const ParamID id = parameters[i].id;
        // A Randomise redraws other parameters; Bypass echoes nothing of its own.
        if (id % 100 == 99 || (parameters[i].flags & Steinberg::Vst::ParameterInfo::kIsBypass) != 0) continue;
        const int64_t sample = 64 * static_cast<int64_t>(i + 1);
        script.changes.push_back({sample, id, parameters[i].defaultNormalized < 0.5 ? 1.0 : 0.0});
        changedAt[sample] = id;
    }
    const Rendering r = session->render(script, noise(4096, 7), 512);

    std::map<ParamID, std::set<int>> echoed;
    // eventsOfType leaves out sample 0, where the echoes of the set-up land.
    for (const OutputEvent& e : eventsOfType(r, Event::kLegacyMIDICCOutEvent)) {
        const auto at = changedAt.find(e.sample);
        ASSERT_NE(at, changedAt.end()) << "echo at " << e.sample;
        echoed[at->second].insert(e.event.midiCCOut.controlNumber);
    }
    for (const auto& [sample, id] : changedAt) {
        const int cc = mappedController(*session, id);
        SCOPED_TRACE(testing::Message() << "parameter " << id << ", controller " << cc);
        // Simple mode only picks the Shuffler's page: it is mapped, yet silent.
        const size_t expected = cc < 0 || id == 602 ? 0u : 1u;
        EXPECT_EQ(echoed[id].count(cc), expected);
    }
    // Whatever is echoed is a controller the host can map back to a parameter.
    for (const auto& [id, controllers] : echoed)
        for (int cc : controllers) {
            ParamID mapped = 0;
            Steinberg::FUnknownPtr<Steinberg::Vst::IMidiMapping> mapping(session->instance().controller());
            EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, static_cast<int16_t>(cc), mapped),
                      Steinberg::kResultOk)
                << "controller " << cc << " echoed for " << id;
        }
}

TEST(NotesThroughTheBundle, ATransportStartEchoesTheContinuousParametersAt300)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    Script script = playingScript(2048);
    script.transport.playFrom = 512;
    const Rendering r = session->render(script, noise(2048, 5), 512);

    // Every mapped parameter that is neither a switch nor a list, at its default.
    std::map<int, ParamID> expected;
    for (const auto& p : session->instance().parameters()) {
        const int cc = mappedController(*session, p.id);
        if (cc >= 0 && p.stepCount != 1 && (p.flags & Steinberg::Vst::ParameterInfo::kIsList) == 0) expected[cc] = p.id;
    }
    const auto controllers = eventsOfType(r, Event::kLegacyMIDICCOutEvent);
    ASSERT_EQ(controllers.size(), expected.size());
    std::set<int> heard;
    for (const OutputEvent& e : controllers) {
        const int cc = e.event.midiCCOut.controlNumber;
        ASSERT_EQ(expected.count(cc), 1u) << cc;
        EXPECT_TRUE(heard.insert(cc).second) << cc;
        EXPECT_EQ(e.sample, 512 + 300);
        EXPECT_EQ(e.event.midiCCOut.value, static_cast<int>(defaultNormalized(expected[cc]) * 127.0)) << cc;
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
    script.changes = {{0, kAutoPlayId, 1.0}, {0, kNoEffectRateId, 0.0}};
    for (int slot = 0; slot < 7; ++slot) script.changes.push_back({0, schedulingEnableId(slot), 0.0});
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
