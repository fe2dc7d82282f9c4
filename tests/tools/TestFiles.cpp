#include "tools/TestFiles.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <smf.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vexbit::test {

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "vexbit-render-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::vector<std::string> TempFolder::files() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) names.push_back(entry.path().filename().string());
    return names;
}

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

} // namespace

ToolRun runVexbit(const std::vector<std::string>& args)
{
    std::vector<std::string> all{VEXBIT_EXECUTABLE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    // Both streams go to files so neither can fill up and block the child.
    char outPath[] = "/tmp/vexbit-render-out-XXXXXX";
    char errPath[] = "/tmp/vexbit-render-err-XXXXXX";
    const int outFd = ::mkstemp(outPath);
    const int errFd = ::mkstemp(errPath);
    ToolRun run;
    if (outFd < 0 || errFd < 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    run.out = readAll(outFd);
    run.err = readAll(errFd);
    ::close(outFd);
    ::close(errFd);
    ::unlink(outPath);
    ::unlink(errPath);
    return run;
}

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
