#include "engine/GlitchEngine.h"

#include "engine/NumericConversions.h"

#include "common/ParameterIds.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

namespace {
// Provisional weights until the parameters are applied.
constexpr std::array<int32_t, 9> kInitialEffectWeights{800, 50, 50, 50, 50, 50, 50, 50, 50};
constexpr std::array<int32_t, GlitchEngine::kLengthChoices> kInitialLengthWeights{0, 50, 0, 100, 25, 12, 0, 0, 0};

constexpr double kStartTempo = 120.0;

float finiteOrSilence(const float* channel, int32_t n)
{
    if (channel == nullptr) return 0.0f;
    const float x = channel[n];
    return std::isfinite(x) ? x : 0.0f;
}
} // namespace

GlitchEngine::GlitchEngine(EngineHost& host) : host_(host)
{
    effectPicker.setWeights(std::span<const int32_t>(kInitialEffectWeights));
    for (WeightedPicker& p : lengthPickers) p.setWeights(std::span<const int32_t>(kInitialLengthWeights));

    // Until the parameters arrive: a sixty-fourth-note retrigger slice, the
    // granular part silent with 200 ms reach and 250 ms grains.
    retrigger.setSliceLength(0.5, kStartTempo);
    granular.setMix(0.0f);
    granular.setDurationMs(200.0);
    granular.setGrainSizeMs(250.0);
}

void GlitchEngine::processRun(float* l, float* r, int32_t n)
{
    retrigger.processBlock(l, r, n);
    gator.processBlock(l, r, n);
    lofi.processBlock(l, r, n);
    filter.processBlock(l, r, n);
    shuffler.processBlock(l, r, n);
    tapeStop.processBlock(l, r, n);
    reverser.processBlock(l, r, n);
    delay.processBlock(l, r, n);
    granular.processBlock(l, r, n);
}

void GlitchEngine::processAudio(const float* inL, const float* inR, float* outL, float* outR, int32_t frames)
{
    int32_t start = 0;
    while (start < frames) {
        // The Shuffler and the Granular draw from one generator. A run stops
        // short of the Shuffler's draw, and the frame with the draw runs alone,
        // so the draws come in the order a sample-by-sample chain makes them.
        const int32_t toDraw = shuffler.framesToNextDraw();
        int32_t n = std::min(kRunFrames, frames - start);
        n = toDraw > 1 ? std::min(n, toDraw - 1) : 1;
        // The whole run is read before any of it is written, so the arrays may alias.
        for (int32_t i = 0; i < n; ++i) {
            runL_[static_cast<size_t>(i)] = finiteOrSilence(inL, start + i);
            runR_[static_cast<size_t>(i)] = finiteOrSilence(inR, start + i);
        }
        processRun(runL_.data(), runR_.data(), n);
        if (outL != nullptr) std::copy_n(runL_.begin(), n, outL + start);
        if (outR != nullptr) std::copy_n(runR_.begin(), n, outR + start);
        start += n;
    }
}

void GlitchEngine::onTempoChanged(double bpm)
{
    if (!isUsableRate(bpm)) return;
    shuffler.setTempo(bpm);
    retrigger.setSliceLength(host_.getParameterValue(kRetriggerLengthId), bpm);
    reverser.setLength(host_.getParameterValue(kReverserLengthId), bpm);
}

void GlitchEngine::onSampleRateChanged(double fs)
{
    if (!isUsableRate(fs)) return;
    gator.setSampleRate(fs);
    // The Lo-Fi holds by sample count and has no rate of its own to follow.
    filter.setLowPass(host_.getParameterValue(kLowPassFreqId), host_.getParameterValue(kLowPassQId), fs);
    filter.setHighPass(host_.getParameterValue(kHighPassFreqId), host_.getParameterValue(kHighPassQId), fs);
    retrigger.setSampleRate(fs);
    tapeStop.setSampleRate(fs);
    shuffler.setSampleRate(fs);
    reverser.setSampleRate(fs);
    delay.setSampleRate(fs);
    granular.setSampleRate(fs);
}

} // namespace vexbit
