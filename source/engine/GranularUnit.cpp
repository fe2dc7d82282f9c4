#include "engine/GranularUnit.h"

#include "engine/NumericConversions.h"
#include "engine/RandomSource.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vexbit {

namespace {
constexpr float kEnvStep = 0.05f;
constexpr float kGrainGain = 0.3f;
// Share of the grains fed back into the recording.
constexpr float kFeedback = 0.2f;
// A grain ends this many samples before its length runs out...
constexpr int32_t kEndMargin = 20;
// ...or when it comes this close to the present.
constexpr float kNearest = 40.0f;
// Reads stay within what the ring holds: offset +9 is the newest sample
// (lead 10), -(size - 10) the oldest. Farther reads would return wrapped material.
constexpr float kNewestOffset = static_cast<float>(GranularUnit::kLead - 1);
constexpr float kOldestOffset = -static_cast<float>(GranularUnit::kRingSize - GranularUnit::kLead);

float readAt(const RingBuffer& ring, float distance)
{
    return ring.read(std::clamp(-distance, kOldestOffset, kNewestOffset));
}

// wet[i] += interpolated sample * level * env[i], reading s at first[i] and second[i].
void gatherScalar(const float* __restrict s, const int32_t* first, const int32_t* second, const float* fracs,
                  const float* env, float level, float* __restrict wet, int32_t frames, int32_t from)
{
    for (int32_t i = from; i < frames; ++i) {
        const float s0 = s[first[i]];
        wet[i] += (s0 + (s[second[i]] - s0) * fracs[i]) * (level * env[i]);
    }
}

#if defined(__x86_64__)
// Eight frames at a time with AVX2 gathers; the same operations as gatherScalar.
__attribute__((target("avx2"))) void gatherAvx2(const float* s, const int32_t* first, const int32_t* second,
                                                const float* fracs, const float* env, float level, float* wet,
                                                int32_t frames)
{
    const __m256 levels = _mm256_set1_ps(level);
    int32_t i = 0;
    for (; i + 8 <= frames; i += 8) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(second + i));
        const __m256 s0 = _mm256_i32gather_ps(s, a, 4);
        const __m256 s1 = _mm256_i32gather_ps(s, b, 4);
        const __m256 value = _mm256_add_ps(s0, _mm256_mul_ps(_mm256_sub_ps(s1, s0), _mm256_loadu_ps(fracs + i)));
        const __m256 gain = _mm256_mul_ps(levels, _mm256_loadu_ps(env + i));
        _mm256_storeu_ps(wet + i, _mm256_add_ps(_mm256_loadu_ps(wet + i), _mm256_mul_ps(value, gain)));
    }
    gatherScalar(s, first, second, fracs, env, level, wet, frames, i);
}

// VEXBIT_NO_AVX2 keeps to the plain path, so tests can compare it on any machine.
const bool kHasAvx2 = __builtin_cpu_supports("avx2") && std::getenv("VEXBIT_NO_AVX2") == nullptr;
#endif

float stepped(float pos, float rate, int32_t k)
{
    return pos - static_cast<float>(k) * rate;
}

// Where a read at distance pos lands in the frame whose unwrapped read index
// is start: clamped, floored and wrapped as in addGrain.
struct SteadyRead {
    int32_t first;
    int32_t second;
    float frac;
};
inline SteadyRead steadyRead(float pos, int32_t start, int32_t size)
{
    const float o = std::min(std::max(-pos, kOldestOffset), kNewestOffset);
    const int32_t truncated = static_cast<int32_t>(o);
    const int32_t whole = truncated - (static_cast<float>(truncated) > o ? 1 : 0);
    int32_t index = start + whole;
    index += index < 0 ? size : 0;
    index -= index >= size ? size : 0;
    return {index, index + 1 == size ? 0 : index + 1, o - static_cast<float>(whole)};
}

// wet[i] += level * the read at distance pos - i * rate, for frames from up to
// frames: a steady grain at full level, the same operations as addGrain with env 1.
void addSteadyScalar(const float* s, int32_t size, int32_t start, float pos, float rate, float level, float* wet,
                     int32_t frames, int32_t from)
{
    for (int32_t i = from; i < frames; ++i) {
        const SteadyRead at = steadyRead(stepped(pos, rate, i), start + i, size);
        const float s0 = s[at.first];
        wet[i] += (s0 + (s[at.second] - s0) * at.frac) * level;
    }
}

