#include "engine/ReverserUnit.h"
#include "engine/RampFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using vexbit::ReverserUnit;

namespace {
// The unit holds two large rings: keep it off the stack.
std::unique_ptr<ReverserUnit> makeReverser()
{
    return std::make_unique<ReverserUnit>();
}

// Switches on, lets the fade-in finish, then switches on again, which starts a
// segment at full level.
void engageFully(ReverserUnit& u, int& t)
{
    u.setEngaged(true);
    feedRamp(u, t, 20);
    u.setEngaged(true);
}

} // namespace

TEST(Reverser, SegmentsReplayThePrecedingInputBackwards)
{
    auto u = makeReverser();
    int t = 1;
    u->setSampleRate(4000.0);
    u->setLength(0.01, 120.0); // the 1 ms floor: four samples at 4 kHz
    ASSERT_EQ(u->length(), 4);
    feedRamp(*u, t, 100);
    engageFully(*u, t);
    const int t0 = t;
    const auto out = feedRamp(*u, t, 12);
    const std::vector<float> expected{float(t0 - 1), float(t0 - 2), float(t0 - 3), float(t0 - 4),
                                      float(t0 + 3), float(t0 + 2), float(t0 + 1), float(t0),
                                      float(t0 + 7), float(t0 + 6), float(t0 + 5), float(t0 + 4)};
    EXPECT_EQ(out, expected);
}

TEST(Reverser, SwitchingOnFadesInOverTwentySamplesAndOffPassesInput)
{
    auto u = makeReverser();
    int t = 1;
    // Off: the output is the input, while the segment clock and rings run.
    const auto dry = feedRamp(*u, t, 20000);
    for (size_t i = 0; i < dry.size(); ++i) ASSERT_EQ(dry[i], float(i + 1));

    // A new segment starts with the newest sample; it is fully heard from the
    // twenty-first sample on.
    u->setEngaged(true);
    const int t0 = t;
    const auto fading = feedRamp(*u, t, 21);
    EXPECT_NE(fading[19], float(t0 - 1 - 19));
    EXPECT_EQ(fading[20], float(t0 - 1 - 20));
    u->setEngaged(false);
    feedRamp(*u, t, 20);
    const int from = t;
    const auto after = feedRamp(*u, t, 100);
    for (size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], float(from + static_cast<int>(i))) << i;
}
