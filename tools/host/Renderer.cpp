#include "host/Renderer.h"

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace vexbit::host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr std::size_t kMinParameterQueues = 256;

int32 channelCount(SpeakerArrangement arrangement)
{
    return SpeakerArr::getChannelCount(arrangement);
}

std::vector<SpeakerArrangement> currentArrangements(IComponent* component, IAudioProcessor* processor,
                                                    BusDirection direction)
{
    std::vector<SpeakerArrangement> result;
    const int32 count = std::max<int32>(0, component->getBusCount(kAudio, direction));
    for (int32 i = 0; i < count; ++i) {
        SpeakerArrangement arrangement = 0;
        if (processor->getBusArrangement(direction, i, arrangement) != kResultOk) {
            BusInfo info{};
            if (component->getBusInfo(kAudio, direction, i, info) == kResultOk && info.channelCount > 0)
                arrangement = info.channelCount == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        }
        result.push_back(arrangement);
    }
    return result;
}

} // namespace

Renderer::Renderer(PluginInstance& instance, double sampleRate, RenderOptions options)
    : instance_(instance), sampleRate_(sampleRate), options_(std::move(options)),
      inputChanges_(std::max(kMinParameterQueues, options_.settings.size()), 64)
{}

std::unique_ptr<Renderer> Renderer::create(PluginInstance& instance, double sampleRate, RenderOptions options,
                                           std::string& error)
{
    if (!(sampleRate >= 1000.0 && sampleRate <= 10'000'000.0)) {
        error = "unusable sample rate " + std::to_string(sampleRate);
        return nullptr;
    }
    if (options.blockSize < 1 || !(options.bpm > 0.0) || !std::isfinite(options.bpm)) {
        error = "unusable block size or tempo";
        return nullptr;
    }
    std::unique_ptr<Renderer> renderer(new Renderer(instance, sampleRate, std::move(options)));
    if (!renderer->setUp(error)) return nullptr;
    renderer->scheduleNotes();
    return renderer;
}

bool Renderer::setUp(std::string& error)
{
    IComponent* component = instance_.component();
    IAudioProcessor* processor = instance_.processor();

    if (processor->canProcessSampleSize(kSample32) != kResultTrue) {
        error = "the plug-in cannot process 32-bit samples";
        return false;
    }
    // Ask for stereo on the main buses and keep every other bus as it is; a
    // plug-in that refuses keeps its own arrangement, which we then follow.
    auto ins = currentArrangements(component, processor, kInput);
    auto outs = currentArrangements(component, processor, kOutput);
    if (!ins.empty()) ins[0] = SpeakerArr::kStereo;
    if (!outs.empty()) outs[0] = SpeakerArr::kStereo;
    processor->setBusArrangements(ins.data(), static_cast<int32>(ins.size()), outs.data(),
                                  static_cast<int32>(outs.size()));
    ins = currentArrangements(component, processor, kInput);
    outs = currentArrangements(component, processor, kOutput);
    if (outs.empty() || channelCount(outs[0]) < 1) {
        error = "the plug-in has no audio output";
        return false;
    }

    ProcessSetup setup{};
    setup.processMode = options_.offline ? kOffline : kRealtime;
    setup.symbolicSampleSize = kSample32;
    setup.maxSamplesPerBlock = options_.blockSize;
    setup.sampleRate = sampleRate_;
    if (processor->setupProcessing(setup) != kResultOk) {
        error = "the plug-in refused to process blocks of " + std::to_string(options_.blockSize) + " frames at " +
                std::to_string(static_cast<long>(sampleRate_)) + " Hz";
        return false;
    }
    // The main buses carry the render; side-chains and extra outputs stay off.
    if (!ins.empty()) component->activateBus(kAudio, kInput, 0, true);
    component->activateBus(kAudio, kOutput, 0, true);
    if (component->getBusCount(kEvent, kInput) > 0) component->activateBus(kEvent, kInput, 0, true);
    if (component->getBusCount(kEvent, kOutput) > 0) component->activateBus(kEvent, kOutput, 0, true);

    prepareBuses(inputs_, inputData_, ins);
    prepareBuses(outputs_, outputData_, outs);

    if (component->setActive(true) != kResultOk) {
        error = "the plug-in refused to activate";
        return false;
    }
    active_ = true;
    // Plug-ins without a processing switch answer kNotImplemented; that is fine.
    processor->setProcessing(true);
    processing_ = true;
    return true;
}

