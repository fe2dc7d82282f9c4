#pragma once

#include <cstdint>

namespace vexbit::reference {

// What the glitch engine needs from the processor that owns it: the parameter
// store, the one store-apply-mark path for changes the engine makes itself, and
// the MIDI output queue. The processor implements it; the engine never sees the SDK.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    // Stored plain value of a parameter; 0.0 for one never stored.
    virtual double getParameterValue(uint32_t id) const = 0;
    // The stored plain value converted to the host's 0..1 scale by the parameter's record.
    virtual double getParameterNormalized(uint32_t id) const = 0;
    virtual void storeParameterValue(uint32_t id, double plain) = 0;
    // Store (converted to plain), apply and mark changed for the host, in one step.
    virtual void setParameterNormalized(uint32_t id, double normalized) = 0;
    virtual void markParameterChanged(uint32_t id) = 0;

    virtual void queueNoteOnOut(int16_t pitch, float velocity) = 0;
    virtual void queueNoteOffOut(int16_t pitch, float velocity) = 0;
    virtual void queueControllerOut(int32_t sampleOffset, uint8_t controller, int32_t value) = 0;

    // Last valid host tempo (BPM) and the sample rate the engine was last told.
    virtual double getTempo() const = 0;
    virtual double getSampleRate() const = 0;
};

} // namespace vexbit::reference
