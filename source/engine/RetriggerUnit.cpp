#include "engine/RetriggerUnit.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

namespace {
// Slice buffer index of a play position; any position maps inside the buffer.
int32_t bufferIndex(float pos)
{
    constexpr int32_t n = RetriggerUnit::kBufferSize;
    if (pos >= 0.0f && pos < 1073741824.0f) {
        const int32_t whole = static_cast<int32_t>(pos);
        return whole < n ? whole : whole % n;
    }
    double m = std::fmod(std::trunc(static_cast<double>(pos)), static_cast<double>(n));
    if (std::isnan(m)) return 0;
    if (m < 0.0) m += n;
    return std::clamp(static_cast<int32_t>(m), 0, n - 1);
}
} // namespace

RetriggerUnit::RetriggerUnit()
{
    for (auto& set : buffers_)
        for (auto& channel : set) channel.assign(static_cast<size_t>(kBufferSize), 0.0f);
}

void RetriggerUnit::processBlock(float* l, float* r, int32_t n)
{
    if (!active_ && mix_ == 0.0f) {
        passIdle(l, r, n);
        return;
    }
    if (active_ && mix_ == 1.0f) {
        playFadedIn(l, r, n);
        return;
    }
    SliceTap tap = sliceTap();
    for (int32_t i = 0; i < n; ++i) {
        if (active_) tap = sliceTap();
        if (beatSync_)
            processBeatSynced(l[i], r[i], tap);
        else
            processFree(l[i], r[i], tap);
    }
}

void RetriggerUnit::passIdle(float* l, float* r, int32_t n)
{
    while (n > 0) {
        if (beatSync_ && swapPending_) {
            // The frame that swaps the sets reads the old play set; it runs as always.
            processBeatSynced(*l++, *r++, sliceTap());
            --n;
            continue;
        }
        if (liveIndex_ < 0 || liveIndex_ >= kBufferSize) liveIndex_ = 0;
        // The play position stands still. Free, nothing writes the play set; in
        // sync, the idle recording does, so the read changes after the frame that
        // writes either of its two samples.
        const SliceTap tap = sliceTap();
        int32_t m = n;
        if (beatSync_ && tap.inside) {
            for (const int32_t at : {tap.i0, tap.i1}) {
                const int32_t untilWrite = at >= liveIndex_ ? at - liveIndex_ : at - liveIndex_ + kBufferSize;
                m = std::min(m, untilWrite + 1);
            }
        }
        float wL, wR;
        readSlice(tap, wL, wR);
        // Faded out, the output is 1 * input + 0 * slice: the input plus a zero
        // whose sign (or NaN) the slice sample decides.
        const float zeroL = mix_ * wL;
        const float zeroR = mix_ * wR;
        // Recorded after the reads: the frames' input in the live set, and in
        // sync also in the play set.
        for (int32_t done = 0; done < m;) {
            const int32_t run = std::min(m - done, kBufferSize - liveIndex_);
            const auto at = static_cast<std::ptrdiff_t>(liveIndex_);
            std::copy_n(l + done, run, buffers_[liveSet_ & 1][0].begin() + at);
            std::copy_n(r + done, run, buffers_[liveSet_ & 1][1].begin() + at);
            if (beatSync_) {
                std::copy_n(l + done, run, buffers_[playSet_ & 1][0].begin() + at);
                std::copy_n(r + done, run, buffers_[playSet_ & 1][1].begin() + at);
            }
            done += run;
            liveIndex_ += run;
            if (liveIndex_ >= kBufferSize) liveIndex_ = 0;
        }
        for (int32_t i = 0; i < m; ++i) {
            l[i] += zeroL;
            r[i] += zeroR;
        }
        l += m;
        r += m;
        n -= m;
    }
}

void RetriggerUnit::playFadedIn(float* l, float* r, int32_t n)
{
    // processFree and processBeatSynced for an active unit whose mix stays 1,
    // frame by frame (the recording may write what a later frame reads), with
    // the state in locals.
    auto& play = buffers_[playSet_ & 1];
    auto& live = buffers_[liveSet_ & 1];
    float* const playL = play[0].data();
    float* const playR = play[1].data();
    float* const liveL = live[0].data();
    float* const liveR = live[1].data();
    const float mix = mix_;
    const float length = sliceLength_;
    const float pitch = pitch_;
    const bool sync = beatSync_;
    const int32_t wholeLength = truncToInt32(length);
    const float threshold = pitch < 1.0f && length != 0.0f ? 1.0f : pitch;
    float pos = playPos_;
    int32_t count = playCount_;
    int32_t rec = recordIndex_;
    int32_t liveAt = liveIndex_;
    for (int32_t i = 0; i < n; ++i) {
        const float inL = l[i];
        const float inR = r[i];
        float wL = 0.0f;
        float wR = 0.0f;
        if (length > pos) {
            const int32_t i0 = bufferIndex(pos);
            const int32_t i1 = i0 + 1 == kBufferSize ? 0 : i0 + 1;
            const float f = pos - std::floor(pos);
            wL = playL[i0] + (playL[i1] - playL[i0]) * f;
            wR = playR[i0] + (playR[i1] - playR[i0]) * f;
        }
        l[i] = (1.0f - mix) * inL + mix * wL;
        r[i] = (1.0f - mix) * inR + mix * wR;
        if (liveAt < 0 || liveAt >= kBufferSize) liveAt = 0;
        if (rec >= 0 && rec < kBufferSize) {
            playL[rec] = inL;
            playR[rec] = inR;
            ++rec;
        }
        bool advance = true;
        double step = pitch;
        if (sync) {
            if (!(static_cast<float>(rec) > threshold)) step = 1.0;
        } else {
            advance = pitch > 1.0f ? rec > wholeLength || rec >= kBufferSize : rec > 1;
        }
        if (advance) {
            pos = static_cast<float>(static_cast<double>(pos) + step);
            if (++count >= wholeLength) {
                pos = 0.0f;
                count = 0;
            }
        }
        liveL[liveAt] = inL;
        liveR[liveAt] = inR;
        if (++liveAt >= kBufferSize) liveAt = 0;
    }
    playPos_ = pos;
    playCount_ = count;
    recordIndex_ = rec;
    liveIndex_ = liveAt;
}

