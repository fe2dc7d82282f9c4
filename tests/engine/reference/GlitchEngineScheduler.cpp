// When effects switch on and off: trigger notes, randomise notes and AutoPlay.
// Every start and stop goes through the effect's On/Off parameter, so the
// host, the editor and the MIDI output all see it.
#include "engine/reference/GlitchEngine.h"

#include "engine/reference/NumericConversions.h"

#include "common/ParameterIds.h"

#include <cfloat>
#include <cmath>

namespace vexbit::reference {

namespace {

// Store, apply and mark for the host: the one path every change takes.
void setAndReport(GlitchEngine& engine, uint32_t id, double plain)
{
    EngineHost& host = engine.host();
    host.storeParameterValue(id, plain);
    engine.applyParameter(id, plain);
    host.markParameterChanged(id);
}

int slotOfNote(const std::array<int16_t, GlitchEngine::kEffectCount>& notes, int16_t pitch)
{
    for (int slot = 0; slot < GlitchEngine::kEffectCount; ++slot)
        if (notes[static_cast<size_t>(slot)] == pitch) return slot;
    return -1;
}

} // namespace

void GlitchEngine::onNoteOn(int16_t /*channel*/, int16_t pitch, float /*velocity*/)
{
    // A held effect has no timer: it stays on until its note-off, and an
    // AutoPlay timer already running on it keeps running.
    if (const int slot = slotOfNote(kTriggerNotes, pitch); slot >= 0) {
        setAndReport(*this, onOffId(slot), 1.0);
        return;
    }
    if (const int slot = slotOfNote(kRandomiseNotes, pitch); slot >= 0) {
        // A pulse: the host sees the Randomise switch go up and back down.
        setAndReport(*this, randomiseId(slot), 1.0);
        setAndReport(*this, randomiseId(slot), 0.0);
    }
}

void GlitchEngine::onNoteOff(int16_t /*channel*/, int16_t pitch, float /*velocity*/)
{
    // Ends the effect however it was started; a timer keeps its place in the
    // count until it runs out.
    if (const int slot = slotOfNote(kTriggerNotes, pitch); slot >= 0) setAndReport(*this, onOffId(slot), 0.0);
}

void GlitchEngine::onTick(double positionQuarters)
{
    const double sixteenths = positionQuarters * 4.0;
    // Only sixteenth-note boundaries count (this also turns NaN away).
    if (!(std::fabs(std::fmod(sixteenths, 1.0)) < DBL_EPSILON)) return;

    // Sixteenth within the beat; positions before zero give -3 to -1 and no grid tick.
    const int32_t k = truncToInt32(sixteenths) % 4;
    if (k == 0) retrigger.beatTick();
    if (k >= 0) shuffler.gridTick(k);

    // Expiry comes before the draw, so a slot that ends here may start again at once.
    for (int slot = 0; slot < kEffectCount; ++slot) {
        int32_t& left = remainingTicks[static_cast<size_t>(slot)];
        if (left <= 0) continue;
        if (--left == 0) {
            setAndReport(*this, onOffId(slot), 0.0);
            if (--activeTimedCount < 0) activeTimedCount = 0;
        }
    }

    if (!(host_.getParameterValue(kAutoPlayId) > 0.0) || effectPicker.total() < 1) return;
    const auto choice = effectPicker.pick();
    if (!choice || *choice < 1 || *choice > kEffectCount) return; // index 0: nothing this time
    // Strictly greater: up to Max Concurrency + 1 timed effects may run at once.
    if (activeTimedCount > truncToInt32(host_.getParameterValue(kMaxConcurrencyId))) return;
    const int32_t slot = *choice - 1;
    startTimedEffect(onOffId(slot), slot);
}

void GlitchEngine::startTimedEffect(uint32_t onOffParamId, int32_t slot)
{
    if (slot < 0 || slot >= kEffectCount) return;
    int32_t& left = remainingTicks[static_cast<size_t>(slot)];
    // A running timer is never restarted or extended.
    if (left != 0) return;
    const auto choice = lengthPickers[static_cast<size_t>(slot)].pick();
    if (!choice || *choice < 0 || *choice >= kLengthChoices) return;
    left = kLengthSixteenths[static_cast<size_t>(*choice)];
    // A drawn 0 runs until switched off and takes no place in the count.
    if (left != 0) ++activeTimedCount;
    setAndReport(*this, onOffParamId, 1.0);
}

} // namespace vexbit::reference
