// Musical ticks, transport starts and stops, tempo and sample-rate changes.

#include "processor/ProcessorFixture.h"

#include <cmath>
#include <limits>

namespace vexbit::test {
namespace {

class Transport : public ProcessorFixture {
protected:
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        followTransport = false;
    }
    std::vector<std::pair<int32, double>> ticks() const
    {
        std::vector<std::pair<int32, double>> out;
        for (const auto& c : processor->callsOf(Hook::Tick)) out.emplace_back(c.position, c.value);
        return out;
    }
};

TEST_F(Transport, TicksFallOnEveryGridPointInsideTheBlock)
{
    // 120 BPM at 44100 Hz: 22050 samples per beat, a tick every 2756 samples.
    const double d = 100.5 / 22050.0;
    block.playAt(4.0 - d);
    run(4096);
    const auto t = ticks();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].first, 100);
    EXPECT_EQ(t[1].first, 2856);
    EXPECT_NEAR(t[0].second, 4.0, 1e-12);
    EXPECT_NEAR(t[1].second, 4.125, 1e-12);
    // Each tick cuts the audio like any other event.
    EXPECT_EQ(framesOf(processor->calls), (std::vector<int32>{100, 2756, 1240}));
}

TEST_F(Transport, APositionOnTheGridTicksAtTheFirstSample)
{
    block.playAt(2.0);
    run(512);
    const auto t = ticks();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].first, 0);
    EXPECT_DOUBLE_EQ(t[0].second, 2.0);
}

TEST_F(Transport, WhileStoppedTicksFollowTheInternalPosition)
{
    // Stopping restarts the internal position at 0 with the stopping block,
    // and it advances by the block length from there.
    block.stop();
    run(2048);
    ASSERT_EQ(processor->callsOf(Hook::PlayStop).size(), 1u);
    auto t = ticks();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].first, 0);
    EXPECT_DOUBLE_EQ(t[0].second, 0.0);

    run(2048); // starts at 2048 samples; grid point 0.125 lies at sample 2756.25
    t = ticks();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].first, 708);
    EXPECT_NEAR(t[0].second, 0.125, 1e-12);

    run(2048); // 4096 .. 6144: grid point 0.25 at 5512.5
    t = ticks();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].first, 1416);
    EXPECT_NEAR(t[0].second, 0.25, 1e-12);
}

TEST_F(Transport, StartAndStopAreQueuedAtTheBlockStartAndResetTheInternalPosition)
{
    block.stop();
    run(1000);
    run(1000);
    block.playAt(8.0);
    run(512);
    auto events = processor->eventCalls();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].hook, Hook::PlayStart);
    EXPECT_DOUBLE_EQ(events[0].value, 8.0);
    EXPECT_EQ(events[0].position, 0);
    EXPECT_EQ(events[1].hook, Hook::Tick); // 8.0 is on the grid
    EXPECT_DOUBLE_EQ(events[1].value, 8.0);

    block.playAt(8.0 + 512 / 22050.0);
    run(512);
    EXPECT_TRUE(processor->callsOf(Hook::PlayStart).empty());

    block.stop();
    run(512);
    const auto stops = processor->callsOf(Hook::PlayStop);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].position, 0);
    // Stopped, the block's position is the internal one, which restarts at 0.
    EXPECT_DOUBLE_EQ(stops[0].value, 0.0);
    auto t = ticks();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_DOUBLE_EQ(t[0].second, 0.0);
    run(512);
    EXPECT_TRUE(ticks().empty()); // position 0 is not ticked twice
}

TEST_F(Transport, PlayingWithoutAMusicalPositionUsesTheInternalOne)
{
    block.context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid;
    run(2048); // still playing (the fixture started it): internal position advances
    run(2048);
    EXPECT_TRUE(processor->callsOf(Hook::PlayStart).empty());
    EXPECT_TRUE(processor->callsOf(Hook::PlayStop).empty());
}

