// Counts every heap allocation made in this program, to prove that the
// engine's audio path makes none once it is constructed.
#include "AllocationCounter.h"
#include "engine/GlitchEngine.h"
#include "engine/MapEngineHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <random>
#include <vector>

namespace vexbit {
namespace {

TEST(GlitchEngineAllocations, ProcessingAndSettingsChangesAllocateNothing)
{
    test::MapEngineHost host;
    host.values = {{402, 3000.0}, {403, 2.0}, {404, 500.0}, {405, 2.0}, {702, 2.0}, {802, 4.0}};
    auto engine = std::make_unique<GlitchEngine>(host);

    std::vector<float> left(4096), right(4096);
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = noise(gen);
        right[i] = noise(gen);
    }

    test::startCountingAllocations();
    // Every effect engaged, settings changed on the way, as the audio thread does.
    engine->gator.setEngaged(true);
    engine->lofi.setEngaged(true);
    engine->lofi.setBitDepth(6.0);
    engine->filter.setEngaged(true);
    engine->filter.setLowPass(2000.0, 3.0, 44100.0);
    engine->shuffler.setEngaged(true);
    engine->tapeStop.setEngaged(true);
    engine->retrigger.setEngaged(true);
    engine->reverser.setEngaged(true);
    engine->delay.setLevel(0.8f);
    engine->delay.setTimeMs(120.0);
    engine->granular.setMix(0.5f);
    engine->effectPicker.setWeights({0, 100, 0, 0, 0, 0, 0, 0, 0});
    engine->lengthPickers[3].setWeights({0, 10, 0, 25, 12, 100, 25, 10, 0});
    engine->onTempoChanged(133.0);
    engine->onSampleRateChanged(48000.0);

    for (int32_t frames : {1, 32, 512, 4096, 0, -5}) {
        for (int block = 0; block < 40; ++block)
            engine->processAudio(left.data(), right.data(), left.data(), right.data(), frames);
    }
    engine->tapeStop.setEngaged(false);
    for (int block = 0; block < 100; ++block)
        engine->processAudio(left.data(), right.data(), left.data(), right.data(), 512);
    engine->processAudio(nullptr, nullptr, nullptr, nullptr, 512);

    EXPECT_EQ(test::stopCountingAllocations(), 0);
}

} // namespace
} // namespace vexbit
