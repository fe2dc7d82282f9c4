#pragma once

#include "engine/EngineHost.h"
#include "engine/GlitchEngine.h"
#include "processor/MyVSTProcessorBase.h"

namespace vexbit {

// The plug-in's audio processor: the framework's hooks handed to the glitch
// engine it owns, and the engine's requests answered by the framework.
class MyVSTProcessor : public MyVSTProcessorBase, public EngineHost {
public:
    MyVSTProcessor();

    // Creation function for the class factory: a new processor, owned by the caller.
    static Steinberg::FUnknown* createInstance(void* context);

    // What the engine asks of its processor.
    double getParameterValue(uint32_t id) const override;
    double getParameterNormalized(uint32_t id) const override;
    void storeParameterValue(uint32_t id, double plain) override;
    void setParameterNormalized(uint32_t id, double normalized) override;
    void markParameterChanged(uint32_t id) override;
    void queueNoteOnOut(int16_t pitch, float velocity) override;
    void queueNoteOffOut(int16_t pitch, float velocity) override;
    void queueControllerOut(int32_t sampleOffset, uint8_t controller, int32_t value) override;
    double getTempo() const override;
    double getSampleRate() const override;

protected:
    void initParameter(ParamID id, double plain) override;
    void processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames) override;
    void applyParameter(ParamID id, double plain) override;
    void onNoteOn(int16 channel, int16 pitch, float velocity) override;
    void onNoteOff(int16 channel, int16 pitch, float velocity) override;
    void onDataMessage(uint32 tag, const void* data, uint64 size) override;
    void onPlayStart(double positionQuarters) override;
    void onPlayStop(double positionQuarters) override;
    void onTick(double positionQuarters) override;
    void onTempoChanged(double bpm) override;
    void onSampleRateChanged(double hz) override;
    void writeExtraState(Steinberg::IBStream* state) override;
    void readExtraState(Steinberg::IBStream* state) override;

private:
    GlitchEngine engine_;
};

} // namespace vexbit
