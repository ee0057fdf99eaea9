// The crew library's version file and the warnings on the host's debug line: what is read and
// kept, how initialisation arms the sequence, each phase at its boundaries, its end, and the
// error line of a crew manager that is not ready.
#include <cmath>
#include <cstring>

#include "crew/CrewVersion.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

const std::string kDownload =
    std::string("Halcyra Colony require \"Crew Kit\" ver 2.0 or higher. ") + "Download at " +
    kCrewLibraryDownloadAddress + " (";
const std::string kPush = "CKIT 2.0 will push this addon one step further. (";
const std::string kDontMiss = "Don't Miss Crew Kit 2.0 for Vantrix (CKIT) (";
const std::string kOutdated = "Your version of CKIT is outdated (";
const std::string kNotReady =
    "Halcyra Colony ERROR CKIT 2.0 not properly initialised in your code.";
constexpr char kOthers[] = "text of another add-on";

class VersionWarningTest : public CrewTest {
protected:
    // Steps in quarter seconds, which the clock sums exactly, until system time is t.
    std::string runTo(double t) {
        while (vapiGetSysTime() < t) {
            world().step(0.25);
        }
        EXPECT_EQ(vapiGetSysTime(), t);
        return world().debugText();
    }
    void putOthersText() { std::strcpy(world().debugBuffer(), kOthers); }
};

TEST_F(VersionWarningTest, FirstLineGivesTheVersionAndOnlyANonZeroOneIsKept) {
    const std::pair<const char*, float> cases[] = {
        {"2.0\n", 2.0f},
        {"  +2.5e0 beta\n", 2.5f},
        {"            7", 7.0f},
        {"             7", 0.0f}, // only 13 characters count
        {"\n2.0\n", 0.0f},
        {"v2.0", 0.0f},
        {"nan", 0.0f},
        {"1e400", HUGE_VALF},
        {"", 0.0f},
    };
    for (const auto& [content, version] : cases) {
        SCOPED_TRACE(content);
        cachedLibraryVersion = 0.0f;
        root.write("meshes/CKit/ver.dtf", content);
        EXPECT_EQ(GetCrewLibraryVersion(), version);
        EXPECT_EQ(cachedLibraryVersion, version);
    }
    cachedLibraryVersion = 0.0f;
    root.remove("meshes/CKit/ver.dtf");
    EXPECT_EQ(GetCrewLibraryVersion(), -1.0f);
    EXPECT_EQ(cachedLibraryVersion, 0.0f);
    // Through initialisation: an empty file is read again, a readable version only once.
    root.write("meshes/CKit/ver.dtf", "");
    EXPECT_EQ(add("A")->crew.libraryOutdated, 1);
    root.write("meshes/CKit/ver.dtf", "2.0\n");
    EXPECT_EQ(add("B")->crew.libraryOutdated, 0);
    root.write("meshes/CKit/ver.dtf", "1.9\n");
    Carrier* c = add("C");
    EXPECT_EQ(c->crew.libraryOutdated, 0);
    EXPECT_EQ(c->crew.warningUntil, 0.0);
}

