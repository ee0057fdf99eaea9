// The profession mesh table: how identity file names are split or skipped, which entries the
// folder and the built-ins give, in which order, and the bounds of the scan.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

struct Entry {
    std::string key, mesh, profession;
    auto operator<=>(const Entry&) const = default;
};
void PrintTo(const Entry& e, std::ostream* os) {
    *os << '{' << e.key << ", " << e.mesh << ", " << e.profession << '}';
}

Entry EntryAt(int32_t index) {
    return {professionKeys[index], professionMeshes[index], professionNames[index]};
}

bool EntryIsZero(int32_t index) {
    const auto zero = [](const char* text, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] != '\0') {
                return false;
            }
        }
        return true;
    };
    return zero(professionKeys[index], kProfessionKeySize) &&
           zero(professionMeshes[index], kProfessionTextSize) &&
           zero(professionNames[index], kProfessionTextSize);
}

const std::vector<Entry> kBuiltinEntries = {
    {"Capt", "ckit/ckitp", "pilot"},
    {"Ast", "ckit/ckit", "astronaut"},
    {"Sec", "ckit/ckitSEC", "security"},
    {"Vip", "ckit/ckitVIP", "vip"},
    {"Sci", "ckit/ckitSCI", "scientist"},
    {"Bio", "ckit/ckitSCI", "biologist"},
    {"Doc", "ckit/ckitMED", "doctor"},
    {"Geo", "ckit/ckitSCI", "geologist"},
    {"Exo", "ckit/ckitSCI", "exobiologist"},
    {"Clim", "ckit/ckitSCI", "climatologist"},
    {"APhy", "ckit/ckitSCI", "astrophysicist"},
    {"Chem", "ckit/ckitSCI", "chemist"},
    {"Eng", "ckit/ckitTECH", "engineer"},
    {"Min", "ckit/ckitTECH", "miner"},
    {"Tech", "ckit/ckitTECH", "technician"},
    {"Spe", "ckit/ckitTECH", "mission specialist"},
};
const Entry kPassenger = {"", "ckit/ckit", "passenger"};

class ProfessionTableTest : public CrewTest {
protected:
    void declare(const std::string& name) const { writeFile("config/CKITIdConfig/" + name, ""); }
    // Every entry from `first` up to identityCount.
    static std::vector<Entry> entriesFrom(int32_t first) {
        std::vector<Entry> entries;
        for (int32_t i = first; i < identityCount; ++i) {
            entries.push_back(EntryAt(i));
        }
        return entries;
    }
    static void expectZeroBeyondCount() {
        for (int32_t i = identityCount; i < kProfessionCapacity; ++i) {
            ASSERT_TRUE(EntryIsZero(i)) << "entry " << i << " of " << identityCount;
        }
    }
};

struct NameCase {
    std::string name;
    bool accepted;
    Entry parts; // when accepted
};

TEST_F(ProfessionTableTest, NamesAreSplitIntoMeshProfessionAndKeyOrSkipped) {
    const std::string mesh18(18, 'm');
    const std::string profession30 = "abcdefghijklmnopqrstuvwxyz1234";
    const std::vector<NameCase> cases = {
        {"ckitMED-doctor-Doc.cfg", true, {"Doc", "ckit/ckitMED", "doctor"}},
        {"readme.cfg", false, {}},
        {"ckitMED-doctor.cfg", false, {}},
        {"ckitMED-doctor-Doc", false, {}},
        {"m.x-doctor-Doc", false, {}}, // its dots are all before the second dash
        {"m-dr.x-Doc", false, {}},
        {mesh18 + "-p-Doc.cfg", true, {"Doc", "ckit/" + mesh18, "p"}},
        {mesh18 + "m-p-Doc.cfg", false, {}},
        {"m-p-.cfg", false, {}},
        {"m-p-D.cfg", false, {}},
        {"m-p-Do.cfg", true, {"Do", "ckit/m", "p"}},
        {"m-p-Doct.cfg", true, {"Doct", "ckit/m", "p"}},
        {"m-p-Docto.cfg", false, {}},
        {"m-" + profession30 + "-Doc.cfg", true, {"Doc", "ckit/m", profession30.substr(0, 24)}},
        {"m-dr.x-ab.c.cfg", true, {"ab", "ckit/m", "dr.x"}},
        {"m-p-a-b.cfg", true, {"a-b", "ckit/m", "p"}},
        {"--Doc.cfg", true, {"Doc", "ckit/", ""}},
        {"", false, {}},
        // As long as a folder search gives them.
        {"m-" + std::string(250, 'p') + "-Doc.cfg", true, {"Doc", "ckit/m", std::string(24, 'p')}},
        {"m-p-Doc." + std::string(251, 'x'), true, {"Doc", "ckit/m", "p"}},
        {std::string(251, 'm') + "-p-Doc.cfg", false, {}},
        {"m-p-" + std::string(255, 'k'), false, {}},
        {std::string(259, '-'), false, {}},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly as long as the name, so any read past its end is caught.
        std::vector<char> name(c.name.begin(), c.name.end());
        name.push_back('\0');
        char key[kProfessionKeySize];
        char mesh[kProfessionTextSize];
        char profession[kProfessionTextSize];
        std::memset(key, 'X', sizeof key);
        std::memset(mesh, 'X', sizeof mesh);
        std::memset(profession, 'X', sizeof profession);
        ASSERT_EQ(ParseIdentityFileName(name.data(), key, mesh, profession), c.accepted);
        if (c.accepted) {
            ASSERT_LT(strnlen(key, sizeof key), sizeof key);
            ASSERT_LT(strnlen(mesh, sizeof mesh), sizeof mesh);
            ASSERT_LT(strnlen(profession, sizeof profession), sizeof profession);
            EXPECT_EQ((Entry{key, mesh, profession}), c.parts);
        }
    }
    char key[kProfessionKeySize];
    char mesh[kProfessionTextSize];
    char profession[kProfessionTextSize];
    EXPECT_FALSE(ParseIdentityFileName(nullptr, key, mesh, profession));
}

