#include "host/AudioFile.h"

#include "host/AtomicFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace vexbit::host {

namespace {

// Twelve hours of stereo at 192 kHz: more than a batch tool should hold in memory.
constexpr sf_count_t kMaxFrames = sf_count_t{192000} * 3600 * 12;
constexpr sf_count_t kChunkFrames = 8192;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

std::string lowerExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

} // namespace

std::optional<AudioBuffer> readAudioFile(const std::string& path, std::string& error, AudioFileFormat* format)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = path + ": " + (std::filesystem::exists(path, ec) ? "not a regular file" : "no such file");
        return std::nullopt;
    }
    SF_INFO info{};
    SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = path + ": cannot read it as audio (" + sf_strerror(nullptr) + ")";
        return std::nullopt;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0 || info.frames > kMaxFrames) {
        error = path + ": unusable audio (channels, sample rate or length out of range)";
        return std::nullopt;
    }

    AudioBuffer audio;
    audio.sampleRate = info.samplerate;
    audio.left.reserve(static_cast<std::size_t>(info.frames));
    audio.right.reserve(static_cast<std::size_t>(info.frames));
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* frame = &chunk[static_cast<std::size_t>(i) * channels];
            audio.left.push_back(frame[0]);
            audio.right.push_back(channels > 1 ? frame[1] : frame[0]);
        }
        if (static_cast<sf_count_t>(audio.frames()) > kMaxFrames) {
            error = path + ": the audio is too long";
            return std::nullopt;
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        error = path + ": cannot read the audio (" + sf_strerror(file.get()) + ")";
        return std::nullopt;
    }
    if (format != nullptr) {
        format->libsndfileFormat = info.format;
        format->channels = info.channels;
    }
    return audio;
}

int audioFormatForPath(const std::string& path)
{
    const std::string ext = lowerExtension(path);
    if (ext.empty()) return 0;
    if (ext == "aif") return SF_FORMAT_AIFF;
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO major{};
        major.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &major, sizeof major) != 0 || major.extension == nullptr)
            continue;
        if (ext == major.extension) return major.format;
    }
    // libsndfile names Ogg "oga"; users write "ogg".
    if (ext == "ogg") return SF_FORMAT_OGG;
    return 0;
}

bool writeAudioFile(const std::string& path, const AudioBuffer& audio, int preferredFormat, std::string& error)
{
    const int major = audioFormatForPath(path);
    if (major == 0) {
        error = path + ": unknown audio file type (use .wav, .flac, .aiff or .ogg)";
        return false;
    }
    const int sampleRate = static_cast<int>(audio.sampleRate);
    SF_INFO info{};
    info.channels = 2;
    info.samplerate = sampleRate;
    const int candidates[] = {preferredFormat & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16, SF_FORMAT_FLOAT,
                              SF_FORMAT_VORBIS};
    info.format = 0;
    for (int subtype : candidates) {
        SF_INFO probe = info;
        probe.format = major | subtype;
        if (subtype != 0 && sf_format_check(&probe)) {
            info.format = probe.format;
            break;
        }
    }
    if (info.format == 0) {
        error = path + ": this file type cannot hold stereo audio at " + std::to_string(sampleRate) + " Hz";
        return false;
    }

    AtomicFile output(path);
    {
        SndfilePtr file(sf_open(output.temporaryPath().c_str(), SFM_WRITE, &info));
        if (!file) {
            error = path + ": cannot write the file (" + sf_strerror(nullptr) + ")";
            return false;
        }
        sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
        std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * 2);
        for (std::size_t start = 0; start < audio.frames(); start += kChunkFrames) {
            const std::size_t n = std::min<std::size_t>(kChunkFrames, audio.frames() - start);
            for (std::size_t i = 0; i < n; ++i) {
                chunk[2 * i] = audio.left[start + i];
                chunk[2 * i + 1] = audio.right[start + i];
            }
            if (sf_writef_float(file.get(), chunk.data(), static_cast<sf_count_t>(n)) != static_cast<sf_count_t>(n)) {
                error = path + ": cannot write the audio (" + sf_strerror(file.get()) + ")";
                return false;
            }
        }
        if (sf_close(file.release()) != 0) {
            error = path + ": cannot finish the file";
            return false;
        }
    }
    return output.commit(error);
}

} // namespace vexbit::host
