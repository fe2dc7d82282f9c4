#pragma once

#include <cstdint>

namespace vexbit {

// Repeats a short slice of the signal, optionally transposed. In the free mode
// the slice is recorded from the switch-on; in the beat-synchronised mode a
// spare buffer set records since every beat, so the repeats start on the beat.
class RetriggerUnit {
public:
    // Samples per slice buffer (4.125 s at 44100 Hz).
    static constexpr int32_t kBufferSize = 181912;

    RetriggerUnit();

    // Free or beat-synchronised processing, as beatSync says.
    void process(float& l, float& r);
    void processFree(float& l, float& r);
    void processBeatSynced(float& l, float& r);

    // Called at every beat: the live set restarts and a swap is due.
    void beatTick();

    void setEngaged(bool engaged);
    // Slice length from a count of thirty-second notes at the given tempo.
    void setSliceLength(double thirtySecondNotes, double tempo);
    // Whole semitones; the fraction is dropped.
    void setPitchSemitones(double semitones);
    void setBeatSync(bool on);
    void setSampleRate(double sampleRate);

    float sliceLength = 5512.0f;
    float pitch = 1.0f;
    bool beatSync = false;
    float playPos = 0.0f;
    int32_t playCount = 0;
    bool active = false;
    float mix = 0.0f;
    float sampleRate = 44100.0f;
    bool swapPending = false;
    int32_t playSet = 0;
    int32_t liveSet = 1;
    int32_t liveIndex = 0;
    int32_t recordIndex = 0;
};

} // namespace vexbit