#if defined(__x86_64__)
// addSteadyScalar eight frames at a time, positions worked out in registers.
// Reads spanning at most 16 samples without the ring's end between them come
// from two plain loads; wider ones gather.
__attribute__((target("avx2"))) void addSteadyAvx2(const float* s, int32_t size, int32_t start, float pos,
                                                   float rate, float level, float* wet, int32_t frames, int32_t from)
{
    const __m256 pos0 = _mm256_set1_ps(pos);
    const __m256 rates = _mm256_set1_ps(rate);
    const __m256 levels = _mm256_set1_ps(level);
    const __m256 oldest = _mm256_set1_ps(kOldestOffset);
    const __m256 newest = _mm256_set1_ps(kNewestOffset);
    const __m256 signBit = _mm256_set1_ps(-0.0f);
    const __m256i sizes = _mm256_set1_epi32(size);
    const __m256i lastIndex = _mm256_set1_epi32(size - 1);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i fourteen = _mm256_set1_epi32(14);
    const __m256i eight = _mm256_set1_epi32(8);
    __m256 k = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(from)),
                             _mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f));
    __m256i frame = _mm256_add_epi32(_mm256_set1_epi32(start + from), lanes);
    int32_t i = from;
    for (; i + 8 <= frames; i += 8) {
        const __m256 o = _mm256_min_ps(
            _mm256_max_ps(_mm256_xor_ps(_mm256_sub_ps(pos0, _mm256_mul_ps(k, rates)), signBit), oldest), newest);
        // The floor is a whole number below 2^24, so its integer and that
        // integer's float are exact: the same whole part and fraction as readAt.
        const __m256i whole = _mm256_cvttps_epi32(_mm256_floor_ps(o));
        const __m256 frac = _mm256_sub_ps(o, _mm256_cvtepi32_ps(whole));
        // Index before the wrap; only the first frame's is wrapped unless the reads scatter.
        const __m256i unwrapped = _mm256_add_epi32(frame, whole);
        const int32_t first = _mm256_cvtsi256_si32(unwrapped);
        const int32_t base = first < 0 ? first + size : first >= size ? first - size : first;
        const __m256i rel = _mm256_sub_epi32(unwrapped, _mm256_set1_epi32(first));
        __m256 s0;
        __m256 s1;
        // All eight pairs within sixteen samples from base, none past the ring's
        // end: then every frame's wrap is the first one's. rel as unsigned: a
        // read before the first is huge.
        if (base <= size - 16 &&
            _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_max_epu32(rel, fourteen), fourteen)) == -1) {
            const __m256 low = _mm256_loadu_ps(s + base);
            const __m256 high = _mm256_loadu_ps(s + base + 8);
            const __m256i next = _mm256_add_epi32(rel, one);
            s0 = _mm256_blendv_ps(_mm256_permutevar8x32_ps(low, rel), _mm256_permutevar8x32_ps(high, rel),
                                  _mm256_castsi256_ps(_mm256_cmpgt_epi32(rel, seven)));
            s1 = _mm256_blendv_ps(_mm256_permutevar8x32_ps(low, next), _mm256_permutevar8x32_ps(high, next),
                                  _mm256_castsi256_ps(_mm256_cmpgt_epi32(next, seven)));
        } else {
            __m256i index = _mm256_add_epi32(unwrapped, _mm256_and_si256(_mm256_cmpgt_epi32(zero, unwrapped), sizes));
            index = _mm256_sub_epi32(index, _mm256_and_si256(_mm256_cmpgt_epi32(index, lastIndex), sizes));
            const __m256i second = _mm256_andnot_si256(_mm256_cmpeq_epi32(index, lastIndex), _mm256_add_epi32(index, one));
            s0 = _mm256_i32gather_ps(s, index, 4);
            s1 = _mm256_i32gather_ps(s, second, 4);
        }
        const __m256 value = _mm256_add_ps(s0, _mm256_mul_ps(_mm256_sub_ps(s1, s0), frac));
        _mm256_storeu_ps(wet + i, _mm256_add_ps(_mm256_loadu_ps(wet + i), _mm256_mul_ps(value, levels)));
        k = _mm256_add_ps(k, _mm256_set1_ps(8.0f));
        frame = _mm256_add_epi32(frame, eight);
    }
    // The compiler may make the tail a jump without clearing the upper halves,
    // which would slow every plain SSE instruction after it.
    _mm256_zeroupper();
    addSteadyScalar(s, size, start, pos, rate, level, wet, frames, i);
}

