// Processing driven by the input, as a careless or hostile host might drive
// it: set-up with any block size and sample rate, setActive and setProcessing
// in any order, blocks of 0 frames and beyond the announced maximum,
// parameter changes with any values and offsets, notes of any channel, pitch,
// velocity and offset, transport with any tempo, position, rate and flags,
// and null buffers and lists wherever the interface allows them.
#include "FuzzSession.h"

#include "host/ProcessObjects.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vexbit::fuzz;

namespace {

constexpr int32 kMaxFrames = 16384;
const uint32_t kParamIds[] = {1,   2,   3,   101, 202, 203, 301,  401,        501, 601,
                              603, 611, 701, 801, 802, 902, 1001, 0x7FFFFFFF, 5,   0xFFFFFFFF};

double pickDouble(FuzzedDataProvider& in)
{
    static const double special[] = {0.0,
                                     1.0,
                                     -1.0,
                                     0.5,
                                     1e-300,
                                     1e300,
                                     -1e300,
                                     std::numeric_limits<double>::quiet_NaN(),
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity()};
    if (in.ConsumeBool()) return special[in.ConsumeIntegralInRange<size_t>(0, std::size(special) - 1)];
    return in.ConsumeFloatingPoint<double>();
}

double pickNormalized(FuzzedDataProvider& in)
{
    return in.ConsumeIntegralInRange(0, 3) != 0 ? in.ConsumeProbability<double>() : pickDouble(in);
}

int32 pickOffset(FuzzedDataProvider& in, int32 frames)
{
    if (in.ConsumeIntegralInRange(0, 3) != 0) return in.ConsumeIntegralInRange<int32>(0, frames > 0 ? frames - 1 : 0);
    return in.ConsumeIntegral<int32>();
}

int32 pickFrames(FuzzedDataProvider& in, int32 maxBlock)
{
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return 0;
    case 1: return maxBlock;
    case 2: return std::min(kMaxFrames, maxBlock + 1);
    case 3: return in.ConsumeIntegralInRange<int32>(0, kMaxFrames);
    default: return in.ConsumeIntegralInRange<int32>(1, std::max(1, maxBlock));
    }
}

ProcessSetup pickSetup(FuzzedDataProvider& in)
{
    static const int32 blocks[] = {1, 32, 64, 512, 4096, 8192};
    static const double rates[] = {44100.0, 48000.0, 96000.0, 192000.0, 8000.0, 22050.0};
    ProcessSetup setup{};
    setup.processMode = in.ConsumeIntegralInRange<int32>(0, 2);
    setup.symbolicSampleSize = kSample32;
    setup.maxSamplesPerBlock = in.ConsumeBool() ? blocks[in.ConsumeIntegralInRange<size_t>(0, std::size(blocks) - 1)]
                                                : in.ConsumeIntegral<int32>();
    setup.sampleRate = in.ConsumeIntegralInRange(0, 3) != 0
                           ? rates[in.ConsumeIntegralInRange<size_t>(0, std::size(rates) - 1)]
                           : pickDouble(in);
    return setup;
}

void fillContext(FuzzedDataProvider& in, ProcessContext& context, const ProcessSetup& setup)
{
    context = {};
    context.state = in.ConsumeBool() ? in.ConsumeIntegral<uint32>()
                                     : (ProcessContext::kPlaying | ProcessContext::kTempoValid |
                                        ProcessContext::kProjectTimeMusicValid | ProcessContext::kTimeSigValid);
    context.sampleRate = in.ConsumeBool() ? setup.sampleRate : pickDouble(in);
    context.projectTimeSamples = in.ConsumeIntegral<int64>();
    context.tempo = in.ConsumeBool() ? in.ConsumeFloatingPointInRange<double>(1.0, 999.0) : pickDouble(in);
    context.projectTimeMusic = in.ConsumeBool() ? in.ConsumeFloatingPointInRange<double>(0.0, 1000.0) : pickDouble(in);
    context.barPositionMusic = pickDouble(in);
    context.cycleStartMusic = pickDouble(in);
    context.cycleEndMusic = pickDouble(in);
    context.timeSigNumerator = in.ConsumeIntegral<int32>();
    context.timeSigDenominator = in.ConsumeIntegral<int32>();
    context.continousTimeSamples = in.ConsumeIntegral<int64>();
    context.samplesToNextClock = in.ConsumeIntegral<int32>();
}

void addParameterChanges(FuzzedDataProvider& in, vexbit::host::HostParameterChanges& changes, int32 frames)
{
    const int queues = in.ConsumeIntegralInRange(0, 8);
    for (int q = 0; q < queues; ++q) {
        const uint32_t id = in.ConsumeIntegralInRange(0, 7) != 0
                                ? kParamIds[in.ConsumeIntegralInRange<size_t>(0, std::size(kParamIds) - 1)]
                                : in.ConsumeIntegral<uint32_t>();
        const int points = in.ConsumeIntegralInRange(0, 4);
        for (int p = 0; p < points; ++p) changes.add(id, pickOffset(in, frames), pickNormalized(in));
    }
}

