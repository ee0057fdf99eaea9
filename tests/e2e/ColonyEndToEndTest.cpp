// The colony's roads as a user plays them in vxsim: each script runs in a runtime folder of its
// own that holds the crew library runtime's files, and its transcript is compared with the one
// kept beside it. VX_E2E_REWRITE=1 writes the transcripts instead (review the diff).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/VxsimRun.h"

namespace {

namespace fs = std::filesystem;
using e2e::Outcome;
using e2e::readAll;
using ::testing::HasSubstr;
using ::testing::Not;

class ColonyRun : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = e2e::makeTempFolder("colony-e2e");
        ASSERT_FALSE(base_.empty());
        root_ = base_ / "root";
        start_ = base_ / "start";
        fs::create_directories(root_ / "modules");
        fs::create_directories(root_ / "meshes" / "CKit");
        fs::create_directories(root_ / "config" / "CKITIdConfig");
        fs::create_directories(start_);
        // One link a module, so that a test can take a module away.
        for (const auto& module : fs::directory_iterator(VX_MODULE_DIR)) {
            fs::create_symlink(module.path(), root_ / "modules" / module.path().filename());
        }
        setLibraryVersion("2.0\n");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(base_, ignored);
    }

    void setLibraryVersion(const std::string& text) {
        std::ofstream(root_ / "meshes" / "CKit" / "ver.dtf", std::ios::binary) << text;
    }

    Outcome vxsim(std::vector<std::string> args, const std::string& input = "") {
        return e2e::runVxsim(root_, start_, base_, std::move(args), input);
    }

    static std::string scenario(const std::string& name) {
        return (fs::path(VX_SCENARIO_DIR) / name).string();
    }
    static fs::path data(const std::string& name) {
        return fs::path(E2E_DATA_DIR) / "colony" / name;
    }

    // Compares a transcript with the kept one, or keeps it when asked to.
    static void expectTranscript(const std::string& got, const std::string& name) {
        const fs::path kept = data(name);
        if (std::getenv("VX_E2E_REWRITE") != nullptr) {
            std::ofstream(kept, std::ios::binary) << got;
            return;
        }
        EXPECT_EQ(got, readAll(kept)) << "transcript differs from " << kept;
    }

    fs::path base_, root_, start_;
};

struct Road {
    const char* name;     // the script tests/e2e/colony/NAME.vxs and its NAME.expected
    const char* scenario; // from scenarios/, or from tests/e2e/ when it names a folder
};

void PrintTo(const Road& road, std::ostream* out) {
    *out << road.name;
}

class ColonyRoad : public ColonyRun, public ::testing::WithParamInterface<Road> {};

