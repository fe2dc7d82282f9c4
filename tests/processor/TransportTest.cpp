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