TEST_F(Transport, TempoAndSampleRateChangesReachTheEngineBeforeTheFirstAudio)
{
    setSampleRate(48000.0);
    block.playAt(0.001, 140.0);
    run(256);
    const auto& calls = processor->calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].hook, Hook::SampleRateChanged);
    EXPECT_DOUBLE_EQ(calls[0].value, 48000.0);
    EXPECT_EQ(calls[1].hook, Hook::TempoChanged);
    EXPECT_DOUBLE_EQ(calls[1].value, 140.0);
    EXPECT_DOUBLE_EQ(processor->getTempo(), 140.0);
    EXPECT_DOUBLE_EQ(processor->getSampleRate(), 48000.0);

    run(256); // unchanged values are not reported again
    EXPECT_TRUE(processor->callsOf(Hook::SampleRateChanged).empty());
    EXPECT_TRUE(processor->callsOf(Hook::TempoChanged).empty());
}

TEST_F(Transport, UnusableTempoOrSampleRateKeepsTheLastGoodValueAndTheBlockEnds)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double tempo : {0.0, -120.0, nan, inf, 1e9, 0.25}) {
        block.playAt(0.001, tempo);
        run(4096);
        EXPECT_TRUE(processor->callsOf(Hook::TempoChanged).empty()) << tempo;
        EXPECT_DOUBLE_EQ(processor->getTempo(), 120.0);
    }
    for (const double rate : {0.0, -44100.0, nan, inf, 1e12}) {
        setSampleRate(rate);
        run(4096);
        EXPECT_TRUE(processor->callsOf(Hook::SampleRateChanged).empty()) << rate;
        EXPECT_DOUBLE_EQ(processor->getSampleRate(), 44100.0);
    }
}

TEST_F(Transport, GridPointsTickOnceAtTheSameSampleWhateverTheBlockSize)
{
    // Host positions carry rounding (3.3 + n / 22050 is rarely exact); every
    // grid point must still tick exactly once, at its own sample, with its
    // exact position, however the host cuts the blocks.
    for (const int32 blockSize : {32, 441, 4096}) {
        std::vector<std::pair<int64_t, double>> all;
        for (int64_t start = 0; start < 88200; start += blockSize) {
            block.playAt(3.3 + static_cast<double>(start) / 22050.0);
            run(blockSize);
            for (const auto& [offset, position] : ticks())
                if (start + offset < 88200) all.emplace_back(start + offset, position);
        }
        ASSERT_EQ(all.size(), 32u) << blockSize; // 3.375 to 7.25
        for (size_t i = 0; i < all.size(); ++i) {
            const double grid = 3.375 + 0.125 * static_cast<double>(i);
            EXPECT_EQ(all[i].second, grid) << blockSize;
            EXPECT_EQ(all[i].first, static_cast<int64_t>(std::floor((grid - 3.3) * 22050.0 + 1e-3))) << blockSize;
        }
    }
}

TEST_F(Transport, AFastTempoAtALowRateStillEndsTheTickLoop)
{
    // 10000 BPM at 1000 Hz: six samples per beat, less than one per tick.
    setSampleRate(1000.0);
    block.playAt(0.0, 10000.0);
    run(8192);
    const auto t = ticks();
    EXPECT_FALSE(t.empty());
    EXPECT_LE(t.size(), 8192u);
    for (const auto& [offset, position] : t) {
        ASSERT_GE(offset, 0);
        ASSERT_LT(offset, 8192);
        ASSERT_TRUE(std::isfinite(position));
    }
}

TEST_F(Transport, NonFiniteMusicalPositionsAreNotUsed)
{
    block.playAt(std::numeric_limits<double>::quiet_NaN());
    run(4096);
    for (const auto& [offset, position] : ticks()) EXPECT_TRUE(std::isfinite(position)) << offset;
}

} // namespace
} // namespace vexbit::test
