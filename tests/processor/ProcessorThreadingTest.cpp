// The processor inside the built bundle called the way hosts call it from
// several threads: states restored and controller messages delivered while
// the audio thread processes, and the state read back before any block ran.
// Also built with ThreadSanitizer by the test script.

#include "host/ProcessObjects.h"
#include "support/ControllerMessages.h"
#include "support/LoadedBundle.h"

#include "product/ModuleConfig.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;
namespace {

constexpr int32 kBlock = 512;
constexpr double kRate = 44100.0;

// A complete state of the shipped table with every saved parameter at a random
// value inside its range (whole numbers where the parameter has steps).
StateBytes randomState(std::mt19937& random, bool bypass)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    StateBytes b = stateHead(bypass);
    b.u32(74);
    for (const auto& [id, record] : parameterTable()) {
        if (record.flags & kTransient) continue;
        double plain = record.min + (record.max - record.min) * unit(random);
        if (record.kind == ParamKind::Integer || record.kind == ParamKind::List) plain = std::round(plain);
        b.u32(id);
        b.f64(plain);
    }
    return b;
}

TEST(ProcessorThreads, StatesAndMessagesArriveWhileTheAudioThreadPlays)
{
    configureModule();
    LoadedBundle l = loadBundle();
    ASSERT_TRUE(l.instance);
    l.activate(kRate, kBlock);
    FUnknownPtr<IConnectionPoint> connection(l.component());
    ASSERT_TRUE(connection);

    std::atomic<bool> playing{true};
    std::atomic<bool> messaging{true};
    std::atomic<bool> outputFinite{true};
    std::atomic<bool> savedWhole{true};
    std::atomic<long> blocks{0};
    std::atomic<long> restores{0};
    std::atomic<long> messages{0};
    Bytes lastRestored;

    // AutoPlay on, trigger and randomise notes, a tempo that keeps changing.
    std::thread audio([&] {
        host::StereoBlock block(kBlock);
        double position = 0.0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        for (long b = 0; std::chrono::steady_clock::now() < end; ++b) {
            block.clearLists();
            const double tempo = 90.0 + 10.0 * static_cast<double>((b / 40) % 8);
            block.playAt(position, tempo);
            block.paramsIn.add(1, 0, 1.0);
            static const int16 pitches[] = {48, 50, 52, 53, 55, 57, 59, 60, 72, 74, 76, 77, 79, 81, 83, 84};
            const int16 pitch = pitches[b % 16];
            block.addInput(host::noteOnEvent(static_cast<int32>((b * 37) % kBlock), pitch));
            block.addInput(host::noteOffEvent(static_cast<int32>((b * 91) % kBlock), pitches[(b + 5) % 16]));
            l.processor()->process(block.next(kBlock));
            for (int32 i = 0; i < kBlock; ++i)
                if (!std::isfinite(block.outL[i]) || !std::isfinite(block.outR[i])) outputFinite = false;
            position += kBlock / (kRate * 60.0 / tempo);
            blocks = b + 1;
        }
        playing = false;
    });

    std::thread controller([&] {
        std::mt19937 random(7);
        while (playing) {
            const uint32_t n = random() % 5;
            std::vector<std::string> entries;
            for (uint32_t i = 0; i < n; ++i) entries.push_back("entry " + std::to_string(random() % 1000));
            connection->notify(stringListMessage(random() % 2 == 0 ? 603 : 702, entries));
            const uint32_t tag = random();
            connection->notify(dataMessage(tag, Bytes(1 + random() % 64, 0x5A)));
            messages += 2;
        }
        messaging = false;
    });

    std::thread host([&] {
        std::mt19937 random(11);
        while (playing) {
            const bool bypass = random() % 4 == 0;
            l.restore(randomState(random, bypass));
            ++restores;
            // Saved while the audio thread plays: a mix of both, but whole.
            if (l.saved().size() != 905u) savedWhole = false;
        }
        while (messaging) std::this_thread::yield();
        // Restored once more after everything else stopped: no block will apply it.
        lastRestored = randomState(random, true);
        EXPECT_EQ(l.restore(lastRestored), kResultOk);
    });

    audio.join();
    controller.join();
    host.join();

    EXPECT_TRUE(outputFinite);
    EXPECT_TRUE(savedWhole);
    EXPECT_GT(blocks.load(), 50);
    EXPECT_GT(restores.load(), 10);
    EXPECT_GT(messages.load(), 10);
    EXPECT_EQ(l.saved(), lastRestored);
    l.deactivate();
    EXPECT_EQ(l.saved(), lastRestored);
}

struct BlockOutput {
    std::vector<Event> events;
    std::vector<std::pair<ParamID, double>> reports;
};

// Silent blocks with the transport stopped, so that nothing random happens.
std::vector<BlockOutput> runBlocks(const LoadedBundle& l, host::StereoBlock& block, int count)
{
    std::vector<BlockOutput> out;
    for (int b = 0; b < count; ++b) {
        block.clearLists();
        block.stop();
        EXPECT_EQ(l.processor()->process(block.next(kBlock)), kResultOk);
        BlockOutput o;
        o.events = block.eventsOut.events();
        for (int32 q = 0; q < block.paramsOut.getParameterCount(); ++q) {
            IParamValueQueue* queue = block.paramsOut.getParameterData(q);
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(0, offset, value) == kResultOk) o.reports.emplace_back(queue->getParameterId(), value);
        }
        out.push_back(std::move(o));
    }
    return out;
}

bool sameEvents(const std::vector<Event>& a, const std::vector<Event>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].type != b[i].type || a[i].sampleOffset != b[i].sampleOffset ||
            std::memcmp(&a[i].noteOn, &b[i].noteOn, sizeof(NoteOnEvent)) != 0)
            return false;
    return true;
}

TEST(ProcessorThreads, AStateRestoredWhilePlayingActsAsOneRestoredBeforePlayback)
{
    configureModule();
    LoadedBundle before = loadBundle();
    LoadedBundle during = loadBundle();
    ASSERT_TRUE(before.instance && during.instance);
    host::StereoBlock blockBefore(kBlock);
    host::StereoBlock blockDuring(kBlock);
    std::mt19937 random(5);
    Bytes state = randomState(random, false);
    // AutoPlay off (ID 1, the first pair), so that nothing random happens.
    StateBytes off;
    off.f64(0.0);
    std::copy(off.bytes.begin(), off.bytes.end(), state.begin() + 21);

    // The same history for both, then the same state: restored between an
    // deactivation and an activation, or handed over while active.
    before.activate(kRate, kBlock);
    during.activate(kRate, kBlock);
    runBlocks(before, blockBefore, 3);
    runBlocks(during, blockDuring, 3);
    before.deactivate();
    ASSERT_EQ(before.restore(state), kResultOk);
    before.activate(kRate, kBlock);
    ASSERT_EQ(during.restore(state), kResultOk);
    const auto afterBefore = runBlocks(before, blockBefore, 10);
    const auto afterDuring = runBlocks(during, blockDuring, 10);

    ASSERT_FALSE(afterDuring[0].events.empty()) << "the restored values are echoed";
    for (const Event& e : afterDuring[0].events) EXPECT_EQ(e.sampleOffset, 0);
    for (int b = 0; b < 10; ++b) {
        EXPECT_TRUE(sameEvents(afterBefore[b].events, afterDuring[b].events)) << "block " << b;
        EXPECT_EQ(afterBefore[b].reports, afterDuring[b].reports) << "block " << b;
    }
    EXPECT_EQ(before.saved(), during.saved());
    before.deactivate();
    during.deactivate();
}

} // namespace
} // namespace vexbit::test
