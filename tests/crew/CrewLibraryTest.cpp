// What the crew manager reads of the crew library runtime: the identity files that fill the
// profession mesh table, and the version file with the warnings on the host's debug line.
#include <algorithm>
#include <filesystem>

#include "crew/CrewVersion.h"
#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using CrewLibraryTest = CrewTest;

// Entries first to last as "key mesh profession" lines.
std::string Entries(int32_t first, int32_t last) {
    std::string out;
    for (int32_t i = first; i < last; ++i) {
        out += std::string(professionKeys[i]) + " " + professionMeshes[i] + " " +
               professionNames[i] + "\n";
    }
    return out;
}

TEST_F(CrewLibraryTest, IdentityFileNamesGiveEntriesBeforeTheBuiltinsWhileAtMostThirteen) {
    const std::string builtins =
        "Capt ckit/ckitp pilot\nAst ckit/ckit astronaut\nSec ckit/ckitSEC security\nVip "
        "ckit/ckitVIP vip\nSci ckit/ckitSCI scientist\nBio ckit/ckitSCI biologist\nDoc "
        "ckit/ckitMED doctor\nGeo ckit/ckitSCI geologist\nExo ckit/ckitSCI exobiologist\nClim "
        "ckit/ckitSCI climatologist\nAPhy ckit/ckitSCI astrophysicist\nChem ckit/ckitSCI "
        "chemist\nEng ckit/ckitTECH engineer\nMin ckit/ckitTECH miner\nTech ckit/ckitTECH "
        "technician\nSpe ckit/ckitTECH mission specialist\n";
    const std::string m18(18, 'm'), p30 = "abcdefghijklmnopqrstuvwxyz1234";
    for (const std::string& name :
         {std::string("ckitMED-surgeon-Capt.cfg"), m18 + "-p-Do.cfg", "m-" + p30 + "-Doct.cfg",
          m18 + "m-p-Doc.cfg", std::string("m-p-D.cfg"), std::string("m-p-Docto.cfg"),
          std::string("readme.cfg"), std::string("m-doctor.cfg"), std::string("m-d-Doc.txt")}) {
        root.write("config/CKITIdConfig/" + name, ""); // only the names count
    }
    LoadCrewIdentityConfig();
    std::vector<std::string> files = {Entries(1, 2), Entries(2, 3), Entries(3, 4)};
    std::sort(files.begin(), files.end()); // the search decides their order
    EXPECT_EQ(Entries(0, 1) + files[0] + files[1] + files[2] + Entries(4, identityCount),
              " ckit/ckit passenger\nCapt ckit/ckitMED surgeon\nDo ckit/" + m18 +
                  " p\nDoct ckit/m abcdefghijklmnopqrstuvwx\n" + builtins);
    const int counts[][2] = {{13, 30}, {14, 15}, {300, 253}}; // files accepted, entries
    for (const auto& [accepted, entries] : counts) {
        std::filesystem::remove_all(root.path() / "config/CKITIdConfig");
        std::filesystem::create_directories(root.path() / "config/CKITIdConfig");
        for (int i = 0; i < accepted; ++i) { // with one skipped name after every accepted one
            const std::string n = std::to_string(i);
            root.write("config/CKITIdConfig/m" + n + "-p-K" + n + ".cfg", "");
            root.write("config/CKITIdConfig/m" + n + "-p-.cfg", "");
        }
        LoadCrewIdentityConfig();
        EXPECT_EQ(identityCount, entries);
        EXPECT_EQ(Entries(accepted + 1, identityCount), entries == 30 ? builtins : "");
        EXPECT_EQ(Entries(identityCount, kProfessionCapacity).find_first_not_of(" \n"),
                  std::string::npos)
            << "entries past the count are zero";
    }
    std::filesystem::remove_all(root.path() / "config");
    LoadCrewIdentityConfig();
    EXPECT_EQ(Entries(0, identityCount), " ckit/ckit passenger\n" + builtins);
}

const std::string kDownload = std::string("Halcyra Colony require \"Crew Kit\" ver 2.0 or ") +
                              "higher. Download at " + kCrewLibraryDownloadAddress + " (";
const std::string kPush = "CKIT 2.0 will push this addon one step further. (";
const std::string kDontMiss = "Don't Miss Crew Kit 2.0 for Vantrix (CKIT) (";
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
        {"2.0\n", 2.0f},   {"  1.5e0 beta\n", 1.5f}, {"            7", 7.0f}, // 13 characters count
        {"\n2.0\n", 0.0f}, {"             7", 0.0f}, {"v2.0", 0.0f},          {"", 0.0f},
    };
    for (const auto& [content, version] : cases) {
        cachedLibraryVersion = 0.0f;
        root.write("meshes/CKit/ver.dtf", content);
        EXPECT_EQ(GetCrewLibraryVersion(), version) << content;
        EXPECT_EQ(cachedLibraryVersion, version) << content;
    }
    cachedLibraryVersion = 0.0f;
    root.remove("meshes/CKit/ver.dtf");
    EXPECT_EQ(GetCrewLibraryVersion(), -1.0f);
    EXPECT_EQ(cachedLibraryVersion, 0.0f);
    // Through initialisation: no file or an empty one arms the warning and is read again, a
    // readable version only once.
    EXPECT_EQ(add("N")->crew.libraryOutdated, 1);
    root.write("meshes/CKit/ver.dtf", "");
    EXPECT_EQ(add("A")->crew.libraryOutdated, 1);
    root.write("meshes/CKit/ver.dtf", "2.0\n");
    EXPECT_EQ(add("B")->crew.libraryOutdated, 0);
    root.write("meshes/CKit/ver.dtf", "1.9\n");
    Carrier* kept = add("C");
    EXPECT_EQ(kept->crew.libraryOutdated + kept->crew.warningUntil, 0.0) << "2.0 was kept";
}

TEST_F(VersionWarningTest, ErrorLineWhileNotReadyAndTheOtherTextsAfterAFailedReset) {
    root.remove("modules/CKit.dll");
    ASSERT_EQ(add("A", kInit)->initResult, -999);
    EXPECT_EQ(runTo(0.25), kNotReady);
    root.write("modules/CKit.dll", "");
    Carrier* carrier = add("B");
    putOthersText();
    EXPECT_EQ(runTo(30.0), kNotReady) << "while one crew manager is not ready";
    world().deleteVessel(world().findVessel("A"));
    putOthersText();
    EXPECT_EQ(runTo(30.25), kOthers) << "a current library leaves the line alone";
    root.remove("modules/CKit.dll");
    ASSERT_EQ(carrier->crew.InitCrewManager(carrier->GetHandle()), -999);
    EXPECT_EQ(carrier->crew.readyFlags, CrewManager::kCrewReady);
    EXPECT_EQ(carrier->crew.libraryOutdated + carrier->crew.warningUntil, 50.25);
    EXPECT_EQ(runTo(40.0), kPush + "10)") << "the last 5 s of each 15";
    EXPECT_EQ(runTo(45.25), kDontMiss + "5)") << "blinking from 5 s left";
    EXPECT_EQ(runTo(50.5), "");
    EXPECT_EQ(carrier->crew.warningUntil, -1.0);
}

} // namespace
} // namespace crewtest
