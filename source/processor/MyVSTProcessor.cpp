#include "processor/MyVSTProcessor.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The engine grows its parameter, note, tick and transport operations step by
// step; each hook reaches the engine as soon as it has the operation. An
// operation of that name that cannot take the hook's arguments stops the
// build rather than being skipped without a word.
#define VEXBIT_FORWARD_TO_ENGINE(helper, operation, params, args)                              \
    template <typename Engine>                                                                 \
    void helper(Engine& engine, VEXBIT_UNPACK params)                                          \
    {                                                                                          \
        constexpr bool named = requires { &Engine::operation; };                               \
        constexpr bool callable = requires { engine.operation args; };                         \
        static_assert(callable || !named, "GlitchEngine::" #operation " takes other arguments"); \
        if constexpr (callable)                                                                \
            engine.operation args;                                                             \
    }
#define VEXBIT_UNPACK(...) __VA_ARGS__

VEXBIT_FORWARD_TO_ENGINE(engineApplyParameter, applyParameter, (uint32_t id, double plain), (id, plain))
VEXBIT_FORWARD_TO_ENGINE(engineNoteOn, onNoteOn, (int16_t channel, int16_t pitch, float velocity),
                         (channel, pitch, velocity))
VEXBIT_FORWARD_TO_ENGINE(engineNoteOff, onNoteOff, (int16_t channel, int16_t pitch, float velocity),
                         (channel, pitch, velocity))
VEXBIT_FORWARD_TO_ENGINE(engineTick, onTick, (double position), (position))
VEXBIT_FORWARD_TO_ENGINE(enginePlayStart, onPlayStart, (double position), (position))

#undef VEXBIT_FORWARD_TO_ENGINE
#undef VEXBIT_UNPACK

// Until the engine has its own initParameter, initialising is applying.
template <typename Engine>
void engineInitParameter(Engine& engine, uint32_t id, double plain)
{
    if constexpr (requires { engine.initParameter(id, plain); })
        engine.initParameter(id, plain);
    else
        engineApplyParameter(engine, id, plain);
}

} // namespace

MyVSTProcessor::MyVSTProcessor() : engine_(*this) {}

FUnknown* MyVSTProcessor::createInstance(void* /*context*/)
{
    return static_cast<IAudioProcessor*>(new MyVSTProcessor());
}

double MyVSTProcessor::getParameterValue(uint32_t id) const
{
    return MyVSTProcessorBase::getParameterValue(id);
}

double MyVSTProcessor::getParameterNormalized(uint32_t id) const
{
    return MyVSTProcessorBase::getParameterNormalized(id);
}

void MyVSTProcessor::storeParameterValue(uint32_t id, double plain)
{
    MyVSTProcessorBase::storeParameterValue(id, plain);
}

void MyVSTProcessor::setParameterNormalized(uint32_t id, double normalized)
{
    MyVSTProcessorBase::setParameterNormalized(id, normalized);
}

void MyVSTProcessor::markParameterChanged(uint32_t id)
{
    MyVSTProcessorBase::markParameterChanged(id);
}

void MyVSTProcessor::queueNoteOnOut(int16_t pitch, float velocity)
{
    MyVSTProcessorBase::queueNoteOnOut(pitch, velocity);
}

void MyVSTProcessor::queueNoteOffOut(int16_t pitch, float velocity)
{
    MyVSTProcessorBase::queueNoteOffOut(pitch, velocity);
}

void MyVSTProcessor::queueControllerOut(int32_t sampleOffset, uint8_t controller, int32_t value)
{
    MyVSTProcessorBase::queueControllerOut(sampleOffset, controller, value);
}

double MyVSTProcessor::getTempo() const
{
    return MyVSTProcessorBase::getTempo();
}

double MyVSTProcessor::getSampleRate() const
{
    return MyVSTProcessorBase::getSampleRate();
}

void MyVSTProcessor::initParameter(ParamID id, double plain)
{
    engineInitParameter(engine_, id, plain);
}

void MyVSTProcessor::processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames)
{
    engine_.processAudio(inL, inR, outL, outR, frames);
}

void MyVSTProcessor::applyParameter(ParamID id, double plain)
{
    engineApplyParameter(engine_, id, plain);
}

void MyVSTProcessor::onNoteOn(int16 channel, int16 pitch, float velocity)
{
    engineNoteOn(engine_, channel, pitch, velocity);
}

void MyVSTProcessor::onNoteOff(int16 channel, int16 pitch, float velocity)
{
    engineNoteOff(engine_, channel, pitch, velocity);
}

void MyVSTProcessor::onDataMessage(uint32 /*tag*/, const void* /*data*/, uint64 /*size*/)
{
    // The engine takes no data from the controller.
}

void MyVSTProcessor::onPlayStart(double positionQuarters)
{
    enginePlayStart(engine_, positionQuarters);
}

void MyVSTProcessor::onPlayStop(double /*positionQuarters*/)
{
    // Stopping the transport leaves the effects as they are.
}

void MyVSTProcessor::onTick(double positionQuarters)
{
    engineTick(engine_, positionQuarters);
}

void MyVSTProcessor::onTempoChanged(double bpm)
{
    engine_.onTempoChanged(bpm);
}

void MyVSTProcessor::onSampleRateChanged(double hz)
{
    engine_.onSampleRateChanged(hz);
}

void MyVSTProcessor::writeExtraState(IBStream* /*state*/)
{
    // The engine keeps nothing beyond the parameter values.
}

void MyVSTProcessor::readExtraState(IBStream* /*state*/) {}

} // namespace vexbit