// A grain at normal speed (rate 0) reads at one distance all run: the same
// split every frame, and sample pairs that follow the recording one a frame.
// Plays the frames before the pair would straddle the ring's end; returns how many.
__attribute__((target("avx2"))) int32_t addStillAvx2(const float* s, int32_t size, int32_t start, float pos,
                                                     float level, float* wet, int32_t frames)
{
    const SteadyRead at = steadyRead(pos, start, size);
    const int32_t n = std::min(frames, size - 1 - at.first);
    const float* p = s + at.first;
    const __m256 fracs = _mm256_set1_ps(at.frac);
    const __m256 levels = _mm256_set1_ps(level);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256 s0 = _mm256_loadu_ps(p + i);
        const __m256 value = _mm256_add_ps(s0, _mm256_mul_ps(_mm256_sub_ps(_mm256_loadu_ps(p + i + 1), s0), fracs));
        _mm256_storeu_ps(wet + i, _mm256_add_ps(_mm256_loadu_ps(wet + i), _mm256_mul_ps(value, levels)));
    }
    for (; i < n; ++i) wet[i] += (p[i] + (p[i + 1] - p[i]) * at.frac) * level;
    return std::max(n, 0);
}

// A grain at double speed (rate 1) whose positions step exactly and stay
// within the ring's reach: each frame's distance is one sample less, so its
// read lands two samples on with the same fraction, the pairs side by side in
// memory. Plays the frames before a pair would straddle the ring's end; returns how many.
__attribute__((target("avx2"))) int32_t addDoubleSpeedAvx2(const float* s, int32_t size, int32_t start,
                                                           float pos, float level, float* wet, int32_t frames)
{
    const SteadyRead at = steadyRead(pos, start, size);
    // Frame i reads first + 2i and the sample after it.
    const int32_t n = at.first > size - 2 ? 0 : std::min(frames, (size - 2 - at.first) / 2 + 1);
    const float* p = s + at.first;
    const __m256 fracs = _mm256_set1_ps(at.frac);
    const __m256 levels = _mm256_set1_ps(level);
    int32_t i = 0;
    // Sixteen samples hold eight pairs; the even ones are the first of each
    // pair. The shuffles leave frames in the order 0 1 4 5 2 3 6 7, the permute
    // puts them back.
    for (; i + 8 <= n && at.first + 2 * i + 16 <= size; i += 8) {
        const __m256 a = _mm256_loadu_ps(p + 2 * i);
        const __m256 b = _mm256_loadu_ps(p + 2 * i + 8);
        const __m256 s0 = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(_mm256_shuffle_ps(a, b, 0x88)), 0xD8));
        const __m256 s1 = _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(_mm256_shuffle_ps(a, b, 0xDD)), 0xD8));
        const __m256 value = _mm256_add_ps(s0, _mm256_mul_ps(_mm256_sub_ps(s1, s0), fracs));
        _mm256_storeu_ps(wet + i, _mm256_add_ps(_mm256_loadu_ps(wet + i), _mm256_mul_ps(value, levels)));
    }
    for (; i < n; ++i) wet[i] += (p[2 * i] + (p[2 * i + 1] - p[2 * i]) * at.frac) * level;
    return n;
}
#endif

void addSteadyGrain(const RingBuffer& ring, float pos, float rate, float level, float* wet, int32_t frames)
{
#if defined(__x86_64__)
    if (kHasAvx2) {
        const float* s = ring.data();
        const int32_t size = ring.size();
        const int32_t start = ring.readIndex();
        int32_t done = 0;
        if (rate == 0.0f)
            done = addStillAvx2(s, size, start, pos, level, wet, frames);
        else if (rate == 1.0f && -pos >= kOldestOffset)
            done = addDoubleSpeedAvx2(s, size, start, pos, level, wet, frames);
        if (done < frames) addSteadyAvx2(s, size, start, pos, rate, level, wet, frames, done);
        return;
    }
#endif
    addSteadyScalar(ring.data(), ring.size(), ring.readIndex(), pos, rate, level, wet, frames, 0);
}

