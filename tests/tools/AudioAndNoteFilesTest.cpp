// The render tool's file readers and writers, and how note echoes become
// engaged spans, checked in-process.
#include "tools/TestFiles.h"

#include "host/AudioFile.h"
#include "host/EngagementSpans.h"
#include "host/NoteList.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <smf.h>

#include <filesystem>

namespace vexbit::test {
namespace {

TEST(AudioFiles, MonoBecomesStereoAndTheSampleFormatCarriesOver)
{
    TempFolder dir;
    writeFloatWav(dir.path("mono.wav"), 22050.0, {0.25f, -0.5f, 1.5f}, {});
    std::string error;
    host::AudioFileFormat format;
    auto audio = host::readAudioFile(dir.path("mono.wav"), error, &format);
    ASSERT_TRUE(audio) << error;
    EXPECT_EQ(audio->sampleRate, 22050.0);
    EXPECT_EQ(audio->left, (std::vector<float>{0.25f, -0.5f, 1.5f}));
    EXPECT_EQ(audio->right, audio->left);
    EXPECT_EQ(format.channels, 1);

    // 16-bit WAV in, 16-bit out; over full scale clips instead of wrapping round.
    ASSERT_TRUE(host::writeAudioFile(dir.path("pcm.wav"), *audio, SF_FORMAT_WAV | SF_FORMAT_PCM_16, error)) << error;
    auto pcm = host::readAudioFile(dir.path("pcm.wav"), error, &format);
    ASSERT_TRUE(pcm) << error;
    EXPECT_EQ(format.libsndfileFormat, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(format.channels, 2);
    EXPECT_NEAR(pcm->left[2], 1.0f, 1e-4f);
    EXPECT_NEAR(pcm->left[1], -0.5f, 1e-4f);

    // FLAC cannot hold float samples: 24-bit PCM instead.
    ASSERT_TRUE(host::writeAudioFile(dir.path("x.FLAC"), *audio, SF_FORMAT_WAV | SF_FORMAT_FLOAT, error)) << error;
    ASSERT_TRUE(host::readAudioFile(dir.path("x.FLAC"), error, &format)) << error;
    EXPECT_EQ(format.libsndfileFormat, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(AudioFiles, AFailedWriteLeavesNothingBehind)
{
    TempFolder dir;
    host::AudioBuffer audio;
    audio.resize(100);
    std::string error;
    EXPECT_FALSE(host::writeAudioFile(dir.path("a.unknown"), audio, 0, error));
    EXPECT_NE(error.find("unknown audio file type"), std::string::npos) << error;
    EXPECT_FALSE(host::writeAudioFile(dir.path("missing/a.wav"), audio, 0, error));
    EXPECT_NE(error.find("a.wav"), std::string::npos) << error;
    EXPECT_TRUE(dir.files().empty());
    // A sample rate the type cannot carry is refused before anything is written.
    audio.sampleRate = 1000000.0;
    EXPECT_FALSE(host::writeAudioFile(dir.path("a.flac"), audio, 0, error));
    EXPECT_TRUE(dir.files().empty());
}

TEST(NoteText, PitchBeatAndLength)
{
    std::string error;
    auto note = host::parseNoteText("52@4.5:2", error);
    ASSERT_TRUE(note) << error;
    EXPECT_EQ(note->pitch, 52);
    EXPECT_EQ(note->startBeat, 4.5);
    EXPECT_EQ(note->lengthBeats, 2.0);
    note = host::parseNoteText("60@0", error);
    ASSERT_TRUE(note) << error;
    EXPECT_EQ(note->lengthBeats, 1.0);

    for (const char* bad : {"", "52", "@1", "52@", "52@x", "52.5@1", "128@1", "-1@1", "52@-1", "52@1:0", "52@1:-2",
                            "52@1:", "52@1:2:3", "52@nan", "52@inf"}) {
        EXPECT_FALSE(host::parseNoteText(bad, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(MidiFiles, NotesArePairedAcrossTracksAndChannels)
{
    TempFolder dir;
    smf_t* smf = smf_new();
    ASSERT_EQ(smf_set_ppqn(smf, 480), 0);
    smf_track_t* one = smf_track_new();
    smf_add_track(smf, one);
    smf_track_t* two = smf_track_new();
    smf_add_track(smf, two);
    auto add = [](smf_track_t* track, int pulses, int status, int pitch, int velocity) {
        smf_track_add_event_pulses(track, smf_event_new_from_bytes(status, pitch, velocity), pulses);
    };
    add(one, 0, 0x90, 52, 127);   // Filter on at beat 0 ...
    add(one, 960, 0x90, 52, 0);   // ... off at beat 2 by a zero-velocity note-on
    add(one, 960, 0x91, 60, 64);  // Gator on channel 2 from beat 2 ...
    add(one, 1440, 0x81, 60, 0);  // ... to beat 3
    add(two, 240, 0x90, 48, 100); // Delay from beat 0.5, never released: lasts to the last event
    EXPECT_EQ(smf_save(smf, dir.path("n.mid").c_str()), 0);
    smf_delete(smf);

    std::string error;
    const auto notes = host::readMidiFileNotes(dir.path("n.mid"), error);
    ASSERT_TRUE(notes) << error;
    ASSERT_EQ(notes->size(), 3u);
    auto find = [&](int pitch) {
        for (const host::TimedNote& n : *notes)
            if (n.pitch == pitch) return n;
        ADD_FAILURE() << "no note " << pitch;
        return host::TimedNote{};
    };
    EXPECT_EQ(find(52).startBeat, 0.0);
    EXPECT_EQ(find(52).lengthBeats, 2.0);
    EXPECT_FLOAT_EQ(find(52).velocity, 1.0f);
    EXPECT_EQ(find(60).channel, 1);
    EXPECT_EQ(find(60).startBeat, 2.0);
    EXPECT_EQ(find(60).lengthBeats, 1.0);
    EXPECT_EQ(find(48).startBeat, 0.5);
    EXPECT_EQ(find(48).lengthBeats, 2.5);
}

TEST(EngagedSpans, NoteEchoesBecomeSpansPerLane)
{
    using Kind = host::OutputEvent::Kind;
    const std::vector<host::OutputEvent> events = {
        {0, Kind::NoteOff, 0, 52, 1.0f},                                        // an effect that was off stays off
        {100, Kind::NoteOn, 0, 52, 1.0f},     {150, Kind::NoteOn, 0, 52, 1.0f}, // engaged again while engaged: one span
        {50, Kind::Controller, 0, 52, 64.0f}, // a controller numbered like a note is no note
        {200, Kind::NoteOff, 0, 52, 1.0f},    {300, Kind::NoteOn, 0, 60, 1.0f}, // never released: runs to the end
        {-20, Kind::NoteOn, 0, 48, 1.0f},                                       // before the start: clamped
        {10, Kind::NoteOff, 0, 48, 1.0f},     {400, Kind::NoteOn, 0, 61, 1.0f}, // not an effect's note
    };
    const auto spans = host::engagedSpans(events, host::glitchEffectLanes(), 1000);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].lane, 0u);
    EXPECT_EQ(spans[0].startFrame, 0);
    EXPECT_EQ(spans[0].endFrame, 10);
    EXPECT_EQ(spans[1].lane, 2u);
    EXPECT_EQ(spans[1].startFrame, 100);
    EXPECT_EQ(spans[1].endFrame, 200);
    EXPECT_EQ(spans[2].lane, 7u);
    EXPECT_EQ(spans[2].startFrame, 300);
    EXPECT_EQ(spans[2].endFrame, 1000);
}

} // namespace
} // namespace vexbit::test
