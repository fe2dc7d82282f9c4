#include "engine/reference/GlitchEngine.h"

#include "engine/reference/NumericConversions.h"

#include "common/ParameterIds.h"

#include <cmath>

namespace vexbit::reference {

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

void GlitchEngine::processFrame(float& l, float& r)
{
    retrigger.process(l, r);
    gator.process(l, r);
    lofi.process(l, r);
    filter.process(l, r);
    shuffler.process(l, r);
    tapeStop.process(l, r);
    reverser.process(l, r);
    delay.process(l, r);
    granular.process(l, r);
}

void GlitchEngine::processAudio(const float* inL, const float* inR, float* outL, float* outR, int32_t frames)
{
    for (int32_t n = 0; n < frames; ++n) {
        // Both inputs are read before either output is written, so the arrays may alias.
        float l = finiteOrSilence(inL, n);
        float r = finiteOrSilence(inR, n);
        processFrame(l, r);
        if (outL != nullptr) outL[n] = l;
        if (outR != nullptr) outR[n] = r;
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

} // namespace vexbit::reference