void gatherGrain(const float* s, const int32_t* first, const int32_t* second, const float* fracs, const float* env,
                 float level, float* wet, int32_t frames, bool consecutive)
{
    if (consecutive) {
        // Plain loads the compiler vectorises.
        const float* __restrict p = s + first[0];
        for (int32_t i = 0; i < frames; ++i) {
            const float s0 = p[i];
            wet[i] += (s0 + (p[i + 1] - s0) * fracs[i]) * (level * env[i]);
        }
        return;
    }
#if defined(__x86_64__)
    if (kHasAvx2) {
        gatherAvx2(s, first, second, fracs, env, level, wet, frames);
        return;
    }
#endif
    gatherScalar(s, first, second, fracs, env, level, wet, frames, 0);
}

// Whether pos - k * rate for k = 0..frames are all floats, so that subtracting
// rate k times gives exactly pos - k * rate. Rates are multiples of 0.25; below
// 2^22 so is pos, and every multiple of pos's spacing is a float while it stays
// below the top of pos's binade in magnitude.
bool exactSteps(float pos, float rate, int32_t frames)
{
    if (!(std::fabs(pos) < 4194304.0f) || pos == 0.0f || std::floor(rate * 4.0f) != rate * 4.0f) return false;
    // The binade's bottom is pos with its mantissa cleared (0 for a subnormal
    // pos, which then counts as not exact); its top is twice that.
    const float bottom = std::bit_cast<float>(std::bit_cast<uint32_t>(std::fabs(pos)) & 0x7F800000u);
    const double end = static_cast<double>(pos) - static_cast<double>(frames) * static_cast<double>(rate);
    return std::fabs(end) < 2.0 * static_cast<double>(bottom);
}

} // namespace

GranularUnit::GranularUnit()
{
    ratePicker_.setWeights(std::span<const int32_t>(kRateWeights));
    for (Grain& g : grains_) restartGrain(g);
}

void GranularUnit::restartGrain(Grain& g)
{
    g.counter = 0;
    if (const auto index = ratePicker_.pick()) g.rate = kRates[static_cast<size_t>(*index)];
    const float r = static_cast<float>(RandomSource::nextBelow(101)) / 100.0f;
    const float a = 0.75f * r + 0.25f;
    g.length = truncToInt32(static_cast<double>(static_cast<float>(grainSize_) * a));
    g.env = 0.0f;
    g.amp = 0.2f * r + 0.8f;
    g.posL = a * duration_;
    g.posR = (0.2f * r + 0.9f) * g.posL;
}

void GranularUnit::setDurationMs(double ms)
{
    const double d = static_cast<double>(sampleRate_) * ms / 1000.0;
    if (std::isfinite(d)) duration_ = static_cast<float>(d);
}

void GranularUnit::setGrainSizeMs(double ms)
{
    // A negative size would give grains that never reach their end.
    grainSize_ = std::max(0, truncToInt32(static_cast<double>(sampleRate_) * ms / 1000.0));
}

void GranularUnit::setSampleRate(double fs)
{
    if (!isUsableRate(fs)) return;
    const double ratio = fs / static_cast<double>(sampleRate_);
    grainSize_ = std::max(0, truncToInt32(static_cast<double>(grainSize_) * ratio));
    duration_ = static_cast<float>(static_cast<double>(duration_) * ratio);
    sampleRate_ = static_cast<float>(fs);
}

void GranularUnit::processBlock(float* l, float* r, int32_t n)
{
    int32_t done = 0;
    while (done < n) {
        const int32_t run = planRun(std::min(kMaxRun, n - done));
        if (run == 0) {
            // A restart or a read of the newest samples: this frame as it always ran.
            step(l[done], r[done]);
            ++done;
            continue;
        }
        playRun(l + done, r + done, run);
        done += run;
    }
}

