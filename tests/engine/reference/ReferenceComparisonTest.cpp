// The engine against its frozen per-frame predecessor: long randomised sessions
// (notes, host changes, Randomise, AutoPlay, tempo and rate changes, odd block
// splits, hostile input) must give the same output bits, the same MIDI and
// parameter traffic and the same observable state. VEXBIT_REFERENCE_FRAMES sets
// the frames per session for long runs.
#include "engine/GlitchEngine.h"
#include "engine/RandomSource.h"
#include "engine/reference/GlitchEngine.h"
#include "engine/reference/RandomSource.h"

#include "common/ParameterIds.h"
#include "params/ParamConversion.h"
#include "product/PluginParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vexbit::test {
namespace {

// Everything the engine tells its host, in order, with floats as bits.
struct HostCall {
    char kind;
    int64_t a;
    int64_t b;
    int64_t c;
    bool operator==(const HostCall&) const = default;
};

// The processor's parameter store in miniature, for either engine: plain values
// by the real table, non-finite values refused, unknown IDs not stored.
template <typename HostBase, typename Engine>
class TableHost : public HostBase {
public:
    explicit TableHost(const ParameterTable& table) : table_(table)
    {
        for (const auto& [id, record] : table.records()) values_[id] = record.defaultValue;
    }

    double getParameterValue(uint32_t id) const override
    {
        const auto it = values_.find(id);
        return it == values_.end() ? 0.0 : it->second;
    }
    double getParameterNormalized(uint32_t id) const override
    {
        const ParamRecord* record = table_.find(id);
        return record == nullptr ? 0.0 : toNormalized(getParameterValue(id), *record);
    }
    void storeParameterValue(uint32_t id, double plain) override
    {
        if (!std::isfinite(plain)) return;
        if (const auto it = values_.find(id); it != values_.end()) it->second = plain;
    }
    void setParameterNormalized(uint32_t id, double normalized) override
    {
        calls.push_back({'S', id, std::bit_cast<int64_t>(normalized), 0});
        const ParamRecord* record = table_.find(id);
        if (record != nullptr) storeParameterValue(id, toPlain(normalized, *record));
        engine->applyParameter(id, getParameterValue(id));
        markParameterChanged(id);
    }
    void markParameterChanged(uint32_t id) override { calls.push_back({'M', id, 0, 0}); }
    void queueNoteOnOut(int16_t pitch, float velocity) override
    {
        calls.push_back({'N', pitch, std::bit_cast<int32_t>(velocity), 0});
    }
    void queueNoteOffOut(int16_t pitch, float velocity) override
    {
        calls.push_back({'F', pitch, std::bit_cast<int32_t>(velocity), 0});
    }
    void queueControllerOut(int32_t offset, uint8_t controller, int32_t value) override
    {
        calls.push_back({'C', offset, controller, value});
    }
    double getTempo() const override { return tempo; }
    double getSampleRate() const override { return sampleRate; }

