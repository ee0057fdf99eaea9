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
using e2e::Outcome;
using e2e::readAll;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string probes = VXSIM_DATA_DIR "/probes.scn";

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
    const Outcome run = vxsim({probes, VXSIM_DATA_DIR "/every-command.vxs"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, probes + ":26: warning: line not understood by class 'Probe' or the host, "
                                "skipped: CKITCREW nobody\n");
    EXPECT_EQ(run.out, readAll(VXSIM_DATA_DIR "/every-command.expected"));
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

TEST_F(VxsimTest, ScriptComesFromTheFileElseInlineElseStandardInputAndExpectsAreChecked) {
    write("one.vxs", "step\nexpect hud nothing like it\nexpect debug \nprint time\n");
    const Outcome file = vxsim({probes, "one.vxs", "-e", "dt 2; step; print time"}, "step 5\n");
    EXPECT_EQ(file.status, 1);
    EXPECT_THAT(file.err, EndsWith("one.vxs:2: expect hud: wanted \"nothing like it\", got \"Probe "
                                   "Alpha | Alpha standing by\"\n"));
    EXPECT_THAT(file.out, EndsWith("| time 100.1\n")) << "the run goes on after a failed expect";
    EXPECT_THAT(vxsim({probes, "-e", "dt 2; step; print time"}, "step 5\n").out,
                EndsWith("| time 102\n"));
    const Outcome piped = vxsim({"--seed", "2", "--flight-model", "3", probes}, "print time\n");
    EXPECT_THAT(piped.out, HasSubstr("] log: Probe Alpha ready, model 3, draw 0.591190\n"));
    EXPECT_THAT(piped.out, EndsWith("| time 100\n"));
}

TEST_F(VxsimTest, RefusedInputStopsAtItsFileAndLineBeforeAnythingElseRuns) {
    const std::pair<const char*, const char*> cases[] = {
        // The text of bad.scn, or of bad.vxs run against probes.scn, and what the run says.
        {"BEGIN_VESSEL Probe A\nEND_VESSEL\nSTEP 1\n",
         "bad.scn:3: unknown statement 'STEP' outside a vessel block"},
        {"BEGIN_VESSEL Probe A\n  POS 1 two 3\nEND_VESSEL\n",
         "bad.scn:2: POS: 'two' is not a number"},
        {"BEGIN_VESSEL Probe A\nEND_VESSEL\nBEGIN_VESSEL Nowhere B\nEND_VESSEL\n",
         "bad.scn:3: vessel class 'Nowhere': no module file modules/Nowhere.dll"},
        {"BEGIN_VESSEL Probe A\n  DOCK 2147483647 0 Nobody\nEND_VESSEL\n",
         "bad.scn:2: DOCK: no vessel named 'Nobody'"},
        {"BEGIN_VESSEL Probe A\n  DOCK 0 0 B\nEND_VESSEL\nBEGIN_VESSEL Probe B\nEND_VESSEL\n"
         "BEGIN_VESSEL Probe C\n  DOCK 0 0 B\nEND_VESSEL\n",
         "bad.scn:7: DOCK: port 0 of B is taken"},
        {"BEGIN_WORLD\n  FOCUS Ghost\nEND_WORLD\nBEGIN_VESSEL Probe A\nEND_VESSEL\n",
         "bad.scn:2: FOCUS: no vessel named 'Ghost'"},
        {"BEGIN_VESSEL Probe Earth\nEND_VESSEL\n",
         "bad.scn:1: the name 'Earth' is the reference body's"},
        {"step\nfly away", "bad.vxs:2: unknown command 'fly' (vxsim help commands lists them)"},
        {"\xEF\xBB\xBFstep\nprint vessel Beta\x1b[2J",
         "bad.vxs:2: print: no vessel named 'Beta\\x1b[2J'"},
        {"dock \"Gamma one\" 0 Alpha 0", "bad.vxs:1: dock: port 0 of Alpha is taken"},
        {"focus Nobody", "bad.vxs:1: focus: no vessel named 'Nobody'"},
        {"place Alpha Nobody 0 0 1", "bad.vxs:1: place: no vessel named 'Nobody'"},
        {"print vessel Nobody", "bad.vxs:1: print: no vessel named 'Nobody'"},
        {"dock Beta 0 Alpha 0", "bad.vxs:1: dock: port 0 of Alpha is taken"},
        {"dock Alpha 1 Beta 1", "bad.vxs:1: dock: port 1 of Beta is taken"},
        {"dock Beta 0 Alpha 2147483647", "bad.vxs:1: dock: Alpha has no port 2147483647"},
        {"dock Beta 0 Beta 0", "bad.vxs:1: dock: Beta cannot dock to itself"},
        {"undock Alpha 1", "bad.vxs:1: undock: port 1 of Alpha is not docked"},
        {"create Probe Terra", "bad.vxs:1: create: Probe Terra refused: the name 'Terra' is taken"},
        {"create ../Probe X", "bad.vxs:1: create: ../Probe X refused: no vessel class '../Probe'"},
        {"dt 0\nrun 1", "bad.vxs:2: run: the step length is 0 (set one with dt)"},
        {"save no/x.scn", "bad.vxs:1: save: cannot save no/x.scn: No such file or directory"},
        {"save scratch", "bad.vxs:1: save: cannot save scratch: Is a directory"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        fs::remove(root.path() / "vxsim.log");
        const bool scenario = message[4] == 's'; // the message names bad.scn or bad.vxs
        write("bad.scn", scenario ? text : readAll(probes));
        write("bad.vxs", std::string(scenario ? "step" : text) + "\nsave out.scn\nprint time\n");
        const Outcome run = vxsim({"bad.scn", "bad.vxs"});
        EXPECT_EQ(run.status, 2);
        EXPECT_THAT(run.err, EndsWith(std::string(message) + "\n"));
        EXPECT_THAT(run.out, Not(HasSubstr("| time")));
        EXPECT_EQ(e2e::entries(start), (std::vector<std::string>{"bad.scn", "bad.vxs", "scratch"}));
        EXPECT_EQ(loaded(), !run.out.empty()) << "what is refused as read loads nothing";
    }
}

TEST_F(VxsimTest, CommandLineRefusalsComeBeforeAnythingLoads) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--seed", "many"}, "--seed"},
        {{"missing.scn", "-e", "step"}, "missing.scn: cannot read the file /"},
        {{"orbit.scn", "-e", "step"}, "(No such file or directory); the root folder holds "},
        {{".", "-e", "step"}, "/start/.: it is a folder"},
        {{"help", "transcript"}, ""}, // not a refusal: the transcript's kinds, on standard output
        {{"--interactive", probes}, "must be a terminal"}, // the streams are files here
    };
    fs::create_directories(root.path() / "scenarios");
    root.write("scenarios/orbit.scn", "");
    for (const auto& [args, message] : cases) {
        const Outcome run = vxsim(args);
        EXPECT_EQ(run.status, *message == '\0' ? 0 : 2) << message;
        EXPECT_EQ(run.out.empty(), *message != '\0') << message;
        EXPECT_THAT(run.err, HasSubstr(message));
    }
    EXPECT_EQ(vxsim({"--version"}).out, "vxsim " VX_VERSION "\n");
    EXPECT_FALSE(loaded());
}