RetriggerUnit::SliceTap RetriggerUnit::sliceTap() const
{
    if (!(sliceLength_ > playPos_)) return {false, 0, 0, 0.0f};
    const int32_t i0 = bufferIndex(playPos_);
    return {true, i0, i0 + 1 == kBufferSize ? 0 : i0 + 1, playPos_ - std::floor(playPos_)};
}

void RetriggerUnit::readSlice(const SliceTap& tap, float& wL, float& wR) const
{
    wL = 0.0f;
    wR = 0.0f;
    if (!tap.inside) return;
    const auto& set = buffers_[playSet_ & 1];
    const float l0 = set[0][static_cast<size_t>(tap.i0)];
    const float r0 = set[1][static_cast<size_t>(tap.i0)];
    wL = l0 + (set[0][static_cast<size_t>(tap.i1)] - l0) * tap.f;
    wR = r0 + (set[1][static_cast<size_t>(tap.i1)] - r0) * tap.f;
}

void RetriggerUnit::advanceRepeat(double step)
{
    playPos_ = static_cast<float>(static_cast<double>(playPos_) + step);
    if (++playCount_ >= truncToInt32(sliceLength_)) {
        playPos_ = 0.0f;
        playCount_ = 0;
    }
}

void RetriggerUnit::processFree(float& l, float& r, const SliceTap& tap)
{
    const float inL = l;
    const float inR = r;
    float wL, wR;
    readSlice(tap, wL, wR);
    l = (1.0f - mix_) * inL + mix_ * wL;
    r = (1.0f - mix_) * inR + mix_ * wR;

    if (active_ || mix_ > 0.0f) {
        recordSlice(inL, inR);
        if (active_) {
            // A raised pitch reads faster than the recording grows, so it waits
            // for the whole slice (or a full buffer, for slices longer than it).
            const bool ready = pitch_ > 1.0f ? recordIndex_ > truncToInt32(sliceLength_) || recordIndex_ >= kBufferSize
                                             : recordIndex_ > 1;
            if (ready) {
                fadeIn();
                advanceRepeat(pitch_);
            }
        } else {
            fadeOut();
        }
    } else {
        fadeOut();
    }
    if (liveIndex_ < 0 || liveIndex_ >= kBufferSize) liveIndex_ = 0;
    recordLive(inL, inR);
}

void RetriggerUnit::processBeatSynced(float& l, float& r, const SliceTap& tap)
{
    const float inL = l;
    const float inR = r;
    float wL, wR;
    readSlice(tap, wL, wR);
    l = (1.0f - mix_) * inL + mix_ * wL;
    r = (1.0f - mix_) * inR + mix_ * wR;

    if (liveIndex_ < 0 || liveIndex_ >= kBufferSize) liveIndex_ = 0;
    if (active_ || mix_ > 0.0f) {
        recordSlice(inL, inR);
    } else {
        // Idle: the set that has recorded since the last beat becomes the play
        // set, so a switch-on finds the beat's material at its start.
        if (swapPending_) {
            playSet_ = (playSet_ + 1) & 1;
            liveSet_ = (liveSet_ + 1) & 1;
            swapPending_ = false;
        }
        record(playSet_, liveIndex_, inL, inR);
    }
    recordLive(inL, inR);

    if (active_) {
        fadeIn();
        const float threshold = pitch_ < 1.0f && sliceLength_ != 0.0f ? 1.0f : pitch_;
        advanceRepeat(static_cast<float>(recordIndex_) > threshold ? pitch_ : 1.0);
    } else {
        fadeOut();
    }
}

void RetriggerUnit::setEngaged(bool engaged)
{
    active_ = engaged;
    if (!engaged) return;
    playPos_ = 0.0f;
    playCount_ = 0;
    recordIndex_ = beatSync_ ? liveIndex_ : 0;
}

void RetriggerUnit::setSliceLength(double thirtySecondNotes, double tempo)
{
    if (!std::isfinite(thirtySecondNotes)) return;
    if (isUsableRate(tempo)) lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (lastTempo_ / 60.0);
    const double ms = std::max(1.0, msPerBeat * thirtySecondNotes * 0.125);
    sliceLength_ = static_cast<float>(
        std::min(static_cast<double>(sampleRate_) * ms / 1000.0, static_cast<double>(kMaxSliceLength)));
}

void RetriggerUnit::setPitchSemitones(double semitones)
{
    if (!std::isfinite(semitones)) return;
    const int32_t whole = std::clamp(truncToInt32(semitones), -48, 48);
    pitch_ = std::exp2(static_cast<float>(whole) / 12.0f);
}

void RetriggerUnit::setBeatSync(bool on)
{
    if (on != beatSync_) {
        if (on) {
            playSet_ = 1;
            liveSet_ = 0;
            swapPending_ = false;
        } else {
            playSet_ = 0;
            liveSet_ = 1;
        }
    }
    beatSync_ = on;
}

void RetriggerUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    const double scaled = static_cast<double>(sliceLength_) * (newRate / static_cast<double>(sampleRate_));
    sliceLength_ = static_cast<float>(std::min(scaled, static_cast<double>(kMaxSliceLength)));
    sampleRate_ = rate;
}

} // namespace vexbit