int32_t GranularUnit::planRun(int32_t frames)
{
    int32_t limit = frames;
    for (size_t g = 0; g < grains_.size(); ++g) {
        const Grain& grain = grains_[g];
        Track& t = tracks_[g];
        // Full level all run long, positions in closed form: played without a track.
        if (steadyLeft_[g] >= limit) {
            steady_[g] = true;
            continue;
        }
        steady_[g] = steadyRun(grain, limit);
        if (steady_[g]) {
            steadyLeft_[g] = steadyHorizon(grain, limit);
            continue;
        }
        steadyLeft_[g] = 0;
        float posL = grain.posL;
        float posR = grain.posR;
        float env = grain.env;
        int32_t counter = grain.counter;
        int32_t i = 0;
        while (true) {
            t.posL[static_cast<size_t>(i)] = posL;
            t.posR[static_cast<size_t>(i)] = posR;
            t.env[static_cast<size_t>(i)] = env;
            if (i == limit) break;
            // Frame i reads `lead - 1 - floor(-pos)` samples before the newest, and the
            // one after it; at a distance of i or more both were recorded before the run.
            const float frame = static_cast<float>(i);
            if (!(posL >= frame && posR >= frame)) break;
            // The same steps as in step().
            ++counter;
            const int32_t d = grain.length - counter;
            posL -= grain.rate;
            posR -= grain.rate;
            if (std::abs(d) < kEndMargin || posL < kNearest || posR < kNearest) {
                env -= kEnvStep;
                if (env <= 0.0f) break;
            } else {
                env = std::min(env + kEnvStep, 1.0f);
            }
            ++i;
        }
        limit = i;
    }
    return limit;
}

int32_t GranularUnit::steadyHorizon(const Grain& g, int32_t frames)
{
    // Every condition of steadyRun is linear in the run's length, so holding
    // for a length means holding for each stretch within it. A rough bound
    // from each, confirmed by steadyRun itself.
    constexpr double kCap = 1 << 20;
    const double rate = static_cast<double>(g.rate);
    const double nearest = std::min(static_cast<double>(g.posL), static_cast<double>(g.posR));
    double bound = kCap;
    if (static_cast<int64_t>(g.counter) + 1 < static_cast<int64_t>(g.length) + kEndMargin)
        bound = std::min(bound, static_cast<double>(g.length) - kEndMargin - static_cast<double>(g.counter));
    if (rate > 0.0) bound = std::min(bound, (nearest - static_cast<double>(kNearest)) / rate);
    if (rate < 0.0) {
        // Growing positions stay below the top of their binade.
        for (const float pos : {g.posL, g.posR}) {
            const float bottom = std::bit_cast<float>(std::bit_cast<uint32_t>(std::fabs(pos)) & 0x7F800000u);
            bound = std::min(bound, (2.0 * static_cast<double>(bottom) - static_cast<double>(pos)) / -rate);
        }
    }
    // Reads before the run's own recording.
    bound = std::min(bound, nearest / (rate + 1.0) + 1.0);
    const auto candidate = static_cast<int32_t>(std::max(0.0, bound - 2.0));
    if (candidate > frames && steadyRun(g, candidate)) return candidate;
    return frames;
}

bool GranularUnit::steadyRun(const Grain& g, int32_t frames)
{
    if (g.env != 1.0f || frames < 1) return false;
    if (!exactSteps(g.posL, g.rate, frames) || !exactSteps(g.posR, g.rate, frames)) return false;
    // No fade starts: the counter stays clear of the end margin...
    const int64_t first = static_cast<int64_t>(g.counter) + 1;
    const int64_t last = static_cast<int64_t>(g.counter) + frames;
    if (last > static_cast<int64_t>(g.length) - kEndMargin && first < static_cast<int64_t>(g.length) + kEndMargin)
        return false;
    // ...and, positions moving in one direction, so do both ends of the run.
    for (const float pos : {g.posL, g.posR}) {
        if (!(stepped(pos, g.rate, 1) >= kNearest && stepped(pos, g.rate, frames) >= kNearest)) return false;
        // Every read lies before the run's own recording (see planRun).
        if (!(pos >= 0.0f && stepped(pos, g.rate, frames - 1) >= static_cast<float>(frames - 1))) return false;
    }
    return true;
}

