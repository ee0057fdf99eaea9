// vxsim as a user runs it: from a folder of their own, with --root at a runtime folder. The
// transcript of every command is kept whole; refused input must leave no file behind.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/VxsimRun.h"
#include "tests/support/TestRoot.h"

namespace {

namespace fs = std::filesystem;
using e2e::entries;
using e2e::Outcome;
using e2e::readAll;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::string data(const std::string& name) {
    return VXSIM_DATA_DIR "/" + name;
}

class VxsimTest : public ::testing::Test {
protected:
    VxsimTest() { fs::create_directories(start / "scratch"); }
    Outcome vxsim(std::vector<std::string> args, const std::string& input = "") {
        return e2e::runVxsim(root.path(), start, start / "scratch", std::move(args), input);
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(start / name, std::ios::binary) << text;
    }
    bool loaded() const { return fs::exists(root.path() / "vxsim.log"); }

    vxtest::TestRoot root;
    fs::path start = root.path() / "start";
};

TEST_F(VxsimTest, EveryCommandGivesTheKeptTranscriptAndSavesWhatItPrints) {
    const Outcome run = vxsim({data("probes.scn"), data("every-command.vxs")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, data("probes.scn") + ":26: warning: line not understood, skipped: "
                                            "CKITCREW nobody\n");
    EXPECT_EQ(run.out, readAll(data("every-command.expected")));
    // save FILE is taken from the folder vxsim started in and holds what print scenario showed
    // right after; the log holds every log event.
    std::string printed, logged;
    for (std::size_t at = run.out.find("] save: saved.scn\n| ") + 18;
         run.out.compare(at, 2, "| ") == 0; at = run.out.find('\n', at) + 1) {
        printed += run.out.substr(at + 2, run.out.find('\n', at) - at - 1);
    }
    EXPECT_EQ(readAll(start / "saved.scn"), printed);
    for (std::size_t at = run.out.find("] log: "); at != std::string::npos;
         at = run.out.find("] log: ", at + 1)) {
        logged += run.out.substr(at + 7, run.out.find('\n', at) - at - 6);
    }
    EXPECT_EQ(root.read("vxsim.log"), logged);
    // A saved scenario loads and saves again to the same text, derived angles included.
    ASSERT_EQ(vxsim({"saved.scn", "-e", "save again.scn"}).status, 0);
    EXPECT_EQ(readAll(start / "again.scn"), readAll(start / "saved.scn"));
}

TEST_F(VxsimTest, ScriptComesFromTheFileElseInlineElseStandardInputAndSeedsTheRun) {
    write("one.vxs", "print time\n");
    const Outcome fromFile = vxsim({data("probes.scn"), "one.vxs", "-e", "dt 2; step; print time"});
    EXPECT_THAT(fromFile.out, HasSubstr("| time 100\n"));
    EXPECT_THAT(fromFile.out, Not(HasSubstr("| time 102")));
    EXPECT_THAT(vxsim({data("probes.scn"), "-e", "dt 2; step; print time"}).out,
                HasSubstr("| time 102\n"));
    const Outcome piped = vxsim({"--seed", "2", "--flight-model", "3", data("probes.scn")},
                                "dt 0.25\nstep 3\nprint time\n");
    EXPECT_THAT(piped.out, HasSubstr("| time 100.75\n"));
    EXPECT_THAT(piped.out, StartsWith("[100.00] log: Probe Alpha ready, model 3, draw 0.591190\n"));
}

TEST_F(VxsimTest, FailedExpectIsReportedAndTheRunGoesOn) {
    write("check.vxs", "step\nexpect hud nothing like it\nexpect debug \nprint time\n");
    const Outcome run = vxsim({data("probes.scn"), "check.vxs"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(run.err.find('\n') + 1),
              "check.vxs:2: expect hud: wanted \"nothing like it\", got \"Probe Alpha | Alpha "
              "standing by\"\n");
    EXPECT_THAT(run.out, HasSubstr("| time 100.1\n"));
}

TEST_F(VxsimTest, BadScenarioIsRefusedWholeBeforeAnythingRuns) {
    const std::pair<const char*, const char*> cases[] = {
        {"BEGIN_VESSEL Probe A\nEND_VESSEL\nSTEP 1\n",
         "3: unknown statement 'STEP' outside a vessel block"},
        {"BEGIN_VESSEL Probe A\n  POS 1 two 3\nEND_VESSEL\n", "2: POS: 'two' is not a number"},
        {"BEGIN_VESSEL Probe A\nEND_VESSEL\nBEGIN_VESSEL Nowhere B\nEND_VESSEL\n",
         "3: vessel class 'Nowhere': no module file modules/Nowhere.dll"},
        {"BEGIN_VESSEL ../Probe A\nEND_VESSEL\n", "1: no vessel class '../Probe'"},
        {"BEGIN_VESSEL Probe A\n  DOCK 0 0 Nobody\nEND_VESSEL\n",
         "2: DOCK: no vessel named 'Nobody'"},
        {"BEGIN_VESSEL Probe A\n  DOCK 0 0 B\nEND_VESSEL\nBEGIN_VESSEL Probe B\nEND_VESSEL\n"
         "BEGIN_VESSEL Probe C\n  DOCK 0 0 B\nEND_VESSEL\n",
         "7: DOCK: port 0 of B is taken"},
        {"BEGIN_WORLD\n  FOCUS Ghost\nEND_WORLD\nBEGIN_VESSEL Probe A\nEND_VESSEL\n",
         "2: FOCUS: no vessel named 'Ghost'"},
        {"BEGIN_VESSEL Probe Earth\nEND_VESSEL\n", "1: the name 'Earth' is the reference body's"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        write("bad.scn", text);
        const Outcome run = vxsim({"bad.scn", "-e", "step; save out.scn"});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, std::string("bad.scn:") + message + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(entries(start), ElementsAre("bad.scn", "scratch"));
        EXPECT_FALSE(loaded());
    }
}

TEST_F(VxsimTest, BadScriptStopsAtItsLineWithTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"step\nfly away", "2: unknown command 'fly'"}, // refused before anything loads
        {"focus Nobody", "1: focus: no vessel named 'Nobody'"},
        {"place Alpha Nobody 0 0 1", "1: place: no vessel named 'Nobody'"},
        {"delete Gamma two", "1: delete: no vessel named 'Gamma two'"},
        {"print vessel Nobody", "1: print: no vessel named 'Nobody'"},
        {"dock Beta 0 Alpha 0", "1: dock: port 0 of Alpha is taken"},
        {"dock Alpha 1 Beta 1", "1: dock: port 1 of Beta is taken"},
        {"dock Beta 0 Alpha 2", "1: dock: Alpha has no port 2"},
        {"dock Beta 0 Beta 0", "1: dock: Beta cannot dock to itself"},
        {"undock Alpha 1", "1: undock: port 1 of Alpha is not docked"},
        {"create Probe Beta", "1: create: Probe Beta refused: the name 'Beta' is taken"},
        {"create Probe Terra", "1: create: Probe Terra refused: the name 'Terra' is taken"},
        {"create ../Probe X", "1: create: ../Probe X refused: no vessel class '../Probe'"},
        {"dt 0\nrun 1", "2: run: the step length is 0 (set one with dt)"},
        {"save missing/x.scn", "1: save: cannot save missing/x.scn: No such file or directory"},
        {"save .", "1: save: cannot save .: "},
    };
    for (const auto& [script, message] : cases) {
        SCOPED_TRACE(script);
        fs::remove(root.path() / "vxsim.log");
        write("bad.vxs", std::string(script) + "\nprint time\n");
        const Outcome run = vxsim({data("probes.scn"), "bad.vxs"});
        EXPECT_EQ(run.status, 2);
        EXPECT_THAT(run.err, HasSubstr(std::string("bad.vxs:") + message));
        EXPECT_THAT(run.out, Not(HasSubstr("| time"))) << "nothing runs after the failure";
        EXPECT_THAT(entries(start), ElementsAre("bad.vxs", "scratch"));
        EXPECT_EQ(loaded(), run.out != "");
    }
}

TEST_F(VxsimTest, CommandLineRefusalsComeBeforeAnythingLoads) {
    const Outcome help = vxsim({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("--flight-model"));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--seed", "many"}, "--seed"},
        {{"missing.scn", "-e", "step"}, "missing.scn: cannot read the file\n"},
        {{"--interactive", "-e", "step"}, "excludes"},
        {{"--interactive", data("probes.scn")}, "must be a terminal"}, // streams are files here
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args.back());
        const Outcome run = vxsim(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr(message));
    }
    EXPECT_FALSE(loaded());
}

// --strict fails a run at the first command after which a module callback had allocated,
// naming the class and the callback; what the host does for a module is not the module's.
TEST_F(VxsimTest, StrictRunFailsAtTheCommandWhoseCallbackAllocated) {
    write("hoard.scn", "BEGIN_VESSEL Probe Greedy\n  POS 7000000 0 0\n  HOARD 2\nEND_VESSEL\n");
    write("frugal.scn", "BEGIN_VESSEL Probe Frugal\n  POS 7000000 0 0\n  MESSAGE m\n  SPIN 0.5\n"
                        "  UNCLAIMED line\nEND_VESSEL\nBEGIN_VESSEL Probe B\nEND_VESSEL\n");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"hoard.scn", "-e", "step 3; print time"},
         "-e:1: strict: class 'Probe' allocated 6 times in clbkPreStep\n"},
        {{"hoard.scn", "-e", "save out.scn; print time"},
         "-e:1: strict: class 'Probe' allocated 1 time in clbkSaveState\n"},
        {{"frugal.scn", "-e", "step 3; key h; print time"},
         "-e:2: strict: class 'Probe' allocated 1 time in clbkConsumeBufferedKey\n"},
        {{"frugal.scn", "-e",
          "step 3; key e; key l; key g; key c; key 1; key d; step 2; save out.scn"},
         nullptr},
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(args[2]);
        std::vector<std::string> strict = args;
        strict.insert(strict.begin(), "--strict");
        const Outcome run = vxsim(strict);
        EXPECT_EQ(run.status, err != nullptr ? 1 : 0);
        EXPECT_THAT(run.err, EndsWith(err != nullptr ? err : "UNCLAIMED line\n"));
        EXPECT_THAT(run.out, Not(HasSubstr("| time")));
        EXPECT_EQ(vxsim(args).status, 0);
    }
}

} // namespace
