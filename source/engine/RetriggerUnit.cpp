#include "RetriggerUnit.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

namespace {
// Slice buffer index of a play position; any position maps inside the buffer.
int32_t bufferIndex(float pos)
{
    constexpr int32_t n = RetriggerUnit::kBufferSize;
    if (pos >= 0.0f && pos < 1073741824.0f) return static_cast<int32_t>(pos) % n;
    double m = std::fmod(std::trunc(static_cast<double>(pos)), static_cast<double>(n));
    if (std::isnan(m)) return 0;
    if (m < 0.0) m += n;
    return std::clamp(static_cast<int32_t>(m), 0, n - 1);
}
} // namespace

RetriggerUnit::RetriggerUnit()
{
    for (auto& set : buffers)
        for (auto& channel : set) channel.assign(static_cast<size_t>(kBufferSize), 0.0f);
}

void RetriggerUnit::readSlice(float& wL, float& wR) const
{
    wL = 0.0f;
    wR = 0.0f;
    if (!(sliceLength > playPos)) return;
    const float f = playPos - std::floor(playPos);
    const int32_t i0 = bufferIndex(playPos);
    const int32_t i1 = i0 + 1 == kBufferSize ? 0 : i0 + 1;
    const auto& set = buffers[playSet & 1];
    const float l0 = set[0][static_cast<size_t>(i0)];
    const float r0 = set[1][static_cast<size_t>(i0)];
    wL = l0 + (set[0][static_cast<size_t>(i1)] - l0) * f;
    wR = r0 + (set[1][static_cast<size_t>(i1)] - r0) * f;
}

void RetriggerUnit::advanceRepeat(double step)
{
    playPos = static_cast<float>(static_cast<double>(playPos) + step);
    if (++playCount >= truncToInt32(sliceLength)) {
        playPos = 0.0f;
        playCount = 0;
    }
}

void RetriggerUnit::processFree(float& l, float& r)
{
    const float inL = l;
    const float inR = r;
    float wL, wR;
    readSlice(wL, wR);
    l = (1.0f - mix) * inL + mix * wL;
    r = (1.0f - mix) * inR + mix * wR;

    if (active || mix > 0.0f) {
        recordSlice(inL, inR);
        if (active) {
            // A raised pitch reads faster than the recording grows, so it waits
            // for the whole slice (or a full buffer, for slices longer than it).
            const bool ready = pitch > 1.0f
                ? recordIndex > truncToInt32(sliceLength) || recordIndex >= kBufferSize
                : recordIndex > 1;
            if (ready) {
                fadeIn();
                advanceRepeat(pitch);
            }
        } else {
            fadeOut();
        }
    } else {
        fadeOut();
    }
    if (liveIndex < 0 || liveIndex >= kBufferSize) liveIndex = 0;
    recordLive(inL, inR);
}

void RetriggerUnit::processBeatSynced(float& l, float& r)
{
    const float inL = l;
    const float inR = r;
    float wL, wR;
    readSlice(wL, wR);
    l = (1.0f - mix) * inL + mix * wL;
    r = (1.0f - mix) * inR + mix * wR;

    if (liveIndex < 0 || liveIndex >= kBufferSize) liveIndex = 0;
    if (active || mix > 0.0f) {
        recordSlice(inL, inR);
    } else {
        // Idle: the set that has recorded since the last beat becomes the play
        // set, so a switch-on finds the beat's material at its start.
        if (swapPending) {
            playSet = (playSet + 1) & 1;
            liveSet = (liveSet + 1) & 1;
            swapPending = false;
        }
        record(playSet, liveIndex, inL, inR);
    }
    recordLive(inL, inR);

    if (active) {
        fadeIn();
        const float threshold = pitch < 1.0f && sliceLength != 0.0f ? 1.0f : pitch;
        advanceRepeat(static_cast<float>(recordIndex) > threshold ? pitch : 1.0);
    } else {
        fadeOut();
    }
}

void RetriggerUnit::setEngaged(bool engaged)
{
    active = engaged;
    if (!engaged) return;
    playPos = 0.0f;
    playCount = 0;
    recordIndex = beatSync ? liveIndex : 0;
}

void RetriggerUnit::setSliceLength(double thirtySecondNotes, double tempo)
{
    if (!std::isfinite(thirtySecondNotes)) return;
    if (isUsableRate(tempo)) lastTempo_ = tempo;
    const double msPerBeat = 1000.0 / (lastTempo_ / 60.0);
    const double ms = std::max(1.0, msPerBeat * thirtySecondNotes * 0.125);
    sliceLength = static_cast<float>(
        std::min(static_cast<double>(sampleRate) * ms / 1000.0, static_cast<double>(kMaxSliceLength)));
}

void RetriggerUnit::setPitchSemitones(double semitones)
{
    if (!std::isfinite(semitones)) return;
    const int32_t whole = std::clamp(truncToInt32(semitones), -48, 48);
    pitch = std::exp2(static_cast<float>(whole) / 12.0f);
}

void RetriggerUnit::setBeatSync(bool on)
{
    if (on != beatSync) {
        if (on) {
            playSet = 1;
            liveSet = 0;
            swapPending = false;
        } else {
            playSet = 0;
            liveSet = 1;
        }
    }
    beatSync = on;
}

void RetriggerUnit::setSampleRate(double newRate)
{
    const float rate = static_cast<float>(newRate);
    if (!isUsableRate(newRate) || !std::isfinite(rate)) return;
    const double scaled = static_cast<double>(sliceLength) * (newRate / static_cast<double>(sampleRate));
    sliceLength = static_cast<float>(std::min(scaled, static_cast<double>(kMaxSliceLength)));
    sampleRate = rate;
}

} // namespace vexbit
