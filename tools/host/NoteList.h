#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexbit::host {

// A note to play into a plug-in, placed in musical time (quarter notes from
// the start of bar 1), so it follows whatever tempo the render runs at.
struct TimedNote {
    int16_t pitch = 60;
    int16_t channel = 0;
    float velocity = 1.0f;
    double startBeat = 0.0;
    double lengthBeats = 1.0;
};

// "PITCH@BEAT:LENGTH" (as in 52@4:2, the Filter's note on beat 4 for two
// beats); the length may be left out (one beat). Null with a reason in error
// when a field is missing, not a number or out of range.
std::optional<TimedNote> parseNoteText(const std::string& text, std::string& error);

// The notes of a standard MIDI file, every track merged, in beats of the
// file's own division; the file's tempo map is not used. A note still held at
// the end of the file lasts until its last event. Null with one line in error
// when the file is missing or not a readable MIDI file.
std::optional<std::vector<TimedNote>> readMidiFileNotes(const std::string& path, std::string& error);

} // namespace vexbit::host
