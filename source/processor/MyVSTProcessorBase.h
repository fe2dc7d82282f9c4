#pragma once

#include "common/ParameterIds.h"
#include "params/ParamRecord.h"
#include "params/ParameterTable.h"
#include "processor/EventQueue.h"
#include "processor/HandoverSlots.h"
#include "processor/ParameterStore.h"
#include "processor/PendingChanges.h"
#include "sdk/AudioEffect.h"

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace vexbit {

// The processor's face to the host. It turns everything one process call
// delivers (parameter changes, notes, transport, tempo) into one time-ordered
// queue, renders the block in pieces cut at those events, keeps the plain value
// of every parameter, reports changed values back to the host and queues MIDI
// output. What the events mean is left to the hooks of the concrete processor.
//
// Threads: process runs on the host's audio thread; states, messages and the
// set-up calls come from other threads, even while a block is being processed.
// Those calls never touch what process uses: a restored state or a message is
// read and checked on the caller's thread and handed over whole through
// preallocated slots; the next block applies it before anything else. While
// the processor is not active no block runs, so it is applied at once. The
// calls from other threads are serialised among themselves by a lock that
// process never takes.
class MyVSTProcessorBase : public Steinberg::Vst::AudioEffect {
public:
    using ParamID = Steinberg::Vst::ParamID;
    using int16 = Steinberg::int16;
    using int32 = Steinberg::int32;
    using uint32 = Steinberg::uint32;
    using uint64 = Steinberg::uint64;
    using tresult = Steinberg::tresult;

    // The host hears about changed values at most once per this many samples.
    static constexpr int32 kReportInterval = 4410;
    static constexpr double kTicksPerBeat = 8.0;
    // Room for the events of one block plus those waiting for later blocks;
    // events beyond it are dropped rather than allocated on the audio thread.
    static constexpr std::size_t kPendingEventCapacity = 8192;
    // MIDI output waiting for the host. A host that never takes it would
    // otherwise let it grow forever; the oldest events make room for new ones.
    static constexpr std::size_t kOutputEventCapacity = 4096;

    // The optional buses besides the stereo audio pair and the event input.
    struct OptionalBuses {
        int32 sideChainBusCount = 0;
        int32 eventOutputBusCount = 0;
    };

    // `table` is read at initialize and must outlive the processor; `formatTag`
    // names the state format the saved state carries; the controller class is
    // what the host pairs this processor with.
    MyVSTProcessorBase(const ParameterTable& table, std::string formatTag, const Steinberg::FUID& controllerClassId,
                       OptionalBuses buses);
    ~MyVSTProcessorBase() override;

    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
    tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) SMTG_OVERRIDE;

    // Stored plain value; 1 or 0 for Bypass, 0 for an unknown ID. A state or
    // message handed over while active shows here once a block has applied it.
    virtual double getParameterValue(ParamID id) const;
    // Stores, applies and marks for the host in one step, as any change the
    // engine makes on its own must.
    virtual void setParameterNormalized(ParamID id, double normalized);
    // The text of a Text parameter (its first list entry), or "". Not for the
    // audio thread; valid until the next message or state replaces the list.
    virtual const char* getParameterText(ParamID id) const;
    // Queues the ID for the next report to the host (once, however often marked).
    virtual void markParameterChanged(ParamID id);

    // Stored plain value converted to the host's 0..1 scale.
    double getParameterNormalized(ParamID id) const;
    // Bypass follows the Bypass ID; a table ID takes the value; others change nothing.
    void storeParameterValue(ParamID id, double plain);

    // MIDI echoes, stamped at the start of the piece being rendered.
    void queueNoteOnOut(int16 pitch, float velocity);
    void queueNoteOffOut(int16 pitch, float velocity);
    void queueControllerOut(int32 sampleOffset, Steinberg::uint8 controller, int32 value);

    bool isBypassed() const { return bypass_.load(std::memory_order_relaxed); }
    double getTempo() const { return tempo_; }
    double getSampleRate() const { return lastSampleRate_; }
    int32 getSubBlockStart() const { return subBlockStart_; }
    const ParameterStore& parameters() const { return parameters_; }

protected:
    // Hooks of the concrete processor.
    virtual void initParameter(ParamID id, double plain) = 0;
    // Null channel pointers mean no usable bus; frames may be 0.
    virtual void processAudio(const float* inL, const float* inR, float* outL, float* outR, int32 frames) = 0;
    virtual void applyParameter(ParamID id, double plain) = 0;
    virtual void onNoteOn(int16 channel, int16 pitch, float velocity) = 0;
    virtual void onNoteOff(int16 channel, int16 pitch, float velocity) = 0;
    // Called where the engine lives, like applyParameter; data is valid only
    // during the call.
    virtual void onDataMessage(uint32 tag, const void* data, uint64 size) = 0;
    virtual void onPlayStart(double positionQuarters) = 0;
    virtual void onPlayStop(double positionQuarters) = 0;
    virtual void onTick(double positionQuarters) = 0;
    virtual void onTempoChanged(double bpm) = 0;
    virtual void onSampleRateChanged(double hz) = 0;
    // Called on the thread that saves or restores the state, possibly while a
    // block is processed: they must not touch what process uses.
    virtual void writeExtraState(Steinberg::IBStream* state) = 0;
    virtual void readExtraState(Steinberg::IBStream* state) = 0;
    // May rewrite the block's pending events in place before they are sorted;
    // it must not grow the queue past its capacity.
    virtual void filterInputEvents(EventQueue& events);

private:
    void noteSampleRate();
    void takeParameterChanges(Steinberg::Vst::IParameterChanges* changes);
    void takeInputEvents(Steinberg::Vst::IEventList* events);
    void takeTransport(const Steinberg::Vst::ProcessContext* context, int32 sampleCount);
    void render(Steinberg::Vst::ProcessData& data, int32 sampleCount);
    void dispatch(const Steinberg::Vst::Event& event);
    void sendOutputEvents(Steinberg::Vst::IEventList* events, const Steinberg::Vst::ProcessContext* context,
                          int32 sampleCount);
    void reportChangedParameters(Steinberg::Vst::IParameterChanges* changes, int32 sampleCount);
    void queueOutput(const Steinberg::Vst::Event& event);
    double samplesPerBeat() const;

    tresult receiveParamStringList(Steinberg::Vst::IMessage& message);
    tresult receiveData(Steinberg::Vst::IMessage& message);

    // Caller's side, with controlLock_ held: queues the changes for the next
    // block, or applies them at once while the processor is not active.
    void handOver(const PendingChanges& changes);
    // Where the engine lives: applies what was handed over since the last time.
    void takeHandedOver();
    void applyHandedOver(const PendingChanges& changes);
    // Caller's side: the value a parameter will have once everything handed
    // over has been applied (the stored value when nothing waits for it).
    std::vector<double> valuesAsHandedOver(bool& bypass) const;

    const ParameterTable& table_;
    const std::string formatTag_;
    const OptionalBuses buses_;

    std::mutex controlLock_;
    bool active_ = false;
    HandoverSlots<PendingChanges> handover_;
    uint64_t handedOverGeneration_ = 0;
    std::atomic<uint64_t> appliedGeneration_{0};
    // The sample rate of the last set-up, read by process.
    std::atomic<double> setupSampleRate_{0.0};

    ParameterStore parameters_;
    EventQueue pending_;
    EventQueue due_;
    std::atomic<bool> bypass_{false};
    bool wasPlaying_ = false;
    double internalPosition_ = 0.0;
    double tempo_ = 120.0;
    double ticksPerBeat_ = kTicksPerBeat;
    double lastSampleRate_ = 44100.0;
    int32 subBlockStart_ = 0;
    EventQueue output_;
    EventQueue outputDue_;
    ChangedParameters changed_;
    int64_t samplesSinceReport_ = 0;
    int32 reportInterval_ = kReportInterval;
};

} // namespace vexbit