// --strict fails a run at the first command after which a module callback had allocated,
// naming the class and the callback; what the host does for a module is not the module's.
TEST_F(VxsimTest, StrictRunFailsAtTheCommandWhoseCallbackAllocated) {
    write("hoard.scn", "BEGIN_VESSEL Probe Greedy\n  POS 7000000 0 0\n  HOARD 2\nEND_VESSEL\n");
    write("frugal.scn", "BEGIN_VESSEL Probe Frugal\n  POS 7000000 0 0\n  MESSAGE m\n  SPIN 0.5\n"
                        "  UNCLAIMED line\nEND_VESSEL\nBEGIN_VESSEL Probe B\nEND_VESSEL\n");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--strict", "hoard.scn", "-e", "step 3; print time"},
         "-e:1: strict: class 'Probe' allocated 6 times in clbkPreStep\n"},
        {{"--strict", "frugal.scn", "-e", "step 3; key h; print time"},
         "-e:2: strict: class 'Probe' allocated 1 time in clbkConsumeBufferedKey\n"},
        {{"--strict", "frugal.scn", "-e",
          "step 3; key e; key l; key g; key c; key 1; key d; step 2; save out.scn"},
         "UNCLAIMED line\n"}, // passes: only the warning
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(args[3]);
        const Outcome run = vxsim(args);
        EXPECT_EQ(run.status, err[0] == '-' ? 1 : 0);
        EXPECT_THAT(run.err, EndsWith(err));
        EXPECT_THAT(run.out, Not(HasSubstr("| time")));
        EXPECT_EQ(vxsim({args.begin() + 1, args.end()}).status, 0) << "allowed without --strict";
    }
}

} // namespace