    Engine* engine = nullptr;
    std::vector<HostCall> calls;
    double tempo = 120.0;
    double sampleRate = 44100.0;

private:
    const ParameterTable& table_;
    std::map<uint32_t, double> values_;
};

using FastHost = TableHost<EngineHost, GlitchEngine>;
using ReferenceHost = TableHost<reference::EngineHost, reference::GlitchEngine>;

uint32_t bits(float x)
{
    return std::bit_cast<uint32_t>(x);
}

// Every piece of engine state the units let a caller see, floats as bits.
template <typename Engine>
std::vector<int64_t> observableState(const Engine& e)
{
    std::vector<int64_t> s;
    auto f = [&s](float x) { s.push_back(bits(x)); };
    auto i = [&s](int64_t x) { s.push_back(x); };
    i(e.activeTimedCount);
    for (int32_t t : e.remainingTicks) i(t);
    i(e.effectPicker.total());
    for (const auto& p : e.lengthPickers) i(p.total());
    i(e.gator.engaged());
    f(e.gator.speed());
    f(e.gator.sampleRate());
    i(e.lofi.mask());
    i(e.lofi.holdLength());
    i(e.filter.engaged());
    for (int c = 0; c < 2; ++c)
        for (const auto* b : {&e.filter.lowPass(c), &e.filter.highPass(c)})
            for (float x : {b->a0, b->a1, b->a2, b->b0, b->b1, b->b2, b->x1, b->x2, b->y1, b->y2}) f(x);
    f(e.tapeStop.startSpeed());
    f(e.tapeStop.stopSpeed());
    f(e.tapeStop.sampleRate());
    f(e.tapeStop.gain());
    f(e.tapeStop.velocity());
    f(e.tapeStop.position());
    f(e.retrigger.sliceLength());
    f(e.retrigger.pitch());
    i(e.retrigger.beatSync());
    for (int32_t n : e.shuffler.lengths()) i(n);
    for (int k = 0; k < 4; ++k) i(e.shuffler.gridCounter(k));
    for (int k = 0; k < e.shuffler.lengthWeights().size(); ++k) i(e.shuffler.lengthWeights().weight(k));
    i(e.reverser.length());
    f(e.delay.level());
    f(e.delay.feedback());
    f(e.delay.targetTime());
    f(e.delay.currentTime());
    f(e.delay.sampleRate());
    f(e.granular.mix());
    f(e.granular.duration());
    i(e.granular.grainSize());
    for (int g = 0; g < 9; ++g) {
        const auto& grain = e.granular.grain(g);
        i(grain.counter);
        i(grain.length);
        for (float x : {grain.posL, grain.posR, grain.rate, grain.env, grain.amp}) f(x);
    }
    return s;
}

// Both engines side by side, driven by one stream of test decisions.
class Session {
public:
    Session(const ParameterTable& table, uint32_t seed) : fastHost_(table), referenceHost_(table), rng_(seed)
    {
        // The engines seed their generators from the clock while constructing;
        // both must start in the same second.
        do {
            const std::time_t before = std::time(nullptr);
            fast_ = std::make_unique<GlitchEngine>(fastHost_);
            reference_ = std::make_unique<reference::GlitchEngine>(referenceHost_);
            if (std::time(nullptr) == before) break;
        } while (true);
        fastHost_.engine = fast_.get();
        referenceHost_.engine = reference_.get();
        RandomSource::seed(seed);
        reference::RandomSource::seed(seed);
        for (const auto& [id, record] : table.records()) both([&](auto& e, auto&) { e.applyParameter(id, 0.0); });
        both([](auto& e, auto&) { e.onSampleRateChanged(44100.0); });
        both([](auto& e, auto&) { e.onTempoChanged(120.0); });
        setPlain(kAutoPlayId, 1.0);
        for (const auto& [id, record] : table.records()) ids_.push_back(id);
        for (uint32_t id : ids_)
            if (table.find(id)->kind != ParamKind::List && table.find(id)->kind != ParamKind::Integer)
                continuousIds_.push_back(id);
    }

    // Runs frames frames in blocks and sub-blocks of random size with random
    // events between them; stops at the first difference.
    void run(int64_t frames)
    {
        std::vector<float> inL, inR, fastL, fastR, refL, refR;
        while (compared_ < frames && !::testing::Test::HasFailure()) {
            const int32_t n = subBlockSize();
            fill(inL, n);
            fill(inR, n);
            fastL.assign(static_cast<size_t>(n), 7.0f);
            fastR = fastL;
            refL = fastL;
            refR = fastL;
            processBoth(inL, inR, fastL, fastR, refL, refR, n);
            ASSERT_EQ(0, std::memcmp(fastL.data(), refL.data(), sizeof(float) * static_cast<size_t>(n)))
                << "left output differs within frames " << compared_ << " to " << compared_ + n;
            ASSERT_EQ(0, std::memcmp(fastR.data(), refR.data(), sizeof(float) * static_cast<size_t>(n)))
                << "right output differs within frames " << compared_ << " to " << compared_ + n;
            compared_ += n;
            if (quiet_ > 0)
                --quiet_;
            else
                event();
            ASSERT_EQ(fastHost_.calls, referenceHost_.calls) << "host traffic differs after frame " << compared_;
            fastHost_.calls.clear();
            referenceHost_.calls.clear();
            if (++subBlocks_ % 16 == 0) compareState();
        }
        compareState();
    }

