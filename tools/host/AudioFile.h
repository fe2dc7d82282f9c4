#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vexbit::host {

// Stereo audio in memory, one array per channel.
struct AudioBuffer {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;

    std::size_t frames() const { return left.size(); }
    void resize(std::size_t frames)
    {
        left.resize(frames, 0.0f);
        right.resize(frames, 0.0f);
    }
};

struct AudioFileFormat {
    int libsndfileFormat = 0; // major type | subtype, as libsndfile reports it
    int channels = 0;
};

// Reads any file libsndfile knows (WAV, FLAC, AIFF, Ogg...). A mono file
// becomes the same signal on both sides; of more channels the first two are
// kept. Null with one line in error when the file is missing or unreadable.
std::optional<AudioBuffer> readAudioFile(const std::string& path, std::string& error,
                                         AudioFileFormat* format = nullptr);

// Writes a stereo file whose type follows the path's extension (.wav, .flac,
// .aiff, .ogg, ...). The sample format is taken from preferredFormat's subtype
// when the type can hold it (so a 16-bit input stays 16-bit), else 24-bit PCM
// or whatever the type can hold. Samples beyond full scale are clipped, not
// wrapped. The file appears complete or not at all.
bool writeAudioFile(const std::string& path, const AudioBuffer& audio, int preferredFormat, std::string& error);

// The libsndfile major format for a file name's extension; 0 when unknown.
int audioFormatForPath(const std::string& path);

} // namespace vexbit::host
