// The profession mesh table: how identity file names are split or skipped, and which entries
// the folder and the built-ins give, in which order, within the bounds of the scan.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using ProfessionTableTest = CrewTest;

// Entries first to last as "key mesh profession" lines; entries past the count must be zero.
std::string Entries(int32_t first, int32_t last) {
    std::string out;
    for (int32_t i = first; i < last; ++i) {
        out += std::string(professionKeys[i]) + " " + professionMeshes[i] + " " +
               professionNames[i] + "\n";
    }
    return out;
}

const char kBuiltins[] = "Capt ckit/ckitp pilot\nAst ckit/ckit astronaut\nSec ckit/ckitSEC "
                         "security\nVip ckit/ckitVIP vip\nSci ckit/ckitSCI scientist\nBio "
                         "ckit/ckitSCI biologist\nDoc ckit/ckitMED doctor\nGeo ckit/ckitSCI "
                         "geologist\nExo ckit/ckitSCI exobiologist\nClim ckit/ckitSCI "
                         "climatologist\nAPhy ckit/ckitSCI astrophysicist\nChem ckit/ckitSCI "
                         "chemist\nEng ckit/ckitTECH engineer\nMin ckit/ckitTECH miner\nTech "
                         "ckit/ckitTECH technician\nSpe ckit/ckitTECH mission specialist\n";

TEST_F(ProfessionTableTest, NamesAreSplitIntoMeshProfessionAndKeyOrSkipped) {
    const std::string m18(18, 'm'), p30 = "abcdefghijklmnopqrstuvwxyz1234";
    const std::string cases[][2] = {
        {"ckitMED-doctor-Doc.cfg", "Doc ckit/ckitMED doctor"},
        {"readme.cfg", ""},
        {"ckitMED-doctor.cfg", ""},
        {"ckitMED-doctor-Doc", ""},
        {"m.x-doctor-Doc", ""},
        {m18 + "-p-Doc.cfg", "Doc ckit/" + m18 + " p"},
        {m18 + "m-p-Doc.cfg", ""},
        {"m-p-D.cfg", ""},
        {"m-p-Do.cfg", "Do ckit/m p"},
        {"m-p-Doct.cfg", "Doct ckit/m p"},
        {"m-p-Docto.cfg", ""},
        {"m-" + p30 + "-Doc.cfg", "Doc ckit/m " + p30.substr(0, 24)},
        {"m-dr.x-ab.c.cfg", "ab ckit/m dr.x"},
        {"m-p-a-b.cfg", "a-b ckit/m p"},
        {"--Doc.cfg", "Doc ckit/ "},
        {"m-" + std::string(250, 'p') + "-Doc.cfg", "Doc ckit/m " + std::string(24, 'p')},
        {"m-p-" + std::string(255, 'k'), ""},
        {std::string(259, '-'), ""},
    };
    for (const auto& [name, parts] : cases) {
        SCOPED_TRACE(name);
        char key[kProfessionKeySize], mesh[kProfessionTextSize], job[kProfessionTextSize];
        std::memset(key, 'X', sizeof key);
        std::memset(mesh, 'X', sizeof mesh);
        std::memset(job, 'X', sizeof job);
        const bool taken = ParseIdentityFileName(name.c_str(), key, mesh, job);
        EXPECT_EQ(taken ? std::string(key) + " " + mesh + " " + job : "", parts);
    }
}

TEST_F(ProfessionTableTest, AcceptedFilesComeFirstThenTheBuiltinsWhileAtMostThirteen) {
    const auto declare = [&](int count, int skipped) {
        std::filesystem::remove_all(root.path() / "config/CKITIdConfig");
        std::filesystem::create_directories(root.path() / "config/CKITIdConfig");
        std::set<std::string> files;
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(100 + i);
            root.write("config/CKITIdConfig/m" + n + "-p" + n + "-K" + n + ".cfg", "");
            files.insert("K" + n + " ckit/m" + n + " p" + n + "\n");
        }
        for (int i = 0; i < skipped; ++i) {
            root.write("config/CKITIdConfig/skip" + std::to_string(i) + "-nokey.cfg", "");
        }
        root.write("config/CKITIdConfig/ckitMED-doctor-Doc.txt", "");
        LoadCrewIdentityConfig();
        std::set<std::string> taken;
        for (int32_t i = 1; i < std::min(identityCount, count + 1); ++i) {
            taken.insert(Entries(i, i + 1));
        }
        EXPECT_TRUE(std::includes(files.begin(), files.end(), taken.begin(), taken.end()));
        EXPECT_EQ(taken.size(), static_cast<std::size_t>(std::min(count, 252)));
        EXPECT_EQ(Entries(identityCount, kProfessionCapacity).find_first_not_of(" \n"),
                  std::string::npos)
            << "entries past the count are not all zero";
        return Entries(0, 1) + "..." + Entries(std::min(identityCount, count + 1), identityCount);
    };
    const std::string passenger = " ckit/ckit passenger\n...";
    EXPECT_EQ(declare(0, 0), passenger + kBuiltins);
    EXPECT_EQ(identityCount, 17);
    EXPECT_EQ(declare(13, 5), passenger + kBuiltins);
    EXPECT_EQ(identityCount, 30);
    EXPECT_EQ(declare(14, 3), passenger);
    EXPECT_EQ(identityCount, 15);
    EXPECT_EQ(declare(300, 6), passenger);
    EXPECT_EQ(identityCount, kIdentityScanLimit);

    declare(0, 0);
    root.write("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    LoadCrewIdentityConfig();
    EXPECT_EQ(Entries(0, identityCount),
              std::string(" ckit/ckit passenger\nCapt ckit/ckitMED surgeon\n") + kBuiltins);
    std::filesystem::remove_all(root.path() / "config");
    LoadCrewIdentityConfig();
    EXPECT_EQ(Entries(0, identityCount), std::string(" ckit/ckit passenger\n") + kBuiltins);
}

} // namespace
} // namespace crewtest