void Renderer::prepareBuses(std::vector<Bus>& buses, std::vector<AudioBusBuffers>& data,
                            const std::vector<SpeakerArrangement>& arrangements)
{
    buses.resize(arrangements.size());
    data.resize(arrangements.size());
    for (std::size_t i = 0; i < arrangements.size(); ++i) {
        const auto channels = static_cast<std::size_t>(std::max<int32>(0, channelCount(arrangements[i])));
        buses[i].channels.assign(channels, std::vector<float>(static_cast<std::size_t>(options_.blockSize), 0.0f));
        buses[i].pointers.resize(channels);
        for (std::size_t c = 0; c < channels; ++c) buses[i].pointers[c] = buses[i].channels[c].data();
        data[i] = AudioBusBuffers{};
        data[i].numChannels = static_cast<int32>(channels);
        data[i].channelBuffers32 = buses[i].pointers.data();
    }
}

void Renderer::scheduleNotes()
{
    const double framesPerBeat = 60.0 / options_.bpm * sampleRate_;
    for (const TimedNote& note : options_.notes) {
        const auto start = static_cast<int64_t>(std::llround(note.startBeat * framesPerBeat));
        // A note always lasts at least one frame, so its off never comes before its on.
        const auto end =
            std::max<int64_t>(start + 1, std::llround((note.startBeat + note.lengthBeats) * framesPerBeat));
        Event on{};
        on.type = Event::kNoteOnEvent;
        on.ppqPosition = note.startBeat;
        on.noteOn.channel = note.channel;
        on.noteOn.pitch = note.pitch;
        on.noteOn.velocity = note.velocity;
        on.noteOn.noteId = -1;
        Event off{};
        off.type = Event::kNoteOffEvent;
        off.ppqPosition = note.startBeat + note.lengthBeats;
        off.noteOff.channel = note.channel;
        off.noteOff.pitch = note.pitch;
        off.noteOff.velocity = 0.0f;
        off.noteOff.noteId = -1;
        hostEvents_.push_back({start, on});
        hostEvents_.push_back({end, off});
    }
    // At one frame a note that ends goes before one that starts, so a repeated
    // pitch is released and struck again rather than the other way round.
    std::stable_sort(hostEvents_.begin(), hostEvents_.end(), [](const HostEvent& a, const HostEvent& b) {
        if (a.frame != b.frame) return a.frame < b.frame;
        return a.event.type == Event::kNoteOffEvent && b.event.type != Event::kNoteOffEvent;
    });
}

ProcessContext Renderer::contextAt(int64_t frame) const
{
    ProcessContext context{};
    context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid |
                    ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid |
                    ProcessContext::kContTimeValid;
    context.sampleRate = sampleRate_;
    context.projectTimeSamples = frame;
    context.continousTimeSamples = frame;
    context.projectTimeMusic = static_cast<double>(frame) / sampleRate_ * options_.bpm / 60.0;
    context.timeSigNumerator = 4;
    context.timeSigDenominator = 4;
    context.barPositionMusic = std::floor(context.projectTimeMusic / 4.0) * 4.0;
    context.tempo = options_.bpm;
    return context;
}

