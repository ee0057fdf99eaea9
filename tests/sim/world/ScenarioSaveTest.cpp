// Saving scenarios: the text a save writes loads back to the same text, and a save that
// fails leaves the previous file as it was.
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <sstream>

#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const char* const kScenario =
    "BEGIN_WORLD\n  TIME 3.25\n  FOCUS Second probe\n  HUDSIZE 800 600\nEND_WORLD\n"
    "BEGIN_VESSEL Probe First\n  POS 7000000.123 -0.1 1e-7\n  VEL 0.3 7546.05 -2\n"
    "  ORI 10.1 -20.2 30.3\n  AVEL 0.1 0.2 3.3\n  MESSAGE keep me\n  SPIN 0.125\nEND_VESSEL\n"
    "BEGIN_VESSEL Probe Second probe\n  POS 7000000.123 -0.1 15\n  ORI 10.1 -20.2 30.3\n"
    "  STATUS LANDED\n  DOCK 1 0 First\nEND_VESSEL\n";

class ScenarioSaveTest : public HostTest {
protected:
    std::string reloaded(const std::string& text) {
        endWorld();
        loadText(text);
        return world().scenarioText();
    }
};

TEST_F(ScenarioSaveTest, SaveLoadSaveGivesTheSameText) {
    loadText(kScenario);
    const std::string first = world().scenarioText();
    EXPECT_THAT(first, HasSubstr("BEGIN_VESSEL Probe Second probe\n"));
    EXPECT_THAT(first, HasSubstr("  ORI 10.1 -20.2 30.3\n"));
    EXPECT_THAT(first, HasSubstr("  DOCK 0 1 Second probe\n")) << "both blocks carry the dock";
    EXPECT_THAT(first, HasSubstr("  DOCK 1 0 First\n"));
    EXPECT_THAT(first, HasSubstr("  MESSAGE keep me\n"));
    EXPECT_EQ(reloaded(first), first);
}

TEST_F(ScenarioSaveTest, AnglesDerivedAfterTurningAlsoSurviveAReload) {
    loadText(kScenario);
    for (int i = 0; i < 37; ++i) {
        world().step(0.1);
    }
    const std::string first = world().scenarioText();
    EXPECT_THAT(first, Not(HasSubstr("  ORI 10.1 -20.2 30.3\n  AVEL 0.1"))) << "First turned";
    const std::string second = reloaded(first);
    EXPECT_EQ(second, first);
    EXPECT_EQ(reloaded(second), first);
}

TEST_F(ScenarioSaveTest, SaveWritesTheFileAndReportsItAsGiven) {
    loadText(kScenario);
    std::string error;
    ASSERT_TRUE(world().save((root / "out.scn").string(), "out.scn", error)) << error;
    EXPECT_EQ(readAll(root / "out.scn"), world().scenarioText());
    EXPECT_THAT(eventsOf(events, "save"), ElementsAre("out.scn"));
    EXPECT_THAT(folderEntries(root), ElementsAre("modules", "out.scn", "vxsim.log"));
}

TEST_F(ScenarioSaveTest, FailedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
    loadText(kScenario);
    const std::filesystem::path target = root / "keep.scn";
    std::ofstream(target) << "previous\n";
    // Files may hold only a few bytes now: the temporary cannot be written whole.
    signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit tight = before;
    tight.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string error;
    const bool saved = world().save(target.string(), "keep.scn", error);
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(saved);
    EXPECT_THAT(error, HasSubstr("keep.scn: File too large"));
    EXPECT_EQ(readAll(target), "previous\n");
    EXPECT_THAT(folderEntries(root), ElementsAre("keep.scn", "modules", "vxsim.log"));
    EXPECT_TRUE(eventsOf(events, "save").empty());
}

TEST_F(ScenarioSaveTest, SaveIntoAMissingFolderOrOntoAFolderFails) {
    loadText(kScenario);
    std::string error;
    EXPECT_FALSE(world().save((root / "no" / "x.scn").string(), "no/x.scn", error));
    EXPECT_EQ(error, "cannot save no/x.scn: No such file or directory");
    std::filesystem::create_directories(root / "taken" / "inside");
    EXPECT_FALSE(world().save((root / "taken").string(), "taken", error));
    EXPECT_THAT(error, HasSubstr("cannot save taken: "));
    EXPECT_THAT(folderEntries(root), ElementsAre("modules", "taken", "vxsim.log"));
    EXPECT_THAT(folderEntries(root / "taken"), ElementsAre("inside"));
}

} // namespace
} // namespace vx::test
