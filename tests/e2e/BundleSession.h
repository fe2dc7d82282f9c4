#pragma once

// The built plug-in driven the way a DAW plays a project through it: a
// timeline of host notes and parameter changes at absolute samples, cut into
// process calls of any block size, with a running transport and the
// plug-in's reports handed on to its controller.

#include "host/ProcessObjects.h"

#include "host/PluginInstance.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexbit::e2e {

using Steinberg::Vst::Event;
using Steinberg::Vst::ParamID;

struct HostNote {
    int64_t sample;
    int16_t pitch;
    bool on = true;
    int16_t channel = 0;
    float velocity = 1.0f;
};

struct HostChange {
    int64_t sample;
    ParamID id;
    double normalized;
};

// A transport reading "playing" with a valid musical position from playFrom
// on (stopped before it), at startQuarters on that sample. When the position
// jumps, the musical position of each block is taken from `jumps` instead.
struct Transport {
    double tempo = 120.0;
    double startQuarters = 0.0;
    int64_t playFrom = 0;
    // Blocks starting at or after sample s read position q + (start - s) / samplesPerBeat.
    struct Jump {
        int64_t sample;
        double quarters;
    };
    std::vector<Jump> jumps;
};

struct Script {
    Transport transport;
    std::vector<HostNote> notes;
    std::vector<HostChange> changes;
    int64_t length = 0;
};

// One event the plug-in put on its event output, at its absolute sample.
struct OutputEvent {
    int64_t sample;
    Event event;
};

// One value the plug-in reported as changed, with the sample of its block.
struct Report {
    int64_t blockStart;
    ParamID id;
    double normalized;
};

struct Rendering {
    std::vector<float> left, right;
    std::vector<OutputEvent> events;
    std::vector<Report> reports;
};

class BundleSession {
public:
    // Loads the built bundle and makes an instance ready to process; failures
    // are reported through gtest and leave the session null.
    static std::unique_ptr<BundleSession> open(double sampleRate = 44100.0);
    // Several instances made within one second of the clock. Each instance's
    // pickers seed the constructing thread's generator with the time in
    // seconds, so these start from the same grains.
    static std::vector<std::unique_ptr<BundleSession>> openTwins(int count, double sampleRate = 44100.0);
    ~BundleSession();

    // Renders script.length samples of the input (repeated when shorter) in
    // blocks of blockSize. The audio runs on a thread of its own, as a DAW's
    // does, so the plug-in's random draws start from that thread's initial state.
    // aroundProcess, when given, is called with true right before and with
    // false right after each process call.
    Rendering render(const Script& script, const std::vector<float>& input, int32_t blockSize,
                     const std::function<void(bool)>& aroundProcess = {});

    // The plain value the processor keeps (from its saved state); NaN when absent.
    double storedValue(ParamID id) const;
    double controllerValue(ParamID id) const;
    double samplesPerBeat(double tempo) const { return sampleRate_ * 60.0 / tempo; }

    Steinberg::Vst::IAudioProcessor* processor() const { return instance_->processor(); }
    Steinberg::Vst::IComponent* component() const { return instance_->component(); }
    const host::PluginInstance& instance() const { return *instance_; }

private:
    BundleSession() = default;
    void renderBlocks(const Script& script, const std::vector<float>& input, int32_t blockSize,
                      const std::function<void(bool)>& aroundProcess, Rendering& out);
    double positionAt(const Transport& transport, int64_t sample) const;

    std::shared_ptr<host::Module> module_;
    std::unique_ptr<host::PluginInstance> instance_;
    double sampleRate_ = 44100.0;
};

// The plug-in's own conversion of a plain value, and its default, on the 0..1 scale.
double normalizedOf(ParamID id, double plain);
double defaultNormalized(ParamID id);

} // namespace vexbit::e2e