TEST_F(ProfessionTableTest, WithoutFolderOrFilesTheTableIsPassengerAndTheBuiltins) {
    for (const bool withFolder : {false, true}) {
        SCOPED_TRACE(withFolder ? "empty folder" : "no folder");
        if (!withFolder) {
            std::filesystem::remove_all(root / "config/CKITIdConfig");
        } else {
            std::filesystem::create_directories(root / "config/CKITIdConfig");
            declare("notes.txt");
            declare("ckitMED-doctor-Doc.txt");
        }
        LoadCrewIdentityConfig();
        ASSERT_EQ(identityCount, 17);
        EXPECT_EQ(EntryAt(0), kPassenger);
        EXPECT_EQ(entriesFrom(1), kBuiltinEntries);
        expectZeroBeyondCount();
    }
}

TEST_F(ProfessionTableTest, AcceptedFilesComeBeforeTheBuiltinsAndOverrideTheirKeys) {
    declare("ckitMED-surgeon-Capt.cfg");
    declare("readme.cfg");
    declare("a-b.cfg");
    LoadCrewIdentityConfig();
    ASSERT_EQ(identityCount, 18);
    EXPECT_EQ(EntryAt(0), kPassenger);
    EXPECT_EQ(EntryAt(1), (Entry{"Capt", "ckit/ckitMED", "surgeon"}));
    EXPECT_EQ(entriesFrom(2), kBuiltinEntries);
}

TEST_F(ProfessionTableTest, BuiltinsAreAddedOnlyWhileAtMostThirteenFilesAreAccepted) {
    struct Case {
        int accepted, skipped;
        int32_t count;
    };
    for (const Case c : {Case{13, 5, 30}, Case{14, 0, 15}, Case{14, 3, 15}}) {
        SCOPED_TRACE(testing::Message() << c.accepted << " accepted, " << c.skipped << " skipped");
        std::filesystem::remove_all(root / "config/CKITIdConfig");
        std::filesystem::create_directories(root / "config/CKITIdConfig");
        std::set<Entry> files;
        for (int i = 0; i < c.accepted; ++i) {
            const std::string n = std::to_string(10 + i);
            declare("ckit" + n + "-trade" + n + "-K" + n + ".cfg");
            files.insert({"K" + n, "ckit/ckit" + n, "trade" + n});
        }
        for (int i = 0; i < c.skipped; ++i) {
            declare("skip" + std::to_string(i) + "-nokey.cfg");
        }
        LoadCrewIdentityConfig();
        ASSERT_EQ(identityCount, c.count);
        const std::vector<Entry> all = entriesFrom(0);
        EXPECT_EQ(std::set<Entry>(all.begin() + 1, all.begin() + 1 + c.accepted), files);
        const std::vector<Entry> rest(all.begin() + 1 + c.accepted, all.end());
        EXPECT_EQ(rest, c.count == 30 ? kBuiltinEntries : std::vector<Entry>{});
        expectZeroBeyondCount();
    }
}

TEST_F(ProfessionTableTest, ScanStopsWhenTheTableHoldsTwoHundredFiftyThreeEntries) {
    std::set<Entry> files;
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(100 + i);
        declare("m" + n + "-p" + n + "-K" + n + ".cfg");
        files.insert({"K" + n, "ckit/m" + n, "p" + n});
        if (i % 50 == 0) {
            declare("broken" + n + ".cfg"); // skipped on the way, not counted
        }
    }
    LoadCrewIdentityConfig();
    ASSERT_EQ(identityCount, kIdentityScanLimit);
    EXPECT_EQ(EntryAt(0), kPassenger);
    const std::vector<Entry> taken = entriesFrom(1);
    const std::set<Entry> distinct(taken.begin(), taken.end());
    EXPECT_EQ(distinct.size(), 252u);
    EXPECT_TRUE(std::includes(files.begin(), files.end(), distinct.begin(), distinct.end()));
    expectZeroBeyondCount();
}

TEST_F(ProfessionTableTest, OnlyTheFirstSuccessfulInitialisationLoadsTheTable) {
    removeFile("modules/CKit.dll");
    carrierHooks().setClassCaps = [](Carrier& c) {
        c.initResult = c.crew.InitCrewManager(c.GetHandle());
    };
    Carrier* failed = addCarrier("Failed");
    carrierHooks() = CarrierHooks{};
    ASSERT_NE(failed, nullptr);
    ASSERT_EQ(failed->initResult, -999);
    EXPECT_EQ(identityCount, 0) << "a failed initialisation does not get that far";
    EXPECT_TRUE(EntryIsZero(0));

    writeFile("modules/CKit.dll", "");
    declare("ckitMED-surgeon-Capt.cfg");
    addReadyCarrier("First");
    ASSERT_EQ(identityCount, 18);
    declare("ckitSEC-guard-Grd.cfg");
    addReadyCarrier("Second");
    EXPECT_EQ(identityCount, 18) << "later files are not seen";
    EXPECT_EQ(EntryAt(1), (Entry{"Capt", "ckit/ckitMED", "surgeon"}));
}

} // namespace
} // namespace crewtest
