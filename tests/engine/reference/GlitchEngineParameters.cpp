// How parameter values reach the units, and their echoes on the MIDI output.
#include "engine/reference/GlitchEngine.h"

#include "engine/reference/NumericConversions.h"
#include "engine/reference/RandomSource.h"

#include "common/ParameterIds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vexbit::reference {

namespace {

enum Slot : int { kDelay, kTapeStop, kFilter, kLoFi, kShuffler, kRetrigger, kReverser, kGator };

constexpr double kMaxDelayFeedback = 0.9;

// The "Length" list rows: weights for 1, 2, 3, 4, 6, 8, 12, 16 and 0 sixteenths.
constexpr std::array<std::array<int32_t, GlitchEngine::kLengthChoices>, 6> kLengthRows{{
    {100, 25, 0, 0, 0, 0, 0, 0, 0},   // "1/16 Note"
    {50, 100, 50, 25, 0, 0, 0, 0, 0}, // "1/8 Note"
    {0, 25, 0, 100, 25, 12, 0, 0, 0}, // "1/4 Note"
    {0, 10, 0, 25, 12, 100, 25, 10, 0},
    {0, 10, 0, 10, 0, 12, 25, 100, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 100}, // "Infinite"
}};

// The continuous parameters, in the order a transport start echoes them. The
// switches of the Shuffler and the Retrigger echo only when applied; the
// Shuffler's SimpleMode never does. Controller numbers come from the IDs header.
constexpr std::array<uint32_t, 28> kContinuousEchoes{
    kDelayLevelId,
    kDelayTimeId,
    kDelayFeedbackId,
    kGranularDryWetId,
    kGranularDurationId,
    kGranularGrainSizeId,
    kTapeStopStartSpeedId,
    kTapeStopStopSpeedId,
    kLowPassFreqId,
    kLowPassQId,
    kHighPassFreqId,
    kHighPassQId,
    kLoFiBitDepthId,
    kLoFiFrequencyId,
    kFirstShufflerRateId + 0,
    kFirstShufflerRateId + 1,
    kFirstShufflerRateId + 2,
    kFirstShufflerRateId + 3,
    kFirstShufflerRateId + 4,
    kFirstShufflerRateId + 5,
    kFirstShufflerRateId + 6,
    kFirstShufflerRateId + 7,
    kFirstShufflerRateId + 8,
    kFirstShufflerRateId + 9,
    kRetriggerLengthId,
    kRetriggerPitchId,
    kReverserLengthId,
    kGatorSpeedId,
};
constexpr std::array<uint32_t, 2> kSwitchEchoes{kShufflerLengthId, kRetriggerBeatSyncId};

// Echoes from applyParameter land where the change happened.
constexpr int32_t kApplyEchoOffset = 0;
// A transport start echoes a little after the start, behind the host's own events.
constexpr int32_t kPlayStartEchoOffset = 300;

// Controller number of a parameter that echoes when applied, or 0 for none.
uint8_t echoControllerOf(uint32_t id)
{
    const bool echoes = std::find(kContinuousEchoes.begin(), kContinuousEchoes.end(), id) != kContinuousEchoes.end() ||
                        std::find(kSwitchEchoes.begin(), kSwitchEchoes.end(), id) != kSwitchEchoes.end();
    return echoes ? static_cast<uint8_t>(midiControllerOf(id)) : 0;
}

// Slot of an ID in the effect blocks, or -1.
int slotOfBlockId(uint32_t id)
{
    if (id < effectMuteId(0) || id > effectRandomiseId(GlitchEngine::kEffectCount - 1)) return -1;
    return static_cast<int>((id - kDelayMuteId) / kEffectBlockStride);
}

class ParameterApplier {
public:
    explicit ParameterApplier(GlitchEngine& engine) : e_(engine), host_(engine.host()) {}

    void apply(uint32_t id);

private:
    double stored(uint32_t id) const { return host_.getParameterValue(id); }
    bool engaged(int slot) const
    {
        return stored(GlitchEngine::muteId(slot)) == 0.0 && stored(GlitchEngine::onOffId(slot)) > 0.0;
    }
    bool simpleMode() const { return stored(kShufflerSimpleModeId) > 0.5; }

    void applyScheduling(uint32_t id);
    void applySwitch(int slot, uint32_t id);
    void applyDelayMix();
    float granularMix() const;
    void echoNote(int slot);
    void applySetting(uint32_t id);
    void randomiseSlot(int slot);
    void randomiseFilter();

