// Command lines that cannot work end with one error line and a non-zero
// status, never a crash, and leave no output file behind (nor spoil one that
// was there).
#include "tools/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vexbit::test {
namespace {

struct BadCase {
    const char* what;
    std::vector<std::string> args; // "IN", "OUT" and "DIR/" stand for files of the test
    const char* expected;          // part of the error line
};

std::string substitute(const std::string& arg, const TempFolder& dir)
{
    if (arg == "IN") return dir.path("in.wav");
    if (arg == "OUT") return dir.path("out.wav");
    if (arg.rfind("DIR/", 0) == 0) return dir.path(arg.substr(4));
    return arg;
}

TEST(RenderBadInput, EachFailureIsOneLineAndLeavesTheOutputAlone)
{
    const std::vector<BadCase> cases = {
        {"missing input", {"render", "DIR/none.wav", "-o", "OUT"}, "no such file"},
        {"input is a folder", {"render", "DIR/folder", "-o", "OUT"}, "not a regular file"},
        {"text posing as audio", {"render", "DIR/text.wav", "-o", "OUT"}, "cannot read it as audio"},
        {"truncated audio header", {"render", "DIR/cut.wav", "-o", "OUT"}, "cannot read it as audio"},
        {"unknown output type", {"render", "IN", "-o", "DIR/out.xyz"}, "unknown audio file type"},
        {"output folder missing", {"render", "IN", "-o", "DIR/no/out.wav"}, "does not exist"},
        {"unknown parameter", {"render", "IN", "-o", "OUT", "--set", "Warp Drive=On"}, "unknown parameter"},
        {"value above range", {"render", "IN", "-o", "OUT", "--set", "Gator Speed=31"}, "out of range"},
        {"value below range", {"render", "IN", "-o", "OUT", "--set", "902=-1"}, "out of range"},
        {"not a list entry", {"render", "IN", "-o", "OUT", "--set", "AutoPlay=Maybe"}, "\"On\""},
        {"shared title", {"render", "IN", "-o", "OUT", "--set", "Retrigger Length=2"}, "702 or 802"},
        {"setting without value", {"render", "IN", "-o", "OUT", "--set", "AutoPlay"}, "NAME=VALUE"},
        {"bad note", {"render", "IN", "-o", "OUT", "--note", "200@1"}, "pitch"},
        {"note without beat", {"render", "IN", "-o", "OUT", "--note", "52"}, "PITCH@BEAT"},
        {"missing MIDI file", {"render", "IN", "-o", "OUT", "--midi", "DIR/none.mid"}, "no such file"},
        {"audio posing as MIDI", {"render", "IN", "-o", "OUT", "--midi", "IN"}, "not a readable MIDI file"},
        {"truncated MIDI file", {"render", "IN", "-o", "OUT", "--midi", "DIR/cut.mid"}, "not a readable MIDI file"},
        {"missing state", {"render", "IN", "-o", "OUT", "--state", "DIR/none.vstpreset"}, "cannot open"},
        {"folder as bundle", {"render", "IN", "-o", "OUT", "--plugin", "DIR/folder"}, "not a VST 3 bundle"},
        {"empty bundle", {"render", "IN", "-o", "OUT", "--plugin", "DIR/Empty.vst3"}, "Empty.vst3"},
        {"text as bundle", {"render", "IN", "-o", "OUT", "--plugin", "DIR/text.wav"}, "text.wav"},
        {"block of zero", {"render", "IN", "-o", "OUT", "--block", "0"}, "block"},
        {"negative tail", {"render", "IN", "-o", "OUT", "--tail", "-1"}, "tail"},
    };

    TempFolder dir;
    writeFloatWav(dir.path("in.wav"), 44100.0, sine(440.0, 44100.0, 4410), {});
    std::filesystem::create_directory(dir.path("folder"));
    std::filesystem::create_directories(dir.path("Empty.vst3/Contents"));
    std::ofstream(dir.path("text.wav")) << "not audio at all\n";
    const std::string wav = readTextFile(dir.path("in.wav"));
    std::ofstream(dir.path("cut.wav"), std::ios::binary) << wav.substr(0, 30);
    writeMidiFile(dir.path("whole.mid"), {{52, 0.0, 1.0}});
    const std::string midi = readTextFile(dir.path("whole.mid"));
    std::ofstream(dir.path("cut.mid"), std::ios::binary) << midi.substr(0, midi.size() - 5);

    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = "an earlier render\n";
        std::ofstream(dir.path("out.wav"), std::ios::trunc) << before;
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(substitute(a, dir));

        const ToolRun run = runVexbit(args);
        EXPECT_GT(run.status, 0) << "exit status (-1 is a crash)";
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.rfind("vexbit: error: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_EQ(readTextFile(dir.path("out.wav")), before);
        for (const std::string& name : dir.files()) EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.path("out.xyz")));
    }
}

} // namespace
} // namespace vexbit::test
