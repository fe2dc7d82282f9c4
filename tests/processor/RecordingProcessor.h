#pragma once

// A processor whose hooks only record what the framework asks of them, each
// call with the sample position in the host block where it happened.

#include "product/ModuleConfig.h"
#include "processor/MyVSTProcessorBase.h"

#include <functional>
#include <string>
#include <vector>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;

enum class Hook {
    InitParameter,
    ProcessAudio,
    ApplyParameter,
    NoteOn,
    NoteOff,
    DataMessage,
    PlayStart,
    PlayStop,
    Tick,
    TempoChanged,
    SampleRateChanged,
    WriteExtraState,
    ReadExtraState,
};

struct HookCall {
    Hook hook = Hook::ProcessAudio;
    int32_t position = 0; // sub-block start when the hook ran
    uint32_t id = 0;      // parameter ID or message tag
    double value = 0.0;   // plain value, musical position, tempo or sample rate
    int32_t frames = 0;   // processAudio length or note pitch
    bool nullBuffers = false;
    std::vector<unsigned char> data; // message payload (filled outside process only)
};

class RecordingProcessor : public MyVSTProcessorBase {
public:
    RecordingProcessor()
        : MyVSTProcessorBase(parameterTable(), moduleConfig().frameworkVersion, moduleConfig().controllerClassId,
                             {moduleConfig().sideChainBusCount, moduleConfig().eventOutputBusCount})
    {
        calls.reserve(100000);
    }

    std::vector<HookCall> calls;

    std::vector<HookCall> callsOf(Hook hook) const
    {
        std::vector<HookCall> out;
        for (const auto& c : calls)
            if (c.hook == hook) out.push_back(c);
        return out;
    }
    // Everything but processAudio, in order.
    std::vector<HookCall> eventCalls() const
    {
        std::vector<HookCall> out;
        for (const auto& c : calls)
            if (c.hook != Hook::ProcessAudio) out.push_back(c);
        return out;
    }

    // Hooks may call back into the framework; tests set these to do so.
    std::function<void(RecordingProcessor&, const HookCall&)> onCall;

protected:
    static HookCall make(Hook hook, uint32_t id = 0, double value = 0.0, int32_t frames = 0)
    {
        HookCall call;
        call.hook = hook;
        call.id = id;
        call.value = value;
        call.frames = frames;
        return call;
    }
    void record(HookCall call)
    {
        call.position = getSubBlockStart();
        calls.push_back(call);
        if (onCall) onCall(*this, calls.back());
    }
    void initParameter(ParamID id, double plain) override { record(make(Hook::InitParameter, id, plain)); }
    void processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames) override
    {
        // Halves the input so that the whole output shows whether every piece
        // got the right stretch of the buffers.
        if (inL && inR && outL && outR)
            for (int32 i = 0; i < frames; ++i) {
                outL[i] = inL[i] * 0.5f;
                outR[i] = inR[i] * 0.5f;
            }
        HookCall call = make(Hook::ProcessAudio);
        call.frames = frames;
        call.nullBuffers = !(inL && inR && outL && outR);
        record(call);
    }
    void applyParameter(ParamID id, double plain) override { record(make(Hook::ApplyParameter, id, plain)); }
    void onNoteOn(int16 channel, int16 pitch, float velocity) override
    {
        record(make(Hook::NoteOn, static_cast<uint32_t>(channel), velocity, pitch));
    }
    void onNoteOff(int16 channel, int16 pitch, float velocity) override
    {
        record(make(Hook::NoteOff, static_cast<uint32_t>(channel), velocity, pitch));
    }
    void onDataMessage(uint32 tag, const void* data, uint64 size) override
    {
        HookCall call = make(Hook::DataMessage, tag, static_cast<double>(size));
        const auto* bytes = static_cast<const unsigned char*>(data);
        call.data.assign(bytes, bytes + size);
        record(call);
    }
    void onPlayStart(double position) override { record(make(Hook::PlayStart, 0, position)); }
    void onPlayStop(double position) override { record(make(Hook::PlayStop, 0, position)); }
    void onTick(double position) override { record(make(Hook::Tick, 0, position)); }
    void onTempoChanged(double bpm) override { record(make(Hook::TempoChanged, 0, bpm)); }
    void onSampleRateChanged(double hz) override { record(make(Hook::SampleRateChanged, 0, hz)); }
    void writeExtraState(Steinberg::IBStream*) override { record(make(Hook::WriteExtraState)); }
    void readExtraState(Steinberg::IBStream*) override { record(make(Hook::ReadExtraState)); }
};

} // namespace vexbit::test
