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

TEST(Retrigger, PitchUpPassesDryForOneSliceThenPlaysDoubleSpeedThenSilence)
{
    auto u = makeRetrigger();
    u->setSliceLength(4.0, 120.0);
    u->setPitchSemitones(12.0);
    ASSERT_EQ(u->pitch(), 2.0f);
    int t = 1;
    feedRamp(*u, t, 500);
    const int t0 = t;
    u->setEngaged(true);
    const auto out = feedRamp(*u, t, 4 * kEighth);
    for (int k = 0; k <= kEighth; ++k) ASSERT_EQ(out[k], float(t0 + k)) << k;
    for (int k = kEighth + 20; k < 4 * kEighth; ++k) {
        const int j = (k - kEighth) % kEighth; // sample within the repeat
        const float expected = 2 * j < kEighth ? float(t0 + 2 * j) : 0.0f;
        ASSERT_EQ(out[k], expected) << k;
    }
}

TEST(Retrigger, PitchDownPlaysTheSliceStartSlowed)
{
    auto u = makeRetrigger();
    u->setSliceLength(4.0, 120.0);
    u->setPitchSemitones(-12.0);
    ASSERT_EQ(u->pitch(), 0.5f);
    int t = 1;
    feedRamp(*u, t, 500);
    const int t0 = t;
    u->setEngaged(true);
    const auto out = feedRamp(*u, t, 2 * kEighth);
    for (int k = 21; k < 2 * kEighth; ++k) {
        const int j = (k - 1) % kEighth;
        ASSERT_FLOAT_EQ(out[k], float(t0) + 0.5f * float(j)) << k;
    }
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

TEST(Retrigger, ModeSwitchedBackBeforeTheNextBeatRepeatsFromTheLastOne)
{
    auto u = makeBeatSynced();
    int t = 1;
    feedRamp(*u, t, 1000);
    u->beatTick();
    const int beat = t;
    u->setBeatSync(false); // the free mode records on from the beat
    feedRamp(*u, t, 3000);
    u->setBeatSync(true);
    feedRamp(*u, t, 1);
    u->setEngaged(true);
    const auto out = feedRamp(*u, t, 200);
    for (int k = 20; k < 200; ++k) ASSERT_EQ(out[k], float(beat + k)) << k;
}

TEST(Retrigger, ABeatWhileEngagedTakesOverOnlyOnceTheRepeatHasFadedOut)
{
    auto u = makeBeatSynced();
    int t = 1;
    feedRamp(*u, t, 30000);
    u->beatTick();
    const int firstBeat = t;
    feedRamp(*u, t, 100);
    u->setEngaged(true);
    feedRamp(*u, t, 100);
    u->beatTick();
    u->setBeatSync(true); // applying the same mode again keeps the pending beat
    const int secondBeat = t;
    const auto during = feedRamp(*u, t, 1000);
    for (int k = 0; k < 1000; ++k) ASSERT_EQ(during[k], float(firstBeat + (100 + k) % kEighth)) << k;

    u->setEngaged(false);
    feedRamp(*u, t, 21); // the fade-out still records into the slice; then idle
    feedRamp(*u, t, 500);
    u->setEngaged(true);
    const auto again = feedRamp(*u, t, 200);
    for (int k = 20; k < 200; ++k) ASSERT_EQ(again[k], float(secondBeat + k)) << k;
}

TEST(Retrigger, LengthPitchAndSampleRateSettings)
{
    auto u = makeRetrigger();
    u->setSliceLength(0.01, 120.0); // 0.625 ms, raised to 1 ms
    EXPECT_FLOAT_EQ(u->sliceLength(), 44.1f);
    u->setSliceLength(4.0, 120.0);
    u->setSampleRate(96000.0);
    EXPECT_FLOAT_EQ(u->sliceLength(), 24000.0f);
    u->setSliceLength(4.0, 60.0);
    EXPECT_FLOAT_EQ(u->sliceLength(), 48000.0f);

    // An unusable tempo keeps the last usable one (60 here).
    for (double tempo :
         {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        u->setSliceLength(2.0, tempo);
        EXPECT_FLOAT_EQ(u->sliceLength(), 24000.0f) << tempo;
    }
    u->setSampleRate(0.0);
    u->setSampleRate(std::numeric_limits<double>::quiet_NaN());
    u->setSliceLength(4.0, 60.0); // still at 96 kHz
    EXPECT_FLOAT_EQ(u->sliceLength(), 48000.0f);

    u->setPitchSemitones(7.9);
    EXPECT_FLOAT_EQ(u->pitch(), std::exp2(7.0f / 12.0f));
    u->setPitchSemitones(-0.5);
    EXPECT_EQ(u->pitch(), 1.0f);
    u->setPitchSemitones(1e9);
    EXPECT_EQ(u->pitch(), 16.0f);
    u->setPitchSemitones(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(u->pitch(), 16.0f);
}

TEST(Retrigger, SlicesLongerThanTheBuffersPlayWrappedMaterialWithinBounds)
{
    auto u = makeRetrigger();
    u->setSliceLength(16.0, 1e-9);
    EXPECT_EQ(u->sliceLength(), RetriggerUnit::kMaxSliceLength);

    // A raised pitch waits for the whole slice, at most for a full buffer.
    u->setSampleRate(192000.0);
    u->setSliceLength(16.0, 40.0); // 3 s at 192 kHz: longer than the buffers
    ASSERT_GT(u->sliceLength(), float(RetriggerUnit::kBufferSize));
    u->setPitchSemitones(48.0);
    u->setEngaged(true);
    int t = 1;
    const auto waiting = feedRamp(*u, t, RetriggerUnit::kBufferSize);
    for (size_t k = 0; k < waiting.size(); ++k) ASSERT_EQ(waiting[k], float(k + 1)) << k;
    const float in = float(t);
    EXPECT_NE(feedRamp(*u, t, 1)[0], in) << "the repeat fades in once the buffer is full";
    for (float v : feedRamp(*u, t, 2 * RetriggerUnit::kBufferSize)) ASSERT_TRUE(std::isfinite(v));
}
