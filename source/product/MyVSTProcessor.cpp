#include "product/MyVSTProcessor.h"

#include "product/ModuleConfig.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

MyVSTProcessor::MyVSTProcessor()
    : MyVSTProcessorBase(parameterTable(), moduleConfig().frameworkVersion, moduleConfig().controllerClassId,
                         {moduleConfig().sideChainBusCount, moduleConfig().eventOutputBusCount}),
      engine_(*this)
{}

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
    // Initialising a parameter is applying its default.
    engine_.applyParameter(id, plain);
}

void MyVSTProcessor::processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames)
{
    engine_.processAudio(inL, inR, outL, outR, frames);
}

void MyVSTProcessor::applyParameter(ParamID id, double plain)
{
    engine_.applyParameter(id, plain);
}

void MyVSTProcessor::onNoteOn(int16 channel, int16 pitch, float velocity)
{
    engine_.onNoteOn(channel, pitch, velocity);
}

void MyVSTProcessor::onNoteOff(int16 channel, int16 pitch, float velocity)
{
    engine_.onNoteOff(channel, pitch, velocity);
}

void MyVSTProcessor::onDataMessage(uint32 /*tag*/, const void* /*data*/, uint64 /*size*/)
{
    // The engine takes no data from the controller.
}

void MyVSTProcessor::onPlayStart(double positionQuarters)
{
    engine_.onPlayStart(positionQuarters);
}

void MyVSTProcessor::onPlayStop(double /*positionQuarters*/)
{
    // Stopping the transport leaves the effects as they are.
}

void MyVSTProcessor::onTick(double positionQuarters)
{
    engine_.onTick(positionQuarters);
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