AudioBuffer Renderer::render(const AudioBuffer& input, RenderReport& report, const RenderProgress& progress)
{
    IAudioProcessor* processor = instance_.processor();
    IEditController* controller = instance_.controller();
    report = RenderReport{};
    report.latency = static_cast<int32_t>(std::min<uint32>(processor->getLatencySamples(), 10'000'000));

    const std::size_t outputFrames = input.frames() + options_.tailFrames;
    const auto latency = static_cast<std::size_t>(report.latency);
    const std::size_t totalFrames = outputFrames + latency;
    AudioBuffer output;
    output.sampleRate = sampleRate_;
    output.resize(outputFrames);

    // What a DAW shows the user is what it tells the controller too.
    if (controller != nullptr)
        for (const ParameterSetting& s : options_.settings) controller->setParamNormalized(s.id, s.normalized);

    const bool monoIn = !inputs_.empty() && inputs_[0].channels.size() == 1;
    std::size_t nextEvent = 0;
    for (std::size_t start = 0; start < totalFrames || (totalFrames == 0 && start == 0);) {
        const auto n = static_cast<int32>(std::min<std::size_t>(options_.blockSize, totalFrames - start));

        for (Bus& bus : inputs_)
            for (auto& channel : bus.channels) std::fill(channel.begin(), channel.end(), 0.0f);
        if (!inputs_.empty()) {
            Bus& main = inputs_[0];
            for (int32 i = 0; i < n; ++i) {
                const std::size_t at = start + static_cast<std::size_t>(i);
                const float l = at < input.frames() ? input.left[at] : 0.0f;
                const float r = at < input.frames() ? input.right[at] : 0.0f;
                if (monoIn) {
                    main.channels[0][static_cast<std::size_t>(i)] = 0.5f * (l + r);
                } else {
                    for (std::size_t c = 0; c < main.channels.size(); ++c)
                        main.channels[c][static_cast<std::size_t>(i)] = c % 2 == 0 ? l : r;
                }
            }
        }
        for (Bus& bus : outputs_)
            for (auto& channel : bus.channels) std::fill(channel.begin(), channel.end(), 0.0f);
        for (auto& d : inputData_) d.silenceFlags = 0;
        for (auto& d : outputData_) d.silenceFlags = 0;

        inputEvents_.clear();
        while (nextEvent < hostEvents_.size() && hostEvents_[nextEvent].frame < static_cast<int64_t>(start + n)) {
            Event e = hostEvents_[nextEvent].event;
            e.sampleOffset = static_cast<int32>(hostEvents_[nextEvent].frame - static_cast<int64_t>(start));
            inputEvents_.addEvent(e);
            ++nextEvent;
        }
        inputChanges_.clear();
        if (start == 0)
            for (const ParameterSetting& s : options_.settings) inputChanges_.add(s.id, 0, s.normalized);
        outputEvents_.clear();
        outputChanges_.clear();

        ProcessContext context = contextAt(static_cast<int64_t>(start));
        ProcessData data{};
        data.processMode = options_.offline ? kOffline : kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = n;
        data.numInputs = static_cast<int32>(inputData_.size());
        data.numOutputs = static_cast<int32>(outputData_.size());
        data.inputs = inputData_.empty() ? nullptr : inputData_.data();
        data.outputs = outputData_.data();
        data.inputParameterChanges = &inputChanges_;
        data.outputParameterChanges = &outputChanges_;
        data.inputEvents = &inputEvents_;
        data.outputEvents = &outputEvents_;
        data.processContext = &context;

        const auto before = std::chrono::steady_clock::now();
        processor->process(data);
        const auto after = std::chrono::steady_clock::now();
        report.processSeconds += std::chrono::duration<double>(after - before).count();
        ++report.blocks;

        const Bus& main = outputs_[0];
        for (int32 i = 0; i < n; ++i) {
            const std::size_t at = start + static_cast<std::size_t>(i);
            if (at < latency) continue;
            output.left[at - latency] = main.channels[0][static_cast<std::size_t>(i)];
            output.right[at - latency] = main.channels[main.channels.size() > 1 ? 1 : 0][static_cast<std::size_t>(i)];
        }
        collectOutput(static_cast<int64_t>(start) - static_cast<int64_t>(latency), report);
        start += static_cast<std::size_t>(n);
        if (n == 0) break;
        if (progress) progress(std::min(start, outputFrames), outputFrames);
    }
    return output;
}

void Renderer::collectOutput(int64_t blockFrame, RenderReport& report)
{
    for (const Event& e : outputEvents_.events()) {
        OutputEvent out;
        out.frame = blockFrame + e.sampleOffset;
        switch (e.type) {
        case Event::kNoteOnEvent:
            out.kind = OutputEvent::Kind::NoteOn;
            out.channel = e.noteOn.channel;
            out.number = e.noteOn.pitch;
            out.value = e.noteOn.velocity;
            break;
        case Event::kNoteOffEvent:
            out.kind = OutputEvent::Kind::NoteOff;
            out.channel = e.noteOff.channel;
            out.number = e.noteOff.pitch;
            out.value = e.noteOff.velocity;
            break;
        case Event::kLegacyMIDICCOutEvent:
            out.kind = OutputEvent::Kind::Controller;
            out.channel = e.midiCCOut.channel;
            out.number = e.midiCCOut.controlNumber;
            out.value = e.midiCCOut.value;
            break;
        default: continue;
        }
        report.events.push_back(out);
    }
    // The host hands the processor's own changes (AutoPlay switching effects)
    // to the controller, so a state saved afterwards and the editor agree.
    if (IEditController* controller = instance_.controller()) {
        for (std::size_t i = 0; i < outputChanges_.size(); ++i) {
            const auto& points = outputChanges_.queue(i).points();
            if (!points.empty()) controller->setParamNormalized(outputChanges_.queue(i).id(), points.back().value);
        }
    }
}

Renderer::~Renderer()
{
    if (processing_) instance_.processor()->setProcessing(false);
    if (active_) instance_.component()->setActive(false);
}

} // namespace vexbit::host
