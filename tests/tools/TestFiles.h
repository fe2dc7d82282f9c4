#pragma once

// Files and processes for the render tool's tests: a private temporary
// folder, audio and MIDI files written with the libraries a user's other
// tools would use, and the vexbit program run as a child process.

#include "host/AudioFile.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vexbit::test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    // Names of the files in the folder, hidden ones included.
    std::vector<std::string> files() const;

private:
    std::string root_;
};

struct ToolRun {
    int status = -1; // exit status; -1 when the program did not exit normally (a crash)
    std::string out;
    std::string err;
};

ToolRun runVexbit(const std::vector<std::string>& args);

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
