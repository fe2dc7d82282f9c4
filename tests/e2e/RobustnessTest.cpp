// Hostile and careless hosts: notes of every kind and number, tempi at both
// ends, a transport that jumps back. The plug-in must keep sounding, keep its
// output bounded and leave no effect on that a note-off or the user cannot end.
#include "common/ParameterIds.h"
#include "e2e/BundleSession.h"
#include "e2e/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vexbit::e2e {
namespace {

constexpr int16_t kTriggerNotes[] = {48, 50, 52, 53, 55, 57, 59, 60};

void expectFiniteAndBounded(const Rendering& r)
{
    for (size_t n = 0; n < r.left.size(); ++n) {
        ASSERT_TRUE(std::isfinite(r.left[n]) && std::isfinite(r.right[n])) << n;
        // Resonant filters on a full delay loop may lift noise peaks a hundredfold
        // for a moment; a feedback that runs away would pass any such bound.
        ASSERT_LT(std::fabs(r.left[n]), 1000.0f) << n;
        ASSERT_LT(std::fabs(r.right[n]), 1000.0f) << n;
    }
}

// After AutoPlay is switched off, every trigger note released and the
// longest AutoPlay length has passed, every effect must be off.
void expectEverythingEnds(BundleSession& session, double tempo)
{
    Script end;
    end.transport.tempo = tempo;
    end.length = static_cast<int64_t>(5 * session.samplesPerBeat(tempo)) + 8192;
    end.changes = {{0, kAutoPlayId, 0.0}};
    for (int16_t note : kTriggerNotes) end.notes.push_back({0, note, false});
    const Rendering r = session.render(end, {}, 512);
    for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(session.storedValue(effectOnOffId(slot)), 0.0) << "slot " << slot;
}

class AutoPlayTempi : public ::testing::TestWithParam<double> {};

TEST_P(AutoPlayTempi, AutoPlayAtAnyTempoWithTheTransportJumpingBack)
{
    const double tempo = GetParam();
    auto session = BundleSession::open();
    ASSERT_TRUE(session);
    const double spb = session->samplesPerBeat(tempo);
    Script script;
    script.transport.tempo = tempo;
    script.length = 200000;
    script.changes = {{0, kAutoPlayId, 1.0},
                      {0, kMaxConcurrencyId, 1.0},
                      {0, kNoEffectRateId, 0.05},
                      {0, kGranularDryWetId, 0.7},
                      {0, kDelayLevelId, 1.0}};
    for (int slot = 0; slot < 8; ++slot) script.changes.push_back({0, schedulingRateId(slot), 1.0});
    // Loops back, a jump before zero, and a position that only goes down.
    script.transport.jumps = {{40000, 2.0}, {60000, -7.3}, {90000, 0.5}, {120000, 1000.0}, {150000, 3.0}};
    for (int64_t s = 170000; s < script.length; s += 1000)
        script.transport.jumps.push_back({s, 100.0 - static_cast<double>(s - 170000) / spb * 3.0});
    for (int64_t s = 1000; s < script.length; s += 7919) {
        script.notes.push_back({s, kTriggerNotes[(s / 7919) % 8]});
        script.notes.push_back({s + 3001, kTriggerNotes[(s / 7919) % 8], false});
        script.notes.push_back({s + 17, static_cast<int16_t>(72 + (s % 13))});
    }
    const Rendering r = session->render(script, noise(44100, 2), 441);
    expectFiniteAndBounded(r);

    // The MIDI output keeps pace with what happens rather than piling up.
    EXPECT_LT(r.events.size(), 20000u);
    expectEverythingEnds(*session, tempo);
}

INSTANTIATE_TEST_SUITE_P(Tempi, AutoPlayTempi, ::testing::Values(20.0, 60.0, 93.7, 174.0, 600.0, 999.0));

} // namespace
} // namespace vexbit::e2e
