#pragma once

#include "sdk/AudioEffect.h"

namespace vexbit {

// The plug-in's audio processor: stereo in, stereo out, notes in and out.
class MyVSTProcessor : public Steinberg::Vst::AudioEffect {
public:
    MyVSTProcessor();

    static Steinberg::FUnknown* createInstance(void* context);

    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
};

} // namespace vexbit
