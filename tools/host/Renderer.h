#pragma once

#include "host/AudioFile.h"
#include "host/NoteList.h"
#include "host/ParameterSetting.h"
#include "host/PluginInstance.h"
#include "host/ProcessObjects.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexbit::host {

struct RenderOptions {
    int32_t blockSize = 512;
    double bpm = 120.0;
    // A DAW bounces offline; benchmarks measure real-time processing.
    bool offline = true;
    std::vector<TimedNote> notes;
    // Sent at the first sample, to the processor and to the controller.
    std::vector<ParameterSetting> settings;
    // Frames rendered past the end of the input, fed with silence.
    std::size_t tailFrames = 0;
};

// One event the plug-in put on its event output.
struct OutputEvent {
    enum class Kind { NoteOn, NoteOff, Controller };
    int64_t frame = 0; // from the start of the output
    Kind kind = Kind::NoteOn;
    int16_t channel = 0;
    int16_t number = 0; // pitch or controller number
    float value = 0.0f; // velocity, or the controller value 0..127
};

struct RenderReport {
    std::vector<OutputEvent> events;
    double processSeconds = 0.0; // wall time spent inside the plug-in's process
    int64_t blocks = 0;
    int32_t latency = 0; // reported by the plug-in and compensated
};

// Called after each block with the output frames done so far and the total.
using RenderProgress = std::function<void(std::size_t done, std::size_t total)>;

// Drives one plug-in instance through a render the way a DAW plays a project
// from bar 1: audio in blocks with a process context (playing transport,
// tempo, 4/4 bars, the musical position), notes on the event input at their
// samples, and the plug-in's reports handed on to its controller. The main
// audio buses carry the stereo signal; a mono bus gets the mid signal and its
// output is copied to both sides. Latency the plug-in reports is compensated.
class Renderer {
public:
    // Sets the instance up for processing at the sample rate: bus arrangements,
    // process setup, buses and the component activated. Null with one line in
    // error when the plug-in refuses. The instance must outlive the renderer.
    static std::unique_ptr<Renderer> create(PluginInstance& instance, double sampleRate, RenderOptions options,
                                            std::string& error);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The input (plus the tail) through the plug-in: the output has the
    // input's length plus the tail, at the same sample rate.
    AudioBuffer render(const AudioBuffer& input, RenderReport& report, const RenderProgress& progress = {});

    double sampleRate() const { return sampleRate_; }
    const RenderOptions& options() const { return options_; }

private:
    struct Bus {
        std::vector<std::vector<float>> channels;
        std::vector<float*> pointers;
    };
    struct HostEvent {
        int64_t frame;
        Steinberg::Vst::Event event;
    };

    Renderer(PluginInstance& instance, double sampleRate, RenderOptions options);
    bool setUp(std::string& error);
    void prepareBuses(std::vector<Bus>& buses, std::vector<Steinberg::Vst::AudioBusBuffers>& data,
                      const std::vector<Steinberg::Vst::SpeakerArrangement>& arrangements);
    void scheduleNotes();
    Steinberg::Vst::ProcessContext contextAt(int64_t frame) const;
    void collectOutput(int64_t blockFrame, RenderReport& report);

    PluginInstance& instance_;
    double sampleRate_;
    RenderOptions options_;
    bool active_ = false;
    bool processing_ = false;

    std::vector<Bus> inputs_, outputs_;
    std::vector<Steinberg::Vst::AudioBusBuffers> inputData_, outputData_;
    std::vector<HostEvent> hostEvents_;
    HostEventList inputEvents_, outputEvents_;
    HostParameterChanges inputChanges_, outputChanges_;
};

} // namespace vexbit::host
