#include "host/NoteList.h"

#include <smf.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

namespace vexbit::host {

namespace {

// The furthest a note may start: ten thousand bars of four beats.
constexpr double kMaxBeat = 40000.0;
constexpr std::uintmax_t kMaxMidiFileSize = 64 * 1024 * 1024;

bool parseNumber(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

// libsmf reports problems through glib's log; they become our error line
// instead of lines on the terminal.
struct GlibLogCapture {
    GlibLogCapture() { previous = g_log_set_default_handler(&GlibLogCapture::handle, this); }
    ~GlibLogCapture() { g_log_set_default_handler(previous, nullptr); }
    static void handle(const gchar*, GLogLevelFlags, const gchar* message, gpointer self)
    {
        auto* capture = static_cast<GlibLogCapture*>(self);
        if (capture->first.empty() && message != nullptr) capture->first = message;
    }
    GLogFunc previous = nullptr;
    std::string first;
};

uint32_t bigEndian(const unsigned char* p, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

// The chunk layout of a standard MIDI file: a six-byte "MThd" header, then
// chunks whose lengths stay inside the file. Checked before libsmf sees the
// bytes, because libsmf does not free its work when it refuses a file.
bool hasMidiFileLayout(const std::string& bytes, std::string& reason)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0 || bigEndian(data + 4, 4) != 6) {
        reason = "no MIDI file header";
        return false;
    }
    const uint32_t tracks = bigEndian(data + 10, 2);
    uint32_t found = 0;
    for (std::size_t at = 14; at < bytes.size();) {
        if (bytes.size() - at < 8) {
            reason = "the file ends inside a chunk header";
            return false;
        }
        const uint32_t length = bigEndian(data + at + 4, 4);
        if (length > bytes.size() - at - 8) {
            reason = "a chunk runs past the end of the file";
            return false;
        }
        if (bytes.compare(at, 4, "MTrk") == 0) ++found;
        at += 8 + length;
    }
    if (tracks == 0 || found < tracks) {
        reason = "the file holds fewer tracks than its header says";
        return false;
    }
    return true;
}

struct SmfDeleter {
    void operator()(smf_t* smf) const { smf_delete(smf); }
};

} // namespace

std::optional<TimedNote> parseNoteText(const std::string& text, std::string& error)
{
    const auto at = text.find('@');
    if (at == std::string::npos) {
        error = "note \"" + text + "\": expected PITCH@BEAT[:LENGTH]";
        return std::nullopt;
    }
    const auto colon = text.find(':', at);
    const std::string pitchText = text.substr(0, at);
    const std::string beatText = text.substr(at + 1, colon == std::string::npos ? std::string::npos : colon - at - 1);
    const std::string lengthText = colon == std::string::npos ? "1" : text.substr(colon + 1);

    double pitch = 0, beat = 0, length = 0;
    if (!parseNumber(pitchText, pitch) || pitch != std::floor(pitch) || pitch < 0 || pitch > 127) {
        error = "note \"" + text + "\": the pitch must be a whole number from 0 to 127";
        return std::nullopt;
    }
    if (!parseNumber(beatText, beat) || beat < 0 || beat > kMaxBeat) {
        error = "note \"" + text + "\": the beat must be a number from 0 to " + std::to_string(int(kMaxBeat));
        return std::nullopt;
    }
    if (!parseNumber(lengthText, length) || length <= 0 || length > kMaxBeat) {
        error = "note \"" + text + "\": the length must be a number of beats above 0";
        return std::nullopt;
    }
    TimedNote note;
    note.pitch = static_cast<int16_t>(pitch);
    note.startBeat = beat;
    note.lengthBeats = length;
    return note;
}

std::optional<std::vector<TimedNote>> readMidiFileNotes(const std::string& path, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = path + ": " + (std::filesystem::exists(path, ec) ? "not a regular file" : "no such file");
        return std::nullopt;
    }
    if (std::filesystem::file_size(path, ec) > kMaxMidiFileSize || ec) {
        error = path + ": too large for a MIDI file";
        return std::nullopt;
    }
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            error = path + ": cannot read the file";
            return std::nullopt;
        }
    }
    std::string reason;
    if (!hasMidiFileLayout(bytes, reason)) {
        error = path + ": not a readable MIDI file (" + reason + ")";
        return std::nullopt;
    }
    GlibLogCapture log;
    std::unique_ptr<smf_t, SmfDeleter> smf(smf_load_from_memory(bytes.data(), static_cast<int>(bytes.size())));
    if (!smf) {
        error = path + ": not a readable MIDI file" + (log.first.empty() ? "" : " (" + log.first + ")");
        return std::nullopt;
    }
    if (smf->ppqn <= 0) {
        error = path + ": the MIDI file counts time in SMPTE frames, not beats";
        return std::nullopt;
    }

    const double ppqn = smf->ppqn;
    std::vector<TimedNote> notes;
    // Where each (channel, pitch) was switched on, -1 while it is off.
    std::vector<double> heldSince(16 * 128, -1.0);
    std::vector<float> heldVelocity(16 * 128, 0.0f);
    double lastBeat = 0.0;
    auto close = [&](int channel, int pitch, double endBeat) {
        const std::size_t key = static_cast<std::size_t>(channel * 128 + pitch);
        if (heldSince[key] < 0) return;
        TimedNote note;
        note.pitch = static_cast<int16_t>(pitch);
        note.channel = static_cast<int16_t>(channel);
        note.velocity = heldVelocity[key];
        note.startBeat = heldSince[key];
        note.lengthBeats = endBeat - heldSince[key];
        notes.push_back(note);
        heldSince[key] = -1.0;
    };

    smf_rewind(smf.get());
    while (smf_event_t* event = smf_get_next_event(smf.get())) {
        if (smf_event_is_metadata(event) || event->midi_buffer_length < 3) continue;
        const double beat = static_cast<double>(event->time_pulses) / ppqn;
        lastBeat = std::max(lastBeat, beat);
        const int status = event->midi_buffer[0] & 0xF0;
        const int channel = event->midi_buffer[0] & 0x0F;
        const int pitch = event->midi_buffer[1] & 0x7F;
        const int velocity = event->midi_buffer[2] & 0x7F;
        if (status == 0x90 && velocity > 0) {
            close(channel, pitch, beat); // a repeated note-on ends the held one
            heldSince[static_cast<std::size_t>(channel * 128 + pitch)] = beat;
            heldVelocity[static_cast<std::size_t>(channel * 128 + pitch)] = static_cast<float>(velocity) / 127.0f;
        } else if (status == 0x80 || status == 0x90) {
            close(channel, pitch, beat);
        }
    }
    for (int channel = 0; channel < 16; ++channel)
        for (int pitch = 0; pitch < 128; ++pitch) close(channel, pitch, lastBeat);
    return notes;
}

} // namespace vexbit::host
