// A DAW may cut the same project into blocks of any size: the same notes and
// parameter changes at the same samples must give the same sound and the same
// MIDI output.
#include "common/ParameterIds.h"
#include "e2e/BundleSession.h"
#include "e2e/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexbit::e2e {
namespace {

// Busy on purpose: AutoPlay draws often and may stack effects, notes switch
// and redraw effects, and settings change while they run.
Script busyProject(double tempo, int64_t length)
{
    Script s;
    s.transport.tempo = tempo;
    s.transport.startQuarters = 3.3;
    s.length = length;
    s.changes = {{0, kAutoPlayId, 1.0},
                 {0, kMaxConcurrencyId, 1.0}, // 8
                 {0, kNoEffectRateId, 200.0 / 1200.0},
                 {0, kGranularDryWetId, 0.6},
                 {0, schedulingLengthId(2), 0.2}, // Filter Length "1/8 Note"
                 {0, schedulingLengthId(6), 1.0}, // Reverser Length "Infinite"
                 {20000, kDelayLevelId, 0.9},
                 {33333, kRetriggerBeatSyncId, 0.0},  // off
                 {47000, kShufflerSimpleModeId, 0.0}, // off
                 {47000, kFirstShufflerRateId + 2, 0.8},
                 {61111, kLowPassFreqId, 0.3},
                 {70001, kGatorSpeedId, 0.7},
                 {90000, kAutoPlayId, 0.0}, // off for a while
                 {110000, kAutoPlayId, 1.0}};
    s.notes = {{5000, 48},         {9000, 72},   {12345, 55},        {15000, 48, false}, {22050, 79},
               {30000, 57},        {30000, 59},  {41000, 57, false}, {52000, 76},        {60000, 53},
               {64000, 59, false}, {80000, 81},  {81000, 53, false}, {99999, 60},        {120000, 60, false},
               {130000, 74},       {140000, 48}, {150000, 48, false}};
    return s;
}

struct MidiLine {
    int64_t sample;
    uint16_t type;
    int32_t number;
    int32_t value;
    bool operator==(const MidiLine&) const = default;
};

std::vector<MidiLine> midiOf(const Rendering& r)
{
    std::vector<MidiLine> lines;
    for (const OutputEvent& e : r.events) {
        const Event& ev = e.event;
        if (ev.type == Event::kLegacyMIDICCOutEvent)
            lines.push_back({e.sample, ev.type, ev.midiCCOut.controlNumber, ev.midiCCOut.value});
        else
            lines.push_back({e.sample, ev.type, ev.noteOn.pitch, 0});
    }
    return lines;
}

class BlockSizes : public ::testing::TestWithParam<double> {};

TEST_P(BlockSizes, TheSameProjectSoundsTheSameWhateverTheBlockSize)
{
    const double tempo = GetParam();
    auto sessions = BundleSession::openTwins(3);
    ASSERT_EQ(sessions.size(), 3u);
    for (const auto& s : sessions) ASSERT_TRUE(s);
    const Script project = busyProject(tempo, 160000);
    const auto input = noise(44100, 9);

    const int32_t blockSizes[] = {32, 441, 4096};
    std::vector<Rendering> renders;
    for (size_t i = 0; i < 3; ++i) renders.push_back(sessions[i]->render(project, input, blockSizes[i]));

    // Something happened: the effects moved the output away from the input.
    const auto switches = midiOf(renders[0]);
    EXPECT_GT(switches.size(), 100u);

    for (size_t i = 1; i < 3; ++i) {
        ASSERT_EQ(renders[i].left.size(), renders[0].left.size());
        size_t firstDifference = renders[0].left.size();
        for (size_t n = 0; n < renders[0].left.size(); ++n) {
            if (std::fabs(renders[i].left[n] - renders[0].left[n]) > 1e-6f ||
                std::fabs(renders[i].right[n] - renders[0].right[n]) > 1e-6f) {
                firstDifference = n;
                break;
            }
        }
        EXPECT_EQ(firstDifference, renders[0].left.size())
            << "blocks of " << blockSizes[i] << " part from blocks of 32 at sample " << firstDifference;
        const auto midi = midiOf(renders[i]);
        EXPECT_TRUE(midi == switches) << "MIDI output differs with blocks of " << blockSizes[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Tempi, BlockSizes, ::testing::Values(120.0, 93.7));

} // namespace
} // namespace vexbit::e2e
