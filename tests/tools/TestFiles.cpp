#include "tools/TestFiles.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <smf.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vexbit::test {

void writeFloatWav(const std::string& path, double sampleRate, const std::vector<float>& left,
                   const std::vector<float>& right)
{
    SF_INFO info{};
    info.channels = right.empty() ? 1 : 2;
    info.samplerate = static_cast<int>(sampleRate);
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < left.size(); ++i) {
        interleaved.push_back(left[i]);
        if (!right.empty()) interleaved.push_back(right[i]);
    }
    EXPECT_EQ(sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(left.size())),
              static_cast<sf_count_t>(left.size()));
    sf_close(file);
}

void writeMidiFile(const std::string& path, const std::vector<MidiNote>& notes)
{
    smf_t* smf = smf_new();
    ASSERT_NE(smf, nullptr);
    ASSERT_EQ(smf_set_ppqn(smf, 96), 0);
    smf_track_t* track = smf_track_new();
    smf_add_track(smf, track);
    for (const MidiNote& n : notes) {
        smf_event_t* on = smf_event_new_from_bytes(0x90, n.pitch, 100);
        smf_track_add_event_pulses(track, on, static_cast<int>(std::lround(n.startBeat * 96)));
        smf_event_t* off = smf_event_new_from_bytes(0x80, n.pitch, 0);
        smf_track_add_event_pulses(track, off, static_cast<int>(std::lround(n.endBeat * 96)));
    }
    EXPECT_EQ(smf_save(smf, path.c_str()), 0);
    smf_delete(smf);
}

std::vector<float> sine(double frequency, double sampleRate, std::size_t frames, float amplitude)
{
    std::vector<float> s(frames);
    for (std::size_t i = 0; i < frames; ++i)
        s[i] = amplitude * static_cast<float>(std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / sampleRate));
    return s;
}

double toneLevel(const std::vector<float>& signal, std::size_t begin, std::size_t end, double frequency,
                 double sampleRate)
{
    const double w = 2.0 * M_PI * frequency / sampleRate;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const double s0 = signal[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2.0 * std::sqrt(std::max(0.0, power)) / static_cast<double>(end - begin);
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace vexbit::test
