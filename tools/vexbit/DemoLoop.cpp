#include "vexbit/DemoLoop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace vexbit::cli {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Adds a voice rendered by f(t) (t in seconds from its start) into the buffer.
template <typename Voice>
void addVoice(host::AudioBuffer& out, std::size_t start, double seconds, float panLeft, float panRight, Voice&& voice)
{
    const auto length = static_cast<std::size_t>(seconds * out.sampleRate);
    for (std::size_t i = 0; i < length && start + i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / out.sampleRate;
        const auto v = static_cast<float>(voice(t));
        out.left[start + i] += v * panLeft;
        out.right[start + i] += v * panRight;
    }
}

struct Noise {
    std::minstd_rand engine{20240607};
    std::uniform_real_distribution<double> uniform{-1.0, 1.0};
    double operator()() { return uniform(engine); }
};

void kick(host::AudioBuffer& out, std::size_t at)
{
    double phase = 0.0;
    addVoice(out, at, 0.45, 1.0f, 1.0f, [&phase, rate = out.sampleRate](double t) {
        const double frequency = 48.0 + 110.0 * std::exp(-t / 0.035);
        phase += kTwoPi * frequency / rate;
        const double click = t < 0.004 ? (1.0 - t / 0.004) * 0.4 : 0.0;
        return 0.95 * std::sin(phase) * std::exp(-t / 0.22) + click;
    });
}

void snare(host::AudioBuffer& out, std::size_t at, Noise& noise, double level)
{
    double previous = 0.0;
    addVoice(out, at, 0.3, 0.95f, 1.0f, [&, level](double t) {
        const double n = noise();
        const double bright = n - 0.6 * previous; // tilt the noise up
        previous = n;
        const double body = std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.05);
        return level * (0.55 * bright * std::exp(-t / 0.09) + 0.45 * body);
    });
}

void hat(host::AudioBuffer& out, std::size_t at, Noise& noise, double level, double decay)
{
    double previous = 0.0;
    addVoice(out, at, decay * 6, 0.7f, 1.0f, [&, level, decay](double t) {
        const double n = noise();
        const double high = n - previous; // a first difference keeps only the hiss
        previous = n;
        return level * 0.5 * high * std::exp(-t / decay);
    });
}

void bass(host::AudioBuffer& out, std::size_t at, double seconds, double frequency)
{
    double phase = 0.0, low = 0.0;
    addVoice(out, at, seconds, 1.0f, 1.0f, [&, frequency, seconds, rate = out.sampleRate](double t) {
        phase += frequency / rate;
        phase -= std::floor(phase);
        const double saw = 2.0 * phase - 1.0;
        // A one-pole low-pass whose opening falls with each note: the pluck.
        const double cutoff = 180.0 + 1400.0 * std::exp(-t / 0.06);
        low += (1.0 - std::exp(-kTwoPi * cutoff / rate)) * (saw - low);
        const double release = std::min(1.0, (seconds - t) / 0.01);
        return 0.5 * low * std::exp(-t / 0.4) * release * std::min(1.0, t / 0.002);
    });
}

} // namespace

host::AudioBuffer synthesiseDemoLoop(double sampleRate, double bpm, int bars)
{
    host::AudioBuffer out;
    out.sampleRate = sampleRate;
    const double step = 60.0 / bpm / 4.0; // one sixteenth note, in seconds
    const int steps = std::max(0, bars) * 16;
    out.resize(static_cast<std::size_t>(std::llround(steps * step * sampleRate)));
    auto frameOf = [&](int s) { return static_cast<std::size_t>(std::llround(s * step * sampleRate)); };

    Noise noise;
    // A, A, F, G: one root per bar, played in a syncopated sixteenth pattern.
    const double roots[] = {55.0, 55.0, 43.65, 49.0};
    const int bassSteps[] = {0, 3, 6, 8, 10, 11, 14};
    for (int s = 0; s < steps; ++s) {
        const int bar = s / 16, inBar = s % 16;
        const bool lastBar = bar == bars - 1;
        if (inBar == 0 || inBar == 6 || inBar == 8 || (lastBar && inBar == 14)) kick(out, frameOf(s));
        if (inBar == 4 || inBar == 12) snare(out, frameOf(s), noise, 0.8);
        if (lastBar && (inBar == 13 || inBar == 15)) snare(out, frameOf(s), noise, 0.45);
        if (inBar == 14)
            hat(out, frameOf(s), noise, 0.5, 0.09); // the open hat
        else
            hat(out, frameOf(s), noise, inBar % 2 == 0 ? 0.55 : 0.3, 0.018);
        for (int b : bassSteps) {
            if (inBar == b) {
                const double octave = (b == 6 || b == 14) ? 2.0 : 1.0;
                bass(out, frameOf(s), step * 0.9, roots[bar % 4] * 2.0 * octave);
            }
        }
    }

    float peak = 0.0f;
    for (std::size_t i = 0; i < out.frames(); ++i)
        peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
    if (peak > 0.0f) {
        const float gain = 0.891f / peak; // -1 dBFS
        for (std::size_t i = 0; i < out.frames(); ++i) {
            out.left[i] *= gain;
            out.right[i] *= gain;
        }
    }
    return out;
}

} // namespace vexbit::cli
