#pragma once

#include "engine/RingBuffer.h"
#include "engine/WeightedPicker.h"

#include <array>
#include <cstdint>

namespace vexbit {

// Nine grain voices that replay short pieces of the recent signal at randomly
// drawn speeds and distances. Each grain fades in, plays, fades out and is
// replaced at once by a fresh one; new settings reach a grain when it restarts.
class GranularUnit {
public:
    static constexpr int32_t kRingSize = 88200;
    static constexpr int32_t kLead = 10;
    static constexpr int kGrainCount = 9;
    static constexpr int kSpeedCount = 9;
    // Speed offset per speed index: a grain plays at 1 + rate times normal speed.
    static constexpr std::array<float, kSpeedCount> kRates{-0.75f, -0.5f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 2.0f, 3.0f};
    static constexpr std::array<int32_t, kSpeedCount> kRateWeights{0, 25, 100, 5, 25, 5, 80, 5, 25};

    struct Grain {
        int32_t counter = 0;
        int32_t length = 0;
        float posL = 0.0f;
        float posR = 0.0f;
        float rate = 0.0f;
        float env = 0.0f;
        float amp = 0.0f;
    };

    // Starts every grain once, drawing from the constructing thread's generator.
    GranularUnit();

    void process(float& l, float& r) { processBlock(&l, &r, 1); }
    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);
    // Draws a new speed, length, amplitude and distance for one grain.
    void restartGrain(Grain& grain);

    void setDurationMs(double ms);
    void setGrainSizeMs(double ms);
    void setSampleRate(double sampleRate);
    // Share of the grains in the output, taken as given.
    void setMix(float mix) { mix_ = mix; }

    float mix() const { return mix_; }
    // How far back grains start and how long they last, in samples.
    float duration() const { return duration_; }
    int32_t grainSize() const { return grainSize_; }
    // One voice as it plays now.
    const Grain& grain(int index) const { return grains_[static_cast<size_t>(index)]; }

private:
    // Frames planned and played grain by grain at most at once.
    static constexpr int32_t kMaxRun = 256;
    // One grain's read positions and envelope before each frame of a run, and after its last.
    struct Track {
        std::array<float, kMaxRun + 1> posL;
        std::array<float, kMaxRun + 1> posR;
        std::array<float, kMaxRun + 1> env;
    };

    void step(float& l, float& r);
    // How many of the next frames (at most `frames`) can be played grain by
    // grain: no grain restarts (its draw would come out of order) and no read
    // reaches a sample the run itself records. Fills the tracks for them.
    int32_t planRun(int32_t frames);
    // Plays a planned run: each grain's reads over the run, then the mix and the recording.
    void playRun(float* l, float* r, int32_t frames);
    // Whether the grain plays the next frames at full level with no fade
    // starting, its positions stepping exactly (planned in closed form).
    static bool steadyRun(const Grain& grain, int32_t frames);
    // A number of frames, at least `frames`, that the grain (steady for
    // `frames`) plays steady from now: worked out once and then counted down
    // while it plays steady, so small blocks skip the check.
    static int32_t steadyHorizon(const Grain& grain, int32_t frames);
    // One grain's reads over a planned run, added to wet; still when its
    // positions stay the same all run.
    static void addGrain(const RingBuffer& ring, const float* pos, const float* env, float level, float* wet,
                         int32_t frames, bool still);

    float mix_ = 0.3f;
    float duration_ = 11050.0f;
    int32_t grainSize_ = 44100;
    std::array<Grain, kGrainCount> grains_{};
    WeightedPicker ratePicker_;
    float sampleRate_ = 44100.0f;
    RingBuffer ringL_{kRingSize, kLead};
    RingBuffer ringR_{kRingSize, kLead};
    std::array<Track, kGrainCount> tracks_{};
    // Whether the planned run plays the grain steady, from its position alone.
    std::array<bool, kGrainCount> steady_{};
    // Frames each grain is known to keep playing steady; 0 once its state
    // moved any other way.
    std::array<int32_t, kGrainCount> steadyLeft_{};
    std::array<float, kMaxRun> wetL_{};
    std::array<float, kMaxRun> wetR_{};
};

} // namespace vexbit
