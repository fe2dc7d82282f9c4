#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace vexbit::bench {

constexpr double kSampleRate = 44100.0;
// Ten seconds of stereo audio per iteration.
constexpr int32_t kFrames = 441000;

struct StereoNoise {
    std::vector<float> left, right;
    StereoNoise() : left(kFrames), right(kFrames)
    {
        std::mt19937 gen(1234);
        std::uniform_real_distribution<float> dist(-0.8f, 0.8f);
        for (int32_t i = 0; i < kFrames; ++i) {
            left[static_cast<size_t>(i)] = dist(gen);
            right[static_cast<size_t>(i)] = dist(gen);
        }
    }
};

inline const StereoNoise& noise()
{
    static const StereoNoise n;
    return n;
}

// Time per stereo frame (printed in seconds with an SI prefix, "n" for ns) and the
// real-time factor at 44.1 kHz (seconds of audio per second of CPU time).
inline void reportFrames(benchmark::State& state)
{
    state.counters["time_per_frame"] = benchmark::Counter(
        static_cast<double>(kFrames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(kFrames) / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

// Runs a stage over the ten seconds in blocks of state.range(0) frames.
template <typename Stage>
void runStage(benchmark::State& state, Stage& stage)
{
    const int32_t block = static_cast<int32_t>(state.range(0));
    std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
    const StereoNoise& in = noise();
    for (auto _ : state) {
        for (int32_t start = 0; start < kFrames; start += block) {
            const int32_t frames = std::min(block, kFrames - start);
            if constexpr (requires { stage.processBlock(outL.data(), outR.data(), frames); }) {
                // Stages that work on whole blocks get them, as the engine hands them out.
                std::copy_n(&in.left[static_cast<size_t>(start)], frames, outL.begin());
                std::copy_n(&in.right[static_cast<size_t>(start)], frames, outR.begin());
                stage.processBlock(outL.data(), outR.data(), frames);
            } else {
                for (int32_t n = 0; n < frames; ++n) {
                    float l = in.left[static_cast<size_t>(start + n)];
                    float r = in.right[static_cast<size_t>(start + n)];
                    stage.process(l, r);
                    outL[static_cast<size_t>(n)] = l;
                    outR[static_cast<size_t>(n)] = r;
                }
            }
            benchmark::DoNotOptimize(outL.data());
            benchmark::DoNotOptimize(outR.data());
            benchmark::ClobberMemory();
        }
    }
    reportFrames(state);
}

} // namespace vexbit::bench
