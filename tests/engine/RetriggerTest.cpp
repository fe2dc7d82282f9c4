#include "engine/RetriggerUnit.h"
#include "engine/RampFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::RetriggerUnit;

namespace {
constexpr int kEighth = 11025; // an eighth note at 120 BPM and 44100 Hz

std::unique_ptr<RetriggerUnit> makeRetrigger()
{
    return std::make_unique<RetriggerUnit>();
}

// Beat-synchronised, with eighth-note slices.
std::unique_ptr<RetriggerUnit> makeBeatSynced()
{
    auto u = makeRetrigger();
    u->setBeatSync(true);
    u->setSliceLength(4.0, 120.0);
    return u;
}

} // namespace

TEST(Retrigger, FreeModeRepeatsTheFirstSliceAfterSwitchOn)
{
    auto u = makeRetrigger();
    u->setSliceLength(4.0, 120.0);
    ASSERT_EQ(u->sliceLength(), float(kEighth));
    int t = 1;
    feedRamp(*u, t, 1000);
    const int t0 = t;
    u->setEngaged(true);
    const auto out = feedRamp(*u, t, 3 * kEighth + 100);
    EXPECT_EQ(out[0], float(t0)); // nothing recorded yet: dry
    for (int k = 1; k < 21; ++k) {
        // fading in between the dry ramp and the slice
        EXPECT_LE(out[k], float(t0 + k) + 0.5f);
        EXPECT_GE(out[k], float(t0 + (k - 1)) - 0.5f);
    }
    for (size_t k = 21; k < out.size(); ++k) ASSERT_EQ(out[k], float(t0 + (static_cast<int>(k) - 1) % kEighth)) << k;
}

TEST(Retrigger, BeatSyncedRepeatsStartOnTheLastBeat)
{
    auto u = makeBeatSynced();
    int t = 1;
    feedRamp(*u, t, 30000);
    u->beatTick();
    const int beat = t;
    feedRamp(*u, t, 5512); // a quarter of a beat later
    u->setEngaged(true);
    const int start = t;
    const auto out = feedRamp(*u, t, 3 * kEighth);
    EXPECT_EQ(out[0], float(start));
    for (size_t k = 20; k < out.size(); ++k) ASSERT_EQ(out[k], float(beat + static_cast<int>(k) % kEighth)) << k;
}
