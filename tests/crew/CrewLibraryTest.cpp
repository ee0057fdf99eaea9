// What the crew manager reads of the crew library runtime: the identity files that fill the
// profession mesh table, and the version file with the warnings on the host's debug line.
#include <cmath>
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

TEST_F(CrewLibraryTest, IdentityFileNamesAreSplitIntoMeshProfessionAndKeyOrSkipped) {
    const std::string m18(18, 'm'), p30 = "abcdefghijklmnopqrstuvwxyz1234";
    const std::array<std::string, 2> cases[] = {
        {"ckitMED-doctor-Doc.cfg", "Doc ckit/ckitMED doctor"},
        {m18 + "-p-Doc.cfg", "Doc ckit/" + m18 + " p"},
        {"m-p-Do.cfg", "Do ckit/m p"},
        {"m-p-Doct.cfg", "Doct ckit/m p"},
        {"m-" + p30 + "-Doc.cfg", "Doc ckit/m " + p30.substr(0, 24)},
        {"m-dr.x-ab.c.cfg", "ab ckit/m dr.x"},
        {"m-p-a-b.cfg", "a-b ckit/m p"},
        {"--Doc.cfg", "Doc ckit/ "},
        {"m-" + std::string(250, 'p') + "-Doc.cfg", "Doc ckit/m " + std::string(24, 'p')},
    };
    std::vector<std::array<std::string, 2>> names(std::begin(cases), std::end(cases));
    for (const std::string& skipped :
         {std::string("readme.cfg"), std::string("ckitMED-doctor.cfg"),
          std::string("ckitMED-doctor-Doc"), std::string("m.x-doctor-Doc"), m18 + "m-p-Doc.cfg",
          std::string("m-p-D.cfg"), std::string("m-p-Docto.cfg"), "m-p-" + std::string(255, 'k'),
          std::string(259, '-')}) {
        names.push_back({skipped, ""});
    }
    for (const auto& [name, parts] : names) {
        char key[kProfessionKeySize], mesh[kProfessionTextSize], job[kProfessionTextSize];
        std::memset(key, 'X', sizeof key); // an unterminated output is read past its end
        std::memset(mesh, 'X', sizeof mesh);
        std::memset(job, 'X', sizeof job);
        const bool taken = ParseIdentityFileName(name.c_str(), key, mesh, job);
        EXPECT_EQ(taken ? std::string(key) + " " + mesh + " " + job : "", parts) << name;
    }
}

TEST_F(CrewLibraryTest, AcceptedIdentityFilesComeFirstThenTheBuiltinsWhileAtMostThirteen) {
    const std::string passenger = " ckit/ckit passenger\n";
    const std::string builtins =
        "Capt ckit/ckitp pilot\nAst ckit/ckit astronaut\nSec ckit/ckitSEC security\nVip "
        "ckit/ckitVIP vip\nSci ckit/ckitSCI scientist\nBio ckit/ckitSCI biologist\nDoc "
        "ckit/ckitMED doctor\nGeo ckit/ckitSCI geologist\nExo ckit/ckitSCI exobiologist\nClim "
        "ckit/ckitSCI climatologist\nAPhy ckit/ckitSCI astrophysicist\nChem ckit/ckitSCI "
        "chemist\nEng ckit/ckitTECH engineer\nMin ckit/ckitTECH miner\nTech ckit/ckitTECH "
        "technician\nSpe ckit/ckitTECH mission specialist\n";
    const int counts[][2] = {{13, 30}, {14, 15}, {300, 253}}; // files accepted, entries
    for (const auto& [files, entries] : counts) {
        for (int i = 0; i < files; ++i) { // with one skipped name after every accepted one
            root.write("config/CKITIdConfig/m" + std::to_string(i) + "-p-K" + std::to_string(i) +
                           ".cfg",
                       "");
            root.write("config/CKITIdConfig/m" + std::to_string(i) + "-p-" + ".cfg", "");
        }
        LoadCrewIdentityConfig();
        EXPECT_EQ(identityCount, entries);
        EXPECT_EQ(Entries(0, 1) + Entries(files + 1, identityCount),
                  passenger + (entries == 30 ? builtins : ""));
        EXPECT_EQ(Entries(identityCount, kProfessionCapacity).find_first_not_of(" \n"),
                  std::string::npos);
        std::filesystem::remove_all(root.path() / "config/CKITIdConfig");
        std::filesystem::create_directories(root.path() / "config/CKITIdConfig");
    }
    root.write("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    root.write("config/CKITIdConfig/ckitMED-doctor-Doc.txt", "");
    LoadCrewIdentityConfig();
    EXPECT_EQ(Entries(0, identityCount), passenger + "Capt ckit/ckitMED surgeon\n" + builtins);
    std::filesystem::remove_all(root.path() / "config");
    LoadCrewIdentityConfig();
    EXPECT_EQ(Entries(0, identityCount), passenger + builtins);
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
        {"2.0\n", 2.0f},   {"  +2.5e0 beta\n", 2.5f}, {"            7", 7.0f},
        {"\n2.0\n", 0.0f}, {"             7", 0.0f},  {"v2.0", 0.0f},
        {"nan", 0.0f},     {"1e400", HUGE_VALF},      {"", 0.0f},
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

TEST_F(VersionWarningTest, ErrorLineWhileNotReadyAndTheWholeSequenceAfterAFailedReset) {
    root.remove("modules/CKit.dll");
    ASSERT_EQ(add("A", kInit)->initResult, -999);
    for (double t = 0.25; t <= 25.0; t += 0.25) {
        putOthersText();
        ASSERT_EQ(runTo(t), kNotReady) << "at " << t;
    }
    world().deleteVessel(world().findVessel("A"));
    root.write("modules/CKit.dll", "");
    Carrier* carrier = add("B");
    putOthersText();
    EXPECT_EQ(runTo(30.0), kOthers) << "a current library leaves the line alone";
    root.remove("modules/CKit.dll");
    ASSERT_EQ(carrier->crew.InitCrewManager(carrier->GetHandle()), -999);
    EXPECT_EQ(carrier->crew.readyFlags, CrewManager::kCrewReady);
    EXPECT_EQ(carrier->crew.libraryOutdated + carrier->crew.warningUntil, 50.0);
    // Periods of absolute system time: the first 10 s of each 15, then 5 s of the other text.
    EXPECT_EQ(runTo(39.75), kDownload + "10)");
    EXPECT_EQ(runTo(40.0), kPush + "10)");
    EXPECT_EQ(runTo(44.75), kPush + "5)") << "5.25 s left";
    EXPECT_EQ(runTo(45.0), kDontMiss + "5)") << "blinking from 5 s left";
    EXPECT_EQ(runTo(45.75), "") << "the last quarter of each second is blank";
    EXPECT_EQ(runTo(50.0), kDontMiss + "0)");
    EXPECT_EQ(runTo(50.25), "") << "the passing step clears what it wrote";
    putOthersText();
    EXPECT_EQ(runTo(60.0), kOthers) << "and the sequence never runs again";
    CrewManager blank{}; // texts are cut to the debug line
    blank.WarnUserIfOutdated(std::string(300, 'n').c_str());
    EXPECT_EQ(std::string(world().debugText()), std::string(VAPI_DEBUG_STRING_SIZE - 1, 'n'));
}

} // namespace
} // namespace crewtest