    int64_t compared() const { return compared_; }

private:
    template <typename F>
    void both(F&& f)
    {
        f(*fast_, fastHost_);
        f(*reference_, referenceHost_);
    }

    void setPlain(uint32_t id, double plain)
    {
        both([&](auto& e, auto& h) {
            h.storeParameterValue(id, plain);
            e.applyParameter(id, h.getParameterValue(id));
        });
    }

    void compareState()
    {
        ASSERT_EQ(observableState(*fast_), observableState(*reference_)) << "state differs after frame " << compared_;
        // Equal next draws: the generators are in step.
        ASSERT_EQ(RandomSource::next(), reference::RandomSource::next());
    }

    int32_t pick(int32_t n) { return static_cast<int32_t>(rng_() % static_cast<uint32_t>(n)); }
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }

    int32_t subBlockSize()
    {
        switch (pick(6)) {
        case 0: return 1 + pick(4);
        case 1: return 1 + pick(64);
        case 2: return 32;
        case 3: return 1 + pick(600);
        case 4: return 512;
        default: return 1 + pick(4096);
        }
    }

    // Mostly noise, at times silence, negative zeros, subnormals, huge or
    // non-finite samples, so every guard in the chain gets its turn.
    void fill(std::vector<float>& x, int32_t n)
    {
        x.resize(static_cast<size_t>(n));
        // A quiet stretch leans on the input whose reads show even at zero weight.
        const int32_t kind = quiet_ > 0 && pick(2) == 0 ? 4 + pick(2) : pick(20);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (float& v : x) {
            v = noise(rng_);
            if (kind == 0) v = 0.0f;
            if (kind == 1) v = -0.0f;
            if (kind == 2) v *= 1e-39f;
            if (kind == 3 && pick(50) == 0) v = pick(2) ? std::numeric_limits<float>::infinity() : std::nanf("");
            if (kind == 4) v *= 3.0e38f;
            if (kind == 5 && pick(3) == 0) v = -0.0f;
        }
    }

    void processBoth(const std::vector<float>& inL, const std::vector<float>& inR, std::vector<float>& fastL,
                     std::vector<float>& fastR, std::vector<float>& refL, std::vector<float>& refR, int32_t n)
    {
        const int32_t mode = pick(16);
        if (mode == 0) {
            // No input, no left output: the chain still runs.
            fast_->processAudio(nullptr, nullptr, nullptr, fastR.data(), n);
            reference_->processAudio(nullptr, nullptr, nullptr, refR.data(), n);
            return;
        }
        if (mode == 1) {
            // In place, as hosts often do.
            fastL = inL;
            fastR = inR;
            refL = inL;
            refR = inR;
            fast_->processAudio(fastL.data(), fastR.data(), fastL.data(), fastR.data(), n);
            reference_->processAudio(refL.data(), refR.data(), refL.data(), refR.data(), n);
            return;
        }
        fast_->processAudio(inL.data(), inR.data(), fastL.data(), fastR.data(), n);
        reference_->processAudio(inL.data(), inR.data(), refL.data(), refR.data(), n);
    }

