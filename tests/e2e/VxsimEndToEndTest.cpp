// vxsim as a user runs it: from a folder of their own, with --root pointing at a runtime folder
// that sees the build's modules. Compares transcripts, exit statuses and messages, and checks
// that refused input leaves no files behind.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/VxsimRun.h"

namespace {

namespace fs = std::filesystem;
using e2e::entries;
using e2e::Outcome;
using e2e::readAll;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class VxsimTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = e2e::makeTempFolder("vxsim-e2e");
        ASSERT_FALSE(base_.empty());
        root_ = base_ / "root";
        start_ = base_ / "start";
        fs::create_directories(root_);
        fs::create_directories(start_);
        fs::create_directory_symlink(VX_MODULE_DIR, root_ / "modules");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(base_, ignored);
    }

    // Runs vxsim in the start folder with --root and the given arguments.
    Outcome vxsim(std::vector<std::string> args, const std::string& input = "") {
        return e2e::runVxsim(root_, start_, base_, std::move(args), input);
    }

    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(start_ / name, std::ios::binary) << text;
        return start_ / name;
    }

    static std::string data(const std::string& name) {
        return (fs::path(E2E_DATA_DIR) / name).string();
    }

    fs::path base_, root_, start_;
};

TEST_F(VxsimTest, ScriptWithEveryCommandGivesTheExpectedTranscriptAndSave) {
    const Outcome run = vxsim({data("probes.scn"), data("every-command.vxs")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, readAll(data("every-command.expected")));
    // save FILE is taken from the folder vxsim was started in, not from the root.
    EXPECT_EQ(readAll(start_ / "saved.scn"), readAll(data("every-command.saved.scn")));
    EXPECT_THAT(entries(root_), ElementsAre("modules", "vxsim.log"));
    EXPECT_THAT(readAll(root_ / "vxsim.log"), StartsWith("Probe Alpha ready\nProbe Beta ready\n"));
}

TEST_F(VxsimTest, SavedScenarioLoadsAndSavesToTheSameText) {
    ASSERT_EQ(vxsim({data("probes.scn"), "-e", "step 7; save first.scn"}).status, 0);
    const Outcome again = vxsim({"first.scn", "-e", "save second.scn"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readAll(start_ / "second.scn"), readAll(start_ / "first.scn"));
}

TEST_F(VxsimTest, ScriptComesFromTheFileThenInlineThenStandardInput) {
    write("one.vxs", "print time\n");
    const Outcome fromFile = vxsim({data("probes.scn"), "one.vxs", "-e", "dt 2; step; print time"});
    EXPECT_THAT(fromFile.out, HasSubstr("| time 0\n"));
    EXPECT_THAT(fromFile.out, Not(HasSubstr("| time 2")));
    const Outcome inlined = vxsim({data("probes.scn"), "-e", "dt 2; step; print time"});
    EXPECT_THAT(inlined.out, HasSubstr("| time 2\n"));
    const Outcome piped = vxsim({data("probes.scn")}, "dt 0.5\nstep 3\nprint time\n");
    EXPECT_THAT(piped.out, HasSubstr("| time 1.5\n"));
}

TEST_F(VxsimTest, FailedExpectIsReportedAndTheRunGoesOn) {
    write("check.vxs", "step\nexpect hud nothing like it\nexpect debug \nprint time\n");
    const Outcome run = vxsim({data("probes.scn"), "check.vxs"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "check.vxs:2: expect hud: wanted \"nothing like it\", got \"Probe Alpha | "
                       "Alpha standing by\"\n");
    EXPECT_THAT(run.out, HasSubstr("| time 0.1\n"));
}

struct BadScenario {
    const char* name;
    const char* text;
    const char* message;
};

void PrintTo(const BadScenario& bad, std::ostream* out) {
    *out << bad.name;
}

class BadScenarioTest : public VxsimTest, public ::testing::WithParamInterface<BadScenario> {};

TEST_P(BadScenarioTest, RefusedBeforeAnythingRunsAndNothingIsWritten) {
    write("bad.scn", GetParam().text);
    const Outcome run = vxsim({"bad.scn", "-e", "step; save out.scn"});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, StartsWith(GetParam().message));
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(entries(start_), ElementsAre("bad.scn"));
    EXPECT_THAT(entries(root_), ElementsAre("modules"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadScenarioTest,
    ::testing::Values(
        BadScenario{"StatementOutsideBlocks", "BEGIN_VESSEL Probe A\nEND_VESSEL\nSTEP 1\n",
                    "bad.scn:3: unknown statement"},
        BadScenario{"BadHostValue", "BEGIN_VESSEL Probe A\n  POS 1 two 3\nEND_VESSEL\n",
                    "bad.scn:2: POS"},
        BadScenario{"MissingNumber", "BEGIN_VESSEL Probe A\n  POS 1 2\nEND_VESSEL\n",
                    "bad.scn:2: POS"},
        BadScenario{"MissingEndVessel", "BEGIN_VESSEL Probe A\n  POS 7000000 0 0\n", "bad.scn:1: "},
        BadScenario{"UnknownClass",
                    "BEGIN_VESSEL Probe A\nEND_VESSEL\nBEGIN_VESSEL Nowhere B\nEND_VESSEL\n",
                    "bad.scn:3: vessel class 'Nowhere': no module file modules/Nowhere.dll"},
        BadScenario{"DuplicateName",
                    "BEGIN_VESSEL Probe A\nEND_VESSEL\nBEGIN_VESSEL Probe A\nEND_VESSEL\n",
                    "bad.scn:3: vessel name 'A'"},
        BadScenario{"DockToUnknownVessel", "BEGIN_VESSEL Probe A\n  DOCK 0 0 Nobody\nEND_VESSEL\n",
                    "bad.scn:2: DOCK: no vessel named 'Nobody'"}),
    [](const auto& param) { return std::string(param.param.name); });

struct BadScript {
    const char* name;
    const char* script;
    int status;
    const char* message;
};

void PrintTo(const BadScript& bad, std::ostream* out) {
    *out << bad.name;
}

class BadScriptTest : public VxsimTest, public ::testing::WithParamInterface<BadScript> {};

TEST_P(BadScriptTest, StopsWithTheScriptLineAndReason) {
    write("bad.vxs", GetParam().script);
    const Outcome run = vxsim({data("probes.scn"), "bad.vxs"});
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_THAT(run.err, StartsWith(GetParam().message));
    EXPECT_THAT(run.out, Not(HasSubstr("| time"))) << "nothing runs after the failure";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BadScriptTest,
    ::testing::Values(
        BadScript{"UnknownCommand", "step\nfly away\nprint time\n", 2, "bad.vxs:2: "},
        BadScript{"BadArgument", "step\nstep x\nprint time\n", 2, "bad.vxs:2: "},
        BadScript{"FocusUnknownVessel", "step\nfocus Nobody\nprint time\n", 2,
                  "bad.vxs:2: focus: no vessel named 'Nobody'\n"},
        BadScript{"PlaceUnknownVessel", "place Nobody Alpha 0 0 1\nprint time\n", 2,
                  "bad.vxs:1: place: no vessel named 'Nobody'\n"},
        BadScript{"DeleteUnknownVessel", "delete Gamma two\nprint time\n", 2,
                  "bad.vxs:1: delete: no vessel named 'Gamma two'\n"},
        BadScript{"DockUnknownVessel", "dock Alpha 0 Gamma 0\nprint time\n", 2,
                  "bad.vxs:1: dock: no vessel named 'Gamma'\n"},
        BadScript{"DockTakenPort", "dock Alpha 0 Beta 0\nprint time\n", 2,
                  "bad.vxs:1: dock: port 0 of Alpha is taken\n"},
        BadScript{"CreateTakenName", "create Probe Beta\nprint time\n", 2,
                  "bad.vxs:1: create: Probe Beta refused: the name 'Beta' is taken\n"},
        BadScript{"RunWithZeroStep", "dt 0\nrun 1\nprint time\n", 2,
                  "bad.vxs:2: run: the step length is 0"},
        BadScript{"SaveFails", "save missing/x.scn\nprint time\n", 2,
                  "bad.vxs:1: save: cannot save missing/x.scn: No such file or directory\n"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(VxsimTest, BadScriptIsRefusedBeforeTheScenarioLoads) {
    write("bad.vxs", "step\nfly away\n");
    const Outcome run = vxsim({data("probes.scn"), "bad.vxs"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "") << "no transcript at all";
    EXPECT_THAT(entries(root_), ElementsAre("modules")) << "no log: nothing was loaded";
}

TEST_F(VxsimTest, HelpAndBadOptions) {
    const Outcome help = vxsim({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("--flight-model"));
    EXPECT_EQ(vxsim({"--seed", "many"}).status, 2);
    EXPECT_EQ(vxsim({"missing.scn", "-e", "step"}).status, 2);
}

TEST_F(VxsimTest, InteractiveRunRefusesScriptsStrictAndAMissingTerminal) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--interactive", "-e", "step"}, "excludes"},
        {{"--interactive", data("probes.scn"), "run.vxs"}, "excludes"},
        {{"--interactive", "--strict"}, "excludes"},
        // The test's streams are files: nothing is loaded and the screen is left alone.
        {{"--interactive", data("probes.scn")}, "must be a terminal"},
    };
    for (const Case& c : cases) {
        const Outcome run = vxsim(c.args);
        EXPECT_EQ(run.status, 2) << c.args.back();
        EXPECT_EQ(run.out, "") << c.args.back();
        EXPECT_THAT(run.err, HasSubstr(c.message)) << c.args.back();
    }
    EXPECT_THAT(entries(root_), ElementsAre("modules")) << "no log: nothing was loaded";
}

} // namespace

namespace {

// --strict fails a run at the first command after which some module callback had allocated,
// naming the class and the callback; without it the same run goes through.
TEST_F(VxsimTest, StrictRunFailsAtTheCommandWhoseCallbackAllocated) {
    write("hoard.scn", "BEGIN_VESSEL Probe Greedy\n  POS 7000000 0 0\n  HOARD 2\nEND_VESSEL\n"
                       "BEGIN_VESSEL Probe Frugal\n  POS 7000000 0 50\nEND_VESSEL\n");
    write("frugal.scn", "BEGIN_VESSEL Probe Frugal\n  POS 7000000 0 50\nEND_VESSEL\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"hoard.scn", "-e", "print time; step 3; print time"},
         1,
         "-e:2: strict: class 'Probe' allocated 6 times in clbkPreStep\n"},
        {{"frugal.scn", "-e", "step 3; key h; step"},
         1,
         "-e:2: strict: class 'Probe' allocated 1 time in clbkConsumeBufferedKey\n"},
        {{"frugal.scn", "-e", "step 3; key e; key l; step 2; save out.scn"}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2]);
        std::vector<std::string> strict = c.args;
        strict.insert(strict.begin(), "--strict");
        const Outcome run = vxsim(strict);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.err);
        if (c.status != 0) {
            // The run stopped at the failing command: nothing after it ran.
            EXPECT_THAT(run.out, Not(HasSubstr("| 0.3")));
            EXPECT_EQ(vxsim(c.args).status, 0);
        }
    }
}

} // namespace
