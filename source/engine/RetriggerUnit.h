#pragma once

#include "engine/NumericConversions.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vexbit {

// Repeats a short slice of the signal, optionally transposed. In the free mode
// the slice is recorded from the switch-on; in the beat-synchronised mode a
// spare buffer set records since every beat, so the repeats start on the beat.
class RetriggerUnit {
public:
    // Samples per slice buffer (4.125 s at 44100 Hz).
    static constexpr int32_t kBufferSize = 181912;
    // Longest slice; longer slices are cut here so positions stay finite and exact.
    static constexpr float kMaxSliceLength = 16777216.0f;
    static constexpr float kFadeStep = 0.05f;

    RetriggerUnit();

    // Free or beat-synchronised processing, as beatSync says.
    void process(float& l, float& r) { processBlock(&l, &r, 1); }

    // n frames in place; the same as n calls of process.
    void processBlock(float* l, float* r, int32_t n);

    // Called at every beat: the live set restarts and a swap is due.
    void beatTick()
    {
        liveIndex_ = 0;
        swapPending_ = true;
    }

    // Switching on (again) restarts playback; in the beat-synchronised mode the
    // slice then continues the recording made since the last beat.
    void setEngaged(bool engaged);
    // Slice length from a count of thirty-second notes at the given tempo (BPM),
    // at least 1 ms. A tempo that is not finite and positive is replaced by the
    // last usable one; a count that is not finite is ignored.
    void setSliceLength(double thirtySecondNotes, double tempo);
    // Whole semitones, -48 to 48; the fraction is dropped.
    void setPitchSemitones(double semitones);
    // Turning it on makes set 1 the play set, turning it off set 0.
    void setBeatSync(bool on);
    // Rescales the slice length; ignored unless finite and positive.
    void setSampleRate(double sampleRate);

    // Slice length in samples and playback speed (1 is the original pitch).
    float sliceLength() const { return sliceLength_; }
    float pitch() const { return pitch_; }
    bool beatSync() const { return beatSync_; }

private:
    float sliceLength_ = 5512.0f;
    float pitch_ = 1.0f;
    bool beatSync_ = false;
    float playPos_ = 0.0f;
    int32_t playCount_ = 0;
    bool active_ = false;
    float mix_ = 0.0f;
    float sampleRate_ = 44100.0f;
    bool swapPending_ = false;
    int32_t playSet_ = 0;
    int32_t liveSet_ = 1;
    int32_t liveIndex_ = 0;
    int32_t recordIndex_ = 0;
    // buffers[set][channel], kBufferSize samples each, allocated at construction.
    std::array<std::array<std::vector<float>, 2>, 2> buffers_;
    double lastTempo_ = 120.0;

    // Where the play position reads: the two buffer indices and the fraction,
    // or nothing past the slice's end. It only moves while the unit is active.
    struct SliceTap {
        bool inside;
        int32_t i0;
        int32_t i1;
        float f;
    };
    SliceTap sliceTap() const;

    // Disengaged and faded out: the frames' output and recording as processFree
    // or processBeatSynced would make them, a stretch at a time.
    void passIdle(float* l, float* r, int32_t n);
    // Engaged and fully faded in: the frames as processFree or processBeatSynced make them.
    void playFadedIn(float* l, float* r, int32_t n);
    void processFree(float& l, float& r, const SliceTap& tap);
    void processBeatSynced(float& l, float& r, const SliceTap& tap);
    // The slice sample at the tap, interpolated, or silence past the slice's end.
    void readSlice(const SliceTap& tap, float& wL, float& wR) const;
    void record(int32_t set, int32_t index, float l, float r)
    {
        buffers_[set & 1][0][static_cast<size_t>(index)] = l;
        buffers_[set & 1][1][static_cast<size_t>(index)] = r;
    }
    void recordSlice(float l, float r)
    {
        if (recordIndex_ >= 0 && recordIndex_ < kBufferSize) record(playSet_, recordIndex_++, l, r);
    }
    void recordLive(float l, float r)
    {
        record(liveSet_, liveIndex_, l, r);
        if (++liveIndex_ >= kBufferSize) liveIndex_ = 0;
    }
    void advanceRepeat(double step);
    void fadeIn()
    {
        mix_ += kFadeStep;
        if (mix_ > 1.0f) mix_ = 1.0f;
    }
    void fadeOut()
    {
        mix_ -= kFadeStep;
        if (mix_ < 0.0f) mix_ = 0.0f;
    }
};

} // namespace vexbit
