// The vexbit tool run as a user runs it: output, error line and exit status.
#include "support/RunVexbit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using vexbit::test::runVexbit;
using RunResult = vexbit::test::ToolRun;

void expectOneErrorLine(const RunResult& r)
{
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("vexbit: error: ", 0), 0u) << r.err;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.back(), '\n');
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

} // namespace

TEST(VexbitInfo, ListsOurFactoryClassesAndParameters)
{
    const RunResult r = runVexbit({"info", VEXBIT_BUNDLE_PATH});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* expected :
         {"  vendor: Ornith-Kaval\n", "  flags: 16\n", "Classes: 2\n", "  [0] Vexbit Glitch\n",
          "    category: Audio Module Class\n", "    sub-categories: Fx\n", "  [1] Vexbit Glitch Controller\n",
          "    version: 2.2-2.0\n", "    sdk version: VST 3.6.14\n", "Parameters of Vexbit Glitch: 83\n",
          "  2147483647\t\"Bypass\"\t0.000000 (Off)\t1\t0x10001 automate|bypass\n",
          "  2\t\"Max Concurrency\"\t0.142857 (2)\t7\t0x1 automate\n",
          "  611\t\"Shuffler 1/32 Note Rate \"\t0.100000 (10.0)\t0\t0x1 automate\n",
          "  999\t\"Gator Randomise\"\t0.000000 (Off)\t1\t0x9 automate|list\n"}) {
        EXPECT_NE(r.out.find(expected), std::string::npos) << "missing: " << expected;
    }
    // Bypass comes before the table's first parameter.
    EXPECT_LT(r.out.find("\"Bypass\""), r.out.find("\"AutoPlay\""));
}

TEST(VexbitInfo, BadInputGivesOneErrorLineAndFailure)
{
    expectOneErrorLine(runVexbit({"info", "/no/such/Thing.vst3"}));
    expectOneErrorLine(runVexbit({"info", VEXBIT_NOT_A_BUNDLE}));
    expectOneErrorLine(runVexbit({"info", VEXBIT_NO_ENTRY_BUNDLE}));
    expectOneErrorLine(runVexbit({"info", __FILE__}));
    expectOneErrorLine(runVexbit({"info", ""}));
    expectOneErrorLine(runVexbit({"info"}));
    expectOneErrorLine(runVexbit({}));
    expectOneErrorLine(runVexbit({"no-such-command"}));
    expectOneErrorLine(runVexbit({"info", VEXBIT_BUNDLE_PATH, "extra"}));
}