    GlitchEngine& e_;
    EngineHost& host_;
};

void ParameterApplier::apply(uint32_t id)
{
    if (id == kNoEffectRateId) {
        e_.effectPicker.setWeight(0, truncToInt32(stored(id)));
        return;
    }
    if (id >= kFirstSchedulingId && id <= kLastSchedulingId) {
        applyScheduling(id);
        return;
    }
    const int slot = slotOfBlockId(id);
    if (slot < 0) return; // AutoPlay and Max Concurrency are read on each tick
    if (id == GlitchEngine::muteId(slot) || id == GlitchEngine::onOffId(slot)) {
        applySwitch(slot, id);
        return;
    }
    if (id == GlitchEngine::randomiseId(slot)) {
        // Only the pulse itself redraws; the 0 that follows it does nothing.
        if (stored(id) == 1.0) randomiseSlot(slot);
        return;
    }
    applySetting(id);
    if (const uint8_t controller = echoControllerOf(id); controller != 0)
        e_.sendControllerEcho(id, controller, kApplyEchoOffset);
}

void ParameterApplier::applyScheduling(uint32_t id)
{
    const uint32_t offset = id - kFirstSchedulingId;
    const uint32_t slot = offset / kSchedulingStride;
    const uint32_t field = offset % kSchedulingStride;
    if (slot >= static_cast<uint32_t>(GlitchEngine::kEffectCount)) return;
    const uint32_t enableId = schedulingEnableId(static_cast<int>(slot));
    if (field == 0 || field == 1) {
        const int32_t weight = stored(enableId) > 0.0 ? truncToInt32(stored(enableId + 1u)) : 0;
        e_.effectPicker.setWeight(static_cast<int32_t>(slot) + 1, weight);
    } else if (field == 2) {
        const int32_t row = std::clamp(truncToInt32(stored(id)), 0, static_cast<int32_t>(kLengthRows.size()) - 1);
        e_.lengthPickers[slot].setWeights(std::span<const int32_t>(kLengthRows[static_cast<size_t>(row)]));
    }
}

// Mute and On/Off of one effect share this: both decide whether it is engaged.
void ParameterApplier::applySwitch(int slot, uint32_t id)
{
    const bool on = engaged(slot);
    switch (slot) {
    case kDelay:
        applyDelayMix();
        // The Delay's Mute is silent on the MIDI output.
        if (id == GlitchEngine::onOffId(slot)) echoNote(slot);
        return;
    case kTapeStop: e_.tapeStop.setEngaged(on); break;
    case kFilter: e_.filter.setEngaged(on); break;
    case kLoFi: e_.lofi.setEngaged(on); break;
    case kShuffler: e_.shuffler.setEngaged(on); break;
    case kRetrigger: e_.retrigger.setEngaged(on); break;
    case kReverser: e_.reverser.setEngaged(on); break;
    case kGator: e_.gator.setEngaged(on); break;
    default: return;
    }
    echoNote(slot);
}

// An engaged Delay plays at its level, and its Granular part at the dry/wet
// amount while the level is above 0; a disengaged one is silent in both.
void ParameterApplier::applyDelayMix()
{
    if (!engaged(kDelay)) {
        e_.delay.setLevel(0.0f);
        e_.granular.setMix(0.0f);
        return;
    }
    const double level = stored(kDelayLevelId);
    e_.delay.setLevel(static_cast<float>(std::clamp(level, 0.0, 1.0)));
    e_.granular.setMix(level > 0.0 ? granularMix() : 0.0f);
}

// Levels from a saved state may lie anywhere; the units get them within 0 to 1.
float ParameterApplier::granularMix() const
{
    const double mix = stored(kGranularDryWetId) * stored(GlitchEngine::onOffId(kDelay));
    return static_cast<float>(std::clamp(mix, 0.0, 1.0));
}

// Follows the On/Off value alone, so a muted effect still echoes its note.
void ParameterApplier::echoNote(int slot)
{
    const int16_t note = GlitchEngine::kTriggerNotes[static_cast<size_t>(slot)];
    if (stored(GlitchEngine::onOffId(slot)) > 0.5)
        host_.queueNoteOnOut(note, 1.0f);
    else
        host_.queueNoteOffOut(note, 1.0f);
}

void ParameterApplier::applySetting(uint32_t id)
{
    const double v = stored(id);
    switch (id) {
    case kDelayLevelId: applyDelayMix(); break;
    case kDelayTimeId: e_.delay.setTimeMs(v); break;
    case kDelayFeedbackId:
        // A saved state may hold any number; a loop gain of 1 or more would
        // grow without end, so the feedback keeps to its own 0 to 0.9.
        if (std::isfinite(v)) e_.delay.setFeedback(static_cast<float>(std::clamp(v, 0.0, kMaxDelayFeedback)));
        break;
    case kGranularDryWetId:
        if (engaged(kDelay) && stored(kDelayLevelId) > 0.0) e_.granular.setMix(granularMix());
        break;
    case kGranularDurationId: e_.granular.setDurationMs(v); break;
    case kGranularGrainSizeId: e_.granular.setGrainSizeMs(v); break;
    case kTapeStopStartSpeedId: e_.tapeStop.setStartSpeed(v); break;
    case kTapeStopStopSpeedId: e_.tapeStop.setStopSpeed(v); break;
    case kLowPassFreqId:
    case kLowPassQId: e_.filter.setLowPass(stored(kLowPassFreqId), stored(kLowPassQId), host_.getSampleRate()); break;
    case kHighPassFreqId:
    case kHighPassQId:
        e_.filter.setHighPass(stored(kHighPassFreqId), stored(kHighPassQId), host_.getSampleRate());
        break;
    case kLoFiBitDepthId: e_.lofi.setBitDepth(v); break;
    case kLoFiFrequencyId: e_.lofi.setHoldLength(v); break;
    case kShufflerSimpleModeId:
        // Switching modes rebuilds the slice lengths from the mode's own parameters.
        if (simpleMode()) {
            apply(kShufflerLengthId);
        } else {
            for (uint32_t rate = kFirstShufflerRateId; rate <= kLastShufflerRateId; ++rate) apply(rate);
        }
        break;
    case kShufflerLengthId:
        if (simpleMode()) e_.shuffler.selectSimpleLength(v);
        break;
    case kRetriggerLengthId: e_.retrigger.setSliceLength(v, host_.getTempo()); break;
    case kRetriggerPitchId: e_.retrigger.setPitchSemitones(v); break;
    case kRetriggerBeatSyncId: e_.retrigger.setBeatSync(v > 0.5); break;
    case kReverserLengthId: e_.reverser.setLength(v, host_.getTempo()); break;
    case kGatorSpeedId: e_.gator.setSpeed(v); break;
    default:
        if (id >= kFirstShufflerRateId && id <= kLastShufflerRateId && !simpleMode())
            e_.shuffler.setNoteValueWeight(static_cast<int>(id - kFirstShufflerRateId), v);
        break;
    }
}

void ParameterApplier::randomiseSlot(int slot)
{
    switch (slot) {
    case kDelay:
        for (uint32_t id = kDelayLevelId; id <= kGranularGrainSizeId; ++id) e_.randomise(id);
        break;
    case kTapeStop:
        e_.randomise(kTapeStopStartSpeedId);
        e_.randomise(kTapeStopStopSpeedId);
        break;
    case kFilter: randomiseFilter(); break;
    case kLoFi:
        e_.randomise(kLoFiBitDepthId);
        e_.randomise(kLoFiFrequencyId);
        break;
    case kShuffler:
        if (simpleMode()) {
            e_.randomise(kShufflerLengthId);
        } else {
            for (uint32_t id = kFirstShufflerRateId; id <= kLastShufflerRateId; ++id) e_.randomise(id);
        }
        break;
    case kRetrigger:
        e_.randomise(kRetriggerLengthId);
        e_.randomise(kRetriggerPitchId);
        break;
    case kReverser: e_.randomise(kReverserLengthId); break;
    case kGator: e_.randomise(kGatorSpeedId); break;
    default: break;
    }
}

float randomUnit()
{
    return static_cast<float>(RandomSource::next() % 10001) / 10000.0f;
}

// The high-pass corner never lands above the low-pass corner on the 0..1 scale,
// so a redrawn filter always lets something through.
void ParameterApplier::randomiseFilter()
{
    const float u1 = randomUnit();
    const float u2 = randomUnit();
    const float u3 = randomUnit();
    const float u4 = randomUnit();
    host_.setParameterNormalized(kLowPassFreqId, u1);
    host_.setParameterNormalized(kHighPassFreqId, u1 * u2);
    host_.setParameterNormalized(kLowPassQId, u3);
    host_.setParameterNormalized(kHighPassQId, u4);
}

} // namespace

void GlitchEngine::applyParameter(uint32_t id, double /*value*/)
{
    // Every value is read back from the store, whoever changed it.
    ParameterApplier(*this).apply(id);
}

void GlitchEngine::sendControllerEcho(uint32_t id, uint8_t controller, int32_t sampleOffset)
{
    const double normalized = host_.getParameterNormalized(id);
    const int32_t value7 = std::clamp(truncToInt32(normalized * 127.0), 0, 127);
    host_.queueControllerOut(sampleOffset, controller, value7);
}

void GlitchEngine::randomise(uint32_t id)
{
    host_.setParameterNormalized(id, randomUnit());
}

void GlitchEngine::onPlayStart(double /*positionQuarters*/)
{
    for (const uint32_t id : kContinuousEchoes)
        sendControllerEcho(id, static_cast<uint8_t>(midiControllerOf(id)), kPlayStartEchoOffset);
}

} // namespace vexbit::reference