void addEvents(FuzzedDataProvider& in, vexbit::host::HostEventList& events, int32 frames)
{
    const int count = in.ConsumeIntegralInRange(0, 16);
    for (int i = 0; i < count; ++i) {
        Event e{};
        e.busIndex = in.ConsumeIntegralInRange(0, 7) != 0 ? 0 : in.ConsumeIntegral<int32>();
        e.sampleOffset = pickOffset(in, frames);
        e.ppqPosition = pickDouble(in);
        e.flags = in.ConsumeIntegral<uint16>();
        e.type = in.ConsumeIntegralInRange(0, 3) != 0 ? in.ConsumeIntegralInRange<uint16>(0, 1)
                                                      : in.ConsumeIntegral<uint16>();
        const bool usualNote = in.ConsumeIntegralInRange(0, 3) != 0;
        if (e.type == Event::kNoteOffEvent) {
            e.noteOff.channel = usualNote ? in.ConsumeIntegralInRange<int16>(0, 15) : in.ConsumeIntegral<int16>();
            e.noteOff.pitch = usualNote ? in.ConsumeIntegralInRange<int16>(48, 84) : in.ConsumeIntegral<int16>();
            e.noteOff.velocity = usualNote ? in.ConsumeProbability<float>() : static_cast<float>(pickDouble(in));
            e.noteOff.noteId = in.ConsumeIntegral<int32>();
            e.noteOff.tuning = static_cast<float>(pickDouble(in));
        } else {
            // Every other type gets the note-on layout's bytes, whatever it says.
            e.noteOn.channel = usualNote ? in.ConsumeIntegralInRange<int16>(0, 15) : in.ConsumeIntegral<int16>();
            e.noteOn.pitch = usualNote ? in.ConsumeIntegralInRange<int16>(48, 84) : in.ConsumeIntegral<int16>();
            e.noteOn.velocity = usualNote ? in.ConsumeProbability<float>() : static_cast<float>(pickDouble(in));
            e.noteOn.length = in.ConsumeIntegral<int32>();
            e.noteOn.tuning = static_cast<float>(pickDouble(in));
            e.noteOn.noteId = in.ConsumeIntegral<int32>();
        }
        events.addEvent(e);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    IComponent* component = session.component();
    IAudioProcessor* processor = session.processor();
    FuzzedDataProvider in(data, size);

    ProcessSetup setup = pickSetup(in);
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);

    static std::vector<float> buffers[4];
    static vexbit::host::HostParameterChanges inChanges(64, 8), outChanges(256, 64);
    static vexbit::host::HostEventList inEvents(64), outEvents(4096);

    const int steps = in.ConsumeIntegralInRange(1, 24);
    for (int step = 0; step < steps && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: component->setActive(in.ConsumeBool()); continue;
        case 1: processor->setProcessing(in.ConsumeBool()); continue;
        case 2: // set-up belongs between setActive(false) and setActive(true)
            component->setActive(false);
            setup = pickSetup(in);
            processor->setupProcessing(setup);
            component->setActive(true);
            continue;
        default: break;
        }

        const int32 frames = pickFrames(in, std::clamp<int32>(setup.maxSamplesPerBlock, 0, kMaxFrames));
        for (auto& b : buffers) b.assign(static_cast<size_t>(frames), 0.0f);
        for (size_t i = 0; i < static_cast<size_t>(frames); ++i)
            buffers[0][i] = buffers[1][i] = static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
        float* inPointers[2] = {buffers[0].data(), buffers[1].data()};
        float* outPointers[2] = {buffers[2].data(), buffers[3].data()};
        AudioBusBuffers inBus{};
        AudioBusBuffers outBus{};
        inBus.numChannels = outBus.numChannels = 2;
        inBus.channelBuffers32 = inPointers;
        outBus.channelBuffers32 = outPointers;

        ProcessData block{};
        block.processMode = setup.processMode;
        block.symbolicSampleSize = kSample32;
        block.numSamples = frames;
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: break; // no buses at all
        case 1:        // in place
            inBus.channelBuffers32 = outPointers;
            block.numInputs = block.numOutputs = 1;
            break;
        case 2: // buses without channel buffers
            inBus.channelBuffers32 = outBus.channelBuffers32 = nullptr;
            block.numInputs = block.numOutputs = 1;
            break;
        case 3: // fewer channels than the bus has
            inBus.numChannels = in.ConsumeIntegralInRange(0, 1);
            outBus.numChannels = in.ConsumeIntegralInRange(0, 1);
            block.numInputs = block.numOutputs = 1;
            break;
        default: block.numInputs = block.numOutputs = 1; break;
        }
        block.inputs = block.numInputs > 0 ? &inBus : nullptr;
        block.outputs = block.numOutputs > 0 ? &outBus : nullptr;

        inChanges.clear();
        inEvents.clear();
        outChanges.clear();
        outEvents.clear();
        if (in.ConsumeBool()) {
            addParameterChanges(in, inChanges, frames);
            block.inputParameterChanges = &inChanges;
        }
        if (in.ConsumeBool()) {
            addEvents(in, inEvents, frames);
            block.inputEvents = &inEvents;
        }
        block.outputParameterChanges = in.ConsumeBool() ? &outChanges : nullptr;
        block.outputEvents = in.ConsumeBool() ? &outEvents : nullptr;
        ProcessContext context{};
        if (in.ConsumeIntegralInRange(0, 3) != 0) {
            fillContext(in, context, setup);
            block.processContext = &context;
        }
        processor->process(block);
    }
    session.reset();
    return 0;
}