TEST_F(VersionWarningTest, OutdatedSequenceRunsTwentySecondsThenClearsOnce) {
    for (const char* content : {"1.9\n", "", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(content == nullptr ? "no file" : content);
        if (content == nullptr) {
            root.remove("meshes/CKit/ver.dtf");
        } else {
            root.write("meshes/CKit/ver.dtf", content);
        }
        cachedLibraryVersion = 0.0f;
        const double start = vapiGetSysTime();
        putOthersText();
        Carrier* carrier = add("C" + std::to_string(static_cast<int>(start)));
        ASSERT_EQ(carrier->crew.libraryOutdated, 1);
        ASSERT_EQ(carrier->crew.warningUntil, start + 20.0);
        // The periods run on absolute system time; each round starts at a multiple of 30 s.
        EXPECT_EQ(runTo(start + 1.0), kDownload + "19)");
        EXPECT_EQ(runTo(start + 10.0), kOutdated + "10)");
        EXPECT_EQ(runTo(start + 14.75), kOutdated + "5)");
        EXPECT_EQ(runTo(start + 15.0), kOutdated + "5)") << "blinking from 5 s left";
        EXPECT_EQ(runTo(start + 15.75), "");
        EXPECT_EQ(runTo(start + 16.25), kOutdated + "4)");
        EXPECT_EQ(runTo(start + 20.0), kOutdated + "0)");
        EXPECT_EQ(runTo(start + 20.25), "") << "the passing step clears what it wrote";
        EXPECT_EQ(carrier->crew.warningUntil, -1.0);
        putOthersText();
        EXPECT_EQ(runTo(start + 30.0), kOthers);
        world().deleteVessel(world().findVessel(carrier->GetName()));
    }
}

TEST_F(VersionWarningTest, FailedReinitialisationWarnsWithTheEncouragingTexts) {
    Carrier* carrier = add("A");
    putOthersText();
    EXPECT_EQ(runTo(2.0), kOthers) << "a current library leaves the line alone";
    root.remove("modules/CKit.dll");
    ASSERT_EQ(carrier->crew.InitCrewManager(carrier->GetHandle()), -999);
    ASSERT_EQ(carrier->crew.readyFlags, CrewManager::kCrewReady);
    EXPECT_EQ(carrier->crew.libraryOutdated, 0);
    EXPECT_EQ(carrier->crew.warningUntil, 22.0);
    EXPECT_EQ(runTo(9.75), kDownload + "12)");
    EXPECT_EQ(runTo(10.0), kPush + "12)");
    EXPECT_EQ(runTo(17.0), kDontMiss + "5)");
    EXPECT_EQ(runTo(17.75), "");
    EXPECT_EQ(runTo(22.25), "");
    EXPECT_EQ(carrier->crew.warningUntil, -1.0);
}

TEST_F(VersionWarningTest, PhasesChangeExactlyAtTheirBoundaries) {
    struct Case {
        double now, until;
        int32_t outdated;
        std::string expected;
    };
    const Case cases[] = {
        // In order of time: the clock only goes forward.
        {2.75, 8.0, 0, kDownload + "5)"}, // 5.25 left: not yet blinking
        {3.0, 8.0, 0, kDontMiss + "5)"},  // exactly 5.0 left: blinking
        {3.0, 8.0, 1, kOutdated + "5)"},
        {3.5, 8.0, 1, kOutdated + "4)"}, // 4.5 shows as the even 4
        {3.75, 8.0, 0, ""},              // the last quarter of each second is blank
        {4.0, 4.0, 0, kDontMiss + "0)"}, // at the end itself: still shown
        {9.75, 30.0, 0, kDownload + "20)"},
        {10.0, 30.0, 0, kPush + "20)"}, // the last 5 s of each 15
        {10.0, 30.0, 1, kOutdated + "20)"},
        {10.0, 23.4999999, 0, kPush + "14)"}, // printed as single precision: 13.5
        {14.75, 30.0, 0, kPush + "15)"},
        {15.0, 30.0, 0, kDownload + "15)"}, // the next period begins
        {15.25, 15.1, 1, ""},               // passed: cleared whatever the phase
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "now " << c.now << ", until " << c.until);
        runTo(c.now);
        CrewManager crew{};
        crew.readyFlags = CrewManager::kCrewReady;
        crew.warningUntil = c.until;
        crew.libraryOutdated = c.outdated;
        putOthersText();
        crew.WarnUserIfOutdated("Halcyra Colony");
        EXPECT_EQ(world().debugText(), c.expected);
        EXPECT_EQ(crew.warningUntil, c.until < c.now ? -1.0 : c.until);
    }
}

TEST_F(VersionWarningTest, NotReadyShowsTheErrorLineOnEveryCallOverTheSequence) {
    root.remove("modules/CKit.dll");
    ASSERT_EQ(add("A", kInit)->initResult, -999);
    for (double t = 0.25; t <= 25.0; t += 0.25) {
        putOthersText();
        ASSERT_EQ(runTo(t), kNotReady) << "at " << t;
    }
    for (const uint32_t flags : {1u, 2u}) {
        CrewManager crew{};
        crew.readyFlags = flags;
        crew.warningUntil = vapiGetSysTime() - 1.0;
        putOthersText();
        crew.WarnUserIfOutdated("Halcyra Colony");
        EXPECT_EQ(world().debugText(), kNotReady) << flags;
        EXPECT_EQ(crew.warningUntil, vapiGetSysTime() - 1.0) << "the sequence is not run";
    }
    // Texts are cut to the debug line.
    runTo(30.0);
    const std::string name(300, 'n');
    CrewManager crew{};
    crew.WarnUserIfOutdated(name.c_str());
    EXPECT_EQ(std::string(world().debugText()), std::string(VAPI_DEBUG_STRING_SIZE - 1, 'n'));
    crew.readyFlags = CrewManager::kCrewReady;
    crew.warningUntil = 40.0;
    crew.WarnUserIfOutdated(name.c_str());
    EXPECT_EQ(std::string(world().debugText()), std::string(VAPI_DEBUG_STRING_SIZE - 1, 'n'));
}

} // namespace
} // namespace crewtest
