// The bundle's process call allocates nothing, however busy the engine gets.
// This program replaces the global operator new and exports it, so the
// loaded bundle's allocations are counted too.
#include "AllocationCounter.h"
#include "common/ParameterIds.h"
#include "e2e/BundleSession.h"
#include "e2e/TestSignals.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

namespace vexbit::e2e {
namespace {

TEST(BundleAllocations, ProcessAllocatesNothingWhileNotesAutoPlayAndRandomiseRun)
{
    auto session = BundleSession::open();
    ASSERT_TRUE(session);

    // The counter sees the bundle's own allocations: restoring a state makes some.
    Steinberg::MemoryStream stream;
    ASSERT_EQ(session->component()->getState(&stream), Steinberg::kResultOk);
    stream.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    const long restoring = vexbit::test::allocationsDuring(
        [&] { EXPECT_EQ(session->component()->setState(&stream), Steinberg::kResultOk); });
    ASSERT_GT(restoring, 0) << "the bundle's operator new is not the counted one";

    Script script;
    script.transport.tempo = 174.0;
    script.length = 120000;
    script.changes = {{0, kAutoPlayId, 1.0},
                      {0, kMaxConcurrencyId, 1.0},
                      {0, kNoEffectRateId, 0.0},
                      {0, kGranularDryWetId, 0.5},
                      {0, kShufflerSimpleModeId, 0.0}};
    for (int64_t s = 500; s < script.length; s += 2500) {
        script.notes.push_back({s, static_cast<int16_t>(48 + (s / 2500) % 37)});
        script.notes.push_back({s + 1200, static_cast<int16_t>(48 + (s / 2500) % 37), false});
        script.changes.push_back({s + 77, static_cast<Steinberg::Vst::ParamID>(kDelayLevelId + (s / 2500) % 6), 0.4});
    }
    bool warm = false;
    long duringProcess = 0;
    session->render(script, noise(8192, 3), 256, [&](bool entering) {
        // The first call may still settle the host's side; count from the second.
        if (entering && warm) {
            vexbit::test::startCountingAllocations();
        } else if (!entering) {
            const long made = vexbit::test::stopCountingAllocations();
            if (warm) duringProcess += made;
            warm = true;
        }
    });
    EXPECT_EQ(duringProcess, 0);
}

} // namespace
} // namespace vexbit::e2e