    // One change between sub-blocks, as the processor applies events.
    void event()
    {
        static constexpr int16_t kNotes[]{48, 50, 52, 53, 55, 57, 59, 60, 72, 74, 76, 77, 79, 81, 83, 84, 61};
        switch (pick(24)) {
        case 0:
        case 1: {
            const int16_t pitch = kNotes[pick(17)];
            both([&](auto& e, auto&) { e.onNoteOn(0, pitch, 0.8f); });
            break;
        }
        case 2:
        case 3: {
            const int16_t pitch = kNotes[pick(17)];
            both([&](auto& e, auto&) { e.onNoteOff(0, pitch, 0.0f); });
            break;
        }
        case 4:
        case 5:
        case 6: {
            const uint32_t id = ids_[static_cast<size_t>(pick(static_cast<int32_t>(ids_.size())))];
            const double normalized = pick(8) == 0 ? static_cast<double>(pick(2)) : unit();
            const ParamRecord& record = *table().find(id);
            setPlain(id, toPlain(normalized, record));
            break;
        }
        case 7: {
            const uint32_t id = continuousIds_[static_cast<size_t>(pick(static_cast<int32_t>(continuousIds_.size())))];
            both([&](auto& e, auto&) { e.randomise(id); });
            break;
        }
        case 8: setPlain(effectRandomiseId(pick(8)), 1.0); break;
        case 9: setPlain(effectOnOffId(pick(8)), pick(2)); break;
        case 10: {
            static constexpr double kTempi[]{60.0, 90.0, 120.0, 133.3, 174.0, 300.0, 0.0, -5.0};
            const double bpm = pick(3) == 0 ? kTempi[pick(8)] : 40.0 + unit() * 200.0;
            both([&](auto& e, auto& h) {
                if (std::isfinite(bpm) && bpm > 0.0) h.tempo = bpm;
                e.onTempoChanged(bpm);
            });
            break;
        }
        case 11:
            if (pick(4) == 0) {
                static constexpr double kRates[]{8000.0, 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0, 0.0};
                const double fs = kRates[pick(8)];
                both([&](auto& e, auto& h) {
                    if (fs > 0.0) h.sampleRate = fs;
                    e.onSampleRateChanged(fs);
                });
            }
            break;
        case 12:
            if (pick(8) == 0) both([&](auto& e, auto&) { e.onPlayStart(position_); });
            break;
        case 13:
            // Transport jumps, now and then to before the song's start.
            position_ = pick(4) == 0 ? -1.0 + 0.125 * pick(8) : 0.125 * pick(512);
            break;
        case 14: setPlain(kAutoPlayId, pick(4) == 0 ? 0.0 : 1.0); break;
        case 15:
            // Now and then a long stretch without events, so every unit settles
            // (faded fully in or out) and stays there for tens of thousands of frames.
            if (pick(8) == 0) {
                quiet_ = 20 + pick(60);
                break;
            }
            [[fallthrough]];
        default:
            // AutoPlay's clock: every eighth of a beat, sometimes off the grid.
            const double at = pick(10) == 0 ? position_ + 0.01 : position_;
            both([&](auto& e, auto&) { e.onTick(at); });
            position_ += 0.125;
            break;
        }
    }

    const ParameterTable& table() const;

    FastHost fastHost_;
    ReferenceHost referenceHost_;
    std::unique_ptr<GlitchEngine> fast_;
    std::unique_ptr<reference::GlitchEngine> reference_;
    std::mt19937 rng_;
    std::vector<uint32_t> ids_;
    std::vector<uint32_t> continuousIds_;
    double position_ = 0.0;
    int64_t compared_ = 0;
    int64_t subBlocks_ = 0;
    // Sub-blocks left in a stretch without events.
    int32_t quiet_ = 0;
};

const ParameterTable& pluginTable()
{
    static const ParameterTable table = [] {
        ParameterTable t;
        buildPluginParameterTable(t);
        return t;
    }();
    return table;
}

const ParameterTable& Session::table() const
{
    return pluginTable();
}

int64_t framesPerSession()
{
    if (const char* text = std::getenv("VEXBIT_REFERENCE_FRAMES")) return std::max<int64_t>(1, std::atoll(text));
    return 400000;
}

TEST(ReferenceComparison, RandomisedSessionsMatchTheReferenceBitForBit)
{
    int64_t total = 0;
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        Session session(pluginTable(), seed);
        session.run(framesPerSession());
        total += session.compared();
        if (HasFailure()) {
            ADD_FAILURE() << "session seed " << seed;
            return;
        }
    }
    RecordProperty("frames_compared", std::to_string(total));
    std::printf("frames compared: %lld\n", static_cast<long long>(total));
}

} // namespace
} // namespace vexbit::test