// Built twice, for plain x86-64 and for AVX2, and picked by the processor at
// load time; both do the same IEEE operations in the same order. A Windows
// module has no loader hook (ifunc) to pick one, so there it is built plain.
#if defined(__x86_64__) && !defined(_WIN32)
#define VEXBIT_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VEXBIT_AVX2_CLONES
#endif
VEXBIT_AVX2_CLONES void GranularUnit::addGrain(
    const RingBuffer& ring, const float* __restrict pos, const float* __restrict env, float level,
    float* __restrict wet, int32_t frames, bool still)
{
    // First the read positions, in a loop without branches that the compiler
    // vectorises: the same clamp, floor and wrap as readAt (no position in a
    // planned run is NaN), for a read index i frames on.
    alignas(32) int32_t first[kMaxRun];
    alignas(32) int32_t second[kMaxRun];
    alignas(32) float fracs[kMaxRun];
    const int32_t size = ring.size();
    const int32_t start = ring.readIndex();
    for (int32_t i = 0; i < frames; ++i) {
        const float o = std::min(std::max(-pos[i], kOldestOffset), kNewestOffset);
        const int32_t truncated = static_cast<int32_t>(o);
        const int32_t whole = truncated - (static_cast<float>(truncated) > o ? 1 : 0);
        fracs[i] = o - static_cast<float>(whole);
        int32_t index = start + i + whole;
        index += index < 0 ? size : 0;
        index -= index >= size ? size : 0;
        first[i] = index;
        second[i] = index + 1 == size ? 0 : index + 1;
    }
    // A grain at normal speed (offset rate 0) keeps its distance, so its reads
    // follow the recording one sample per frame.
    const bool consecutive = still && frames > 0 && first[0] + frames < size;
    gatherGrain(ring.data(), first, second, fracs, env, level, wet, frames, consecutive);
}

void GranularUnit::playRun(float* l, float* r, int32_t frames)
{
    const auto n = static_cast<size_t>(frames);
    std::fill_n(wetL_.begin(), n, 0.0f);
    std::fill_n(wetR_.begin(), n, 0.0f);
    // Grain by grain, so each frame's sum keeps the order of the grains.
    for (size_t g = 0; g < grains_.size(); ++g) {
        const Grain& grain = grains_[g];
        const Track& t = tracks_[g];
        const float level = grain.amp * kGrainGain;
        if (steady_[g]) {
            addSteadyGrain(ringL_, grain.posL, grain.rate, level, wetL_.data(), frames);
            addSteadyGrain(ringR_, grain.posR, grain.rate, level, wetR_.data(), frames);
            continue;
        }
        const bool still = grain.rate == 0.0f;
        addGrain(ringL_, t.posL.data(), t.env.data(), level, wetL_.data(), frames, still);
        addGrain(ringR_, t.posR.data(), t.env.data(), level, wetR_.data(), frames, still);
    }
    // The run's reads are done, so its recording goes in as one block; the
    // wet buffers become what is recorded.
    for (size_t i = 0; i < n; ++i) {
        const float inL = l[i];
        const float inR = r[i];
        l[i] = (1.0f - mix_) * inL + mix_ * wetL_[i];
        r[i] = (1.0f - mix_) * inR + mix_ * wetR_[i];
        wetL_[i] = inL + kFeedback * wetL_[i];
        wetR_[i] = inR + kFeedback * wetR_[i];
    }
    ringL_.pushBlock(wetL_.data(), frames);
    ringR_.pushBlock(wetR_.data(), frames);
    for (size_t g = 0; g < grains_.size(); ++g) {
        Grain& grain = grains_[g];
        const Track& t = tracks_[g];
        grain.counter += frames;
        if (steady_[g]) {
            steadyLeft_[g] -= frames;
            grain.posL = stepped(grain.posL, grain.rate, frames);
            grain.posR = stepped(grain.posR, grain.rate, frames);
            continue;
        }
        grain.posL = t.posL[n];
        grain.posR = t.posR[n];
        grain.env = t.env[n];
    }
}

inline void GranularUnit::step(float& l, float& r)
{
    steadyLeft_.fill(0);
    float wetL = 0.0f;
    float wetR = 0.0f;
    for (const Grain& g : grains_) {
        const float gain = g.amp * kGrainGain * g.env;
        wetL += readAt(ringL_, g.posL) * gain;
        wetR += readAt(ringR_, g.posR) * gain;
    }
    const float inL = l;
    const float inR = r;
    l = (1.0f - mix_) * inL + mix_ * wetL;
    r = (1.0f - mix_) * inR + mix_ * wetR;
    ringL_.push(inL + kFeedback * wetL);
    ringR_.push(inR + kFeedback * wetR);

    for (Grain& g : grains_) {
        ++g.counter;
        const int32_t d = g.length - g.counter;
        g.posL -= g.rate;
        g.posR -= g.rate;
        if (std::abs(d) < kEndMargin || g.posL < kNearest || g.posR < kNearest) {
            g.env -= kEnvStep;
            if (g.env <= 0.0f) {
                g.env = 0.0f;
                restartGrain(g);
            }
        } else {
            g.env = std::min(g.env + kEnvStep, 1.0f);
        }
    }
}

} // namespace vexbit
