#pragma once

// Files for the render tool's tests: audio and MIDI files written with the
// libraries a user's other tools would use.

#include "support/RunVexbit.h"
#include "host/AudioFile.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vexbit::test {

// Stereo float WAV (or mono when right is empty).
void writeFloatWav(const std::string& path, double sampleRate, const std::vector<float>& left,
                   const std::vector<float>& right);

struct MidiNote {
    int pitch;
    double startBeat;
    double endBeat;
};
// A one-track standard MIDI file at 96 pulses per quarter note.
void writeMidiFile(const std::string& path, const std::vector<MidiNote>& notes);

std::vector<float> sine(double frequency, double sampleRate, std::size_t frames, float amplitude = 0.5f);

// Amplitude of one frequency over [begin, end) of a signal (Goertzel).
double toneLevel(const std::vector<float>& signal, std::size_t begin, std::size_t end, double frequency,
                 double sampleRate);

std::string readTextFile(const std::string& path);

} // namespace vexbit::test