TEST_P(ColonyRoad, TranscriptIsTheKeptOne) {
    const Road& road = GetParam();
    const std::string from = std::strchr(road.scenario, '/') != nullptr
                                 ? (fs::path(E2E_DATA_DIR) / road.scenario).string()
                                 : scenario(road.scenario);
    const Outcome run = vxsim({from, data(std::string(road.name) + ".vxs").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    expectTranscript(run.out, std::string(road.name) + ".expected");
}

INSTANTIATE_TEST_SUITE_P(
    Roads, ColonyRoad,
    ::testing::Values(Road{"eva-and-return", "colony-orbit.scn"},
                      Road{"console", "colony-orbit.scn"}, Road{"hard-landing", "orbital-drop.scn"},
                      Road{"docked-ship-answers", "colony/tender-variants.scn"}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& c : name) {
            c = c == '-' ? '_' : c;
        }
        return name;
    });

// Little-endian 32-bit field of a record.
std::int32_t fieldAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value =
            (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(value);
}

TEST_F(ColonyRun, EvaWritesTheWholeExchangeRecordBeforeTheWalkerAppears) {
    const Outcome run = vxsim({scenario("colony-orbit.scn"), "-e", "key 1; key e; step"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string record = readAll(root_ / "config" / "CKittmp.cfg");
    ASSERT_EQ(record.size(), 104u);
    EXPECT_STREQ(record.c_str(), "CKit_Eng-Marietta Vasko");
    // An engineer gets the engineers' suit from the built-in profession table.
    EXPECT_STREQ(record.c_str() + 40, "ckit/ckitTECH");
    EXPECT_EQ(fieldAt(record, 80), 37);
    EXPECT_EQ(fieldAt(record, 84), 67);
    EXPECT_EQ(fieldAt(record, 88), 100);
    EXPECT_EQ(fieldAt(record, 92), 55);
    EXPECT_EQ(fieldAt(record, 96), 0);
    EXPECT_EQ(fieldAt(record, 100), 0);
    EXPECT_THAT(run.out, HasSubstr("vessel+: CKit_Eng-Marietta_Vasko (CKit)\n"));
}

TEST_F(ColonyRun, SaveAndReloadKeepsTheCrewAndTheWalkerOutside) {
    ASSERT_EQ(vxsim({scenario("colony-orbit.scn"), "-e",
                     "key 1; key e; step; key 1; key 1; key e; step 3; save first.scn"})
                  .status,
              0);
    const Outcome again = vxsim({"first.scn", "-e",
                                 "key s; step; focus CKit_Doc-Tobiah_Renart; key down; key down; "
                                 "key down; run 1; key s; step; save second.scn"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("Currently 10 personnel available in Halcyra Spacedock"));
    EXPECT_THAT(again.out, HasSubstr("Doc \"Tobiah Renart\" aged 29 has entered the Colony"));
    EXPECT_THAT(again.out, HasSubstr("Currently 11 personnel available in Halcyra Spacedock"));
    const std::string second = readAll(start_ / "second.scn");
    EXPECT_THAT(second, HasSubstr("CKITCREW Doc-Tobiah_Renart-29-70-45"));
    EXPECT_THAT(second, HasSubstr("BEGIN_VESSEL CKit CKit_Eng-Marietta_Vasko"));
}

TEST_F(ColonyRun, MissingCrewLibraryLeavesAnEmptySpacedockAndTheErrorLine) {
    fs::remove(root_ / "modules" / "CKit.dll");
    const Outcome run =
        vxsim({scenario("colony-orbit.scn"), "-e", "step; key s; step; key e; step"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out,
                HasSubstr("debug: Halcyra Colony ERROR CKIT 2.0 not properly initialised in your "
                          "code.\n"));
    EXPECT_THAT(run.out, HasSubstr("Currently 0 personnel available in Halcyra Spacedock, with "
                                   "50 positions available."));
    EXPECT_THAT(run.out, HasSubstr("Misc error with CKIT - Please reinstall."));
}

TEST_F(ColonyRun, TenderLinesSurviveASaveAndReload) {
    const std::string variants =
        (fs::path(E2E_DATA_DIR) / "colony" / "tender-variants.scn").string();
    ASSERT_EQ(vxsim({variants, "-e", "focus Shut; key a; step; save first.scn"}).status, 0);
    const std::string first = readAll(start_ / "first.scn");
    EXPECT_THAT(first, HasSubstr("BEGIN_VESSEL Tender Full\n"));
    EXPECT_THAT(first, HasSubstr("  SEATS 1\n  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n"));
    EXPECT_THAT(first, HasSubstr("  NOCREW\nEND_VESSEL"));
    // Shut's airlock was opened by the script, so its line is gone.
    EXPECT_EQ(first.find("AIRLOCK CLOSED"), std::string::npos);
    const Outcome again = vxsim({"first.scn", "-e", "save second.scn"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readAll(start_ / "second.scn"), first);
}

TEST_F(ColonyRun, BadSeatCountIsReportedAndTheDefaultKept) {
    const std::string text = readAll(scenario("demo.scn"));
    const std::string bad = text.substr(0, text.find("  CKITCREW Pil-")) +
                            "  SEATS 0\n  SEATS many\n" + text.substr(text.find("  CKITCREW Pil-"));
    std::ofstream(start_ / "bad-seats.scn", std::ios::binary) << bad;
    const Outcome run = vxsim({"bad-seats.scn", "-e", "save out.scn"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("line not understood, skipped: SEATS 0"));
    EXPECT_THAT(run.err, HasSubstr("line not understood, skipped: SEATS many"));
    EXPECT_THAT(readAll(start_ / "out.scn"), Not(HasSubstr("SEATS")));
}

TEST_F(ColonyRun, BuiltInDemoIsTheDemoScenarioAndScript) {
    const Outcome builtIn = vxsim({});
    ASSERT_EQ(builtIn.status, 0) << builtIn.err;
    const std::string builtInSave = readAll(start_ / "demo-saved.scn");
    fs::remove(start_ / "demo-saved.scn");
    const Outcome fromFiles = vxsim({scenario("demo.scn"), data("demo.vxs").string()});
    ASSERT_EQ(fromFiles.status, 0) << fromFiles.err;
    EXPECT_EQ(builtIn.out, fromFiles.out);
    EXPECT_EQ(builtInSave, readAll(start_ / "demo-saved.scn"));
    expectTranscript(builtIn.out, "demo.expected");
    expectTranscript(builtInSave, "demo-saved.scn");
}

TEST_F(ColonyRun, OutdatedLibraryShowsTheWarningSequenceOnce) {
    setLibraryVersion("1.9\n");
    const Outcome run = vxsim({scenario("version-warning.scn"), data("outdated.vxs").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    expectTranscript(run.out, "outdated.expected");
}

} // namespace

namespace {

// The built-in road, and a long soak of it, with every module callback held to allocating
// nothing: EVA and the walk back in, a transfer into the tender and back, a save, over and over.
TEST_F(ColonyRun, BuiltInDemoAllocatesNothingInAnyCallback) {
    const Outcome run = vxsim({"--strict"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, readAll(data("demo.expected")));
}

// Each round is two runs, each loading the save the run before it left: the first sends the
// member at position 1 out on EVA, the second walks whoever came out back in by name, crosses
// a member into the tender and back, and idles to a thousand steps.
TEST_F(ColonyRun, SoakOfAHundredThousandStepsAllocatesNothingInAnyCallback) {
    constexpr int kRounds = 100;
    constexpr int kStepsPerRound = 1000;
    const std::string out = "dt 0.1\nstep\nkey s\nstep\nundock Halcyra 0\nkey 1\nstep\nkey e\n"
                            "step\nsave soak.scn\n";
    const std::string back = "step\nkey down\nkey down\nkey down\nrun 0.5\n"
                             "dock Halcyra 0 Tender 0\nkey 1\nkey 1\nstep\nkey e\nrun 0.5\n"
                             "focus Tender\nstep\nkey 1\nstep\nkey e\nstep\nfocus Halcyra\n"
                             "run 0.5\nstep " +
                             std::to_string(kStepsPerRound - 24) + "\nsave soak.scn\n";
    std::string scenarioFile = scenario("demo.scn");
    int walkedBack = 0, transfers = 0, arrivals = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Outcome first = vxsim({"--strict", scenarioFile}, out);
        ASSERT_EQ(first.status, 0) << first.err;
        const std::size_t created = first.out.find("vessel+: CKit_");
        ASSERT_NE(created, std::string::npos) << "nobody went out on EVA";
        const std::size_t nameAt = created + std::strlen("vessel+: ");
        const std::string walker =
            first.out.substr(nameAt, first.out.find(" (CKit)", nameAt) - nameAt);
        scenarioFile = "soak.scn";
        const Outcome second = vxsim({"--strict", scenarioFile}, "focus " + walker + "\n" + back);
        ASSERT_EQ(second.status, 0) << second.err;
        walkedBack += second.out.find("vessel-: " + walker) != std::string::npos;
        transfers += second.out.find("crossed into the docked ship") != std::string::npos;
        for (std::size_t at = second.out.find("has entered the Colony"); at != std::string::npos;
             at = second.out.find("has entered the Colony", at + 1)) {
            ++arrivals;
        }
    }
    EXPECT_EQ(walkedBack, kRounds);
    EXPECT_EQ(transfers, kRounds);
    EXPECT_EQ(arrivals, 2 * kRounds);
    // Everyone is home again: the twelve founders, and the tender as empty as it started.
    const Outcome last = vxsim({"--strict", scenarioFile}, "key s\nstep\n");
    EXPECT_THAT(last.out, HasSubstr("Currently 12 personnel available"));
}

} // namespace
