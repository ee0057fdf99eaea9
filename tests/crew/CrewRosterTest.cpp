// The roster and the crew point it publishes: set-up, every refusal and query, what is stored
// for what is given, removal order, the vessel's mass following the crew, the scenario lines;
// and what is read of the crew library runtime: identity file names and the version file.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "crew/CrewLink.h"
#include "crew/CrewVersion.h"
#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using CrewRosterTest = CrewTest;

TEST_F(CrewRosterTest, EveryCallRefusesUntilReadyAndRefusalsChangeNothing) {
    // What the crew manager answers to each call that must leave a ready roster alone; then,
    // unless ready, to the calls that would change it.
    const auto answers = [](CrewManager& c) {
        const char* forty = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
        std::string out = R(c.AddCrewMember(nullptr, 30, 70, 60, nullptr)) +
                          R(c.RemoveCrewMember(nullptr)) + R(c.RemoveCrewMember("Nobody")) +
                          R(c.RemoveCrewMember(forty)) + R(c.GetCrewCount()) + R(c.SetMaxSeats(1)) +
                          R(c.SetMaxSeats(0)) + R(c.SetMaxSeats(101)) + R(c.SetEvaMesh(nullptr)) +
                          R(c.SetAirlockState(2)) + R(c.GetAirlockState()) + "| ";
        for (const int32_t slot : {-1, 0, 1, 2}) {
            out += R(c.SetCrewPulseBySlot(slot < 0 ? -1 : 2, 60)) + R(c.GetCrewAgeBySlot(slot)) +
                   R(c.GetCrewNameBySlot(slot)) + R(c.GetCrewMiscIdBySlot(slot));
        }
        out += "| " + R(c.GetCrewAgeByName("")) + R(c.GetCrewAgeByName("aNN")) +
               R(c.GetCrewAgeByName("\xc1nn")) + R(c.GetCrewMiscIdByName(nullptr)) +
               R(c.GetCrewMiscIdByName("ann")) + R(c.GetCrewMiscIdByName("BOB")) +
               R(c.GetCrewMiscIdByName("Nobody")) + R(c.GetCrewMiscIdByName(forty)) + "| ";
        out += R(c.DefineAirlockShape(1, 3, -3, -4, 4, -7, 7)) +
               R(c.DefineAirlockShape(1, -3, 3, 4, -4, -7, 7)) +
               R(c.DefineAirlockShape(1, -3, 3, -4, 4, 7, -7)) +
               R(c.DefineAirlockShape(2, -1, 1, -1, 1, -1, 1)) +
               R(c.DefineAirlockShape(~0u, -1, 1, -1, 1, -1, 1)) + R(c.EvaCrewMember(nullptr)) +
               R(c.EvaCrewMember("Nobody")) + R(c.SaveCrewState(nullptr)) + R(c.ProcessArrivals()) +
               R(c.GetLastLeftName()) + R(c.GetLastArrivedName());
        if (c.IsReady()) {
            return out;
        }
        return out + "| " + R(c.AddCrewMember("Cid", 30, 70, 60, nullptr)) +
               R(c.RemoveCrewMember("Ann")) + R(c.SetMaxSeats(4)) + R(c.SetEvaMesh("mmu")) +
               R(c.SetMembersPosRotOffset({1, 2, 3}, {0, 0, 1})) + R(c.SetAirlockState(0)) +
               R(c.SetCrewPulseBySlot(0, 60)) + R(c.EvaCrewMember("Ann")) +
               R(c.ParseCrewScenarioLine("CKITCREW Doc-Eve-30-70-74"));
    };
    const std::string notReady = "0 0 0 0 0 0 0 0 0 -1 -1 | -1 -1 '' '' -1 -1 '' '' -1 -1 '' '' -1 "
                                 "-1 '' '' | -1 -1 -1 null null null null null | 0 0 0 0 0 -6 -6 "
                                 "0 -1 '' '' | 0 0 0 0 0 -1 -1 -6 0 ";
    const std::string ready =
        "0 0 0 0 2 0 0 0 0 1 1 | -1 -1 '' '' -1 30 'Ann' 'Doc' -1 40 'Bob' '' "
        "-1 -1 '' '' | -1 30 -1 null 'Doc' '' '' '' | 0 0 0 0 0 -4 -4 0 0 '' '' ";
    for (const int setup : {kBlank, kInit, kReady}) {
        Carrier* carrier = add("S" + std::to_string(setup), setup);
        EXPECT_EQ(point(*carrier)[8], setup == kReady ? 8 : 0) << "seats come with the airlock";
        if (setup == kReady) {
            ASSERT_EQ(carrier->crew.SetMaxSeats(3), 1);
            ASSERT_EQ(carrier->crew.AddCrewMember("Ann", 30, 70, 60, "Doc"), 1);
            ASSERT_EQ(carrier->crew.AddCrewMember("Bob", 40, 80, 80, nullptr), 1);
        }
        const std::string before = snapshot(*carrier);
        EXPECT_EQ(answers(carrier->crew), setup == kReady ? ready : notReady) << setup;
        EXPECT_EQ(snapshot(*carrier), before) << setup;
        EXPECT_EQ(carrier->AttachmentCount(false), setup == kReady ? 1u : 0u);
    }
    EXPECT_EQ(add("Late", kBlank)->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    Carrier* full = add("Full");
    ASSERT_EQ(full->crew.SetMaxSeats(1), 1);
    ASSERT_EQ(full->crew.AddCrewMember("Ann", 30, 70, 60, nullptr), 1);
    const std::string before = snapshot(*full);
    EXPECT_EQ(full->crew.AddCrewMember("Bob", 30, 70, 60, nullptr), 0);
    EXPECT_EQ(snapshot(*full), before);
}

TEST_F(CrewRosterTest, EachBoundInitialisationTakesTheNextRecordAndOnlyTheFirstLoadsIdentities) {
    root.remove("modules/CKit.dll");
    EXPECT_EQ(add("Failed", kInit)->initResult, -999);
    EXPECT_EQ(R(crewLinkCounter) + R(identityCount), "0 0 ") << "no record taken, nothing loaded";
    root.write("modules/CKit.dll", "");
    root.write("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    Carrier* a = add("A", kInit);
    const CrewManager& c = a->crew;
    CrewLinkRecord& link = c.Link();
    std::ostringstream values; // streamed, so that the calls run in order
    values << a->initResult << c.readyFlags << c.airlockStateCopy << ' ' << c.evaExitPosition.x
           << c.evaExitPosition.y << c.evaExitPosition.z << c.evaExitRotation.x
           << c.evaExitRotation.y << c.evaExitRotation.z << ' ' << c.linkIndex << link.arrivalWeight
           << ' ' << (link.vessel == a) << (c.vesselHandle == a->GetHandle()) << identityCount
           << ' ' << link.LinkSetAirlockState(0) << link.LinkSetAirlockState(1)
           << link.LinkSetFreeSeats(5) << link.LinkSetAuxiliaryCount(7)
           << link.LinkGetAirlockState() << link.LinkReadDockedFreeSeats(0)
           << link.LinkSetDeleteOnDetect(0) << link.deleteOnDetect << ' '
           << link.LinkDefineAirlock(0, -3, 3, -4, 4, -7, 7) << link.LinkSetAirlockState(5)
           << link.LinkSetAirlockState(1) << link.LinkGetAirlockState()
           << link.LinkSetDeleteOnDetect(0) << link.deleteOnDetect;
    // Before the airlock, only setting the state stored already succeeds, and nothing is kept.
    EXPECT_EQ(values.str(), "111 003000 060 1118 1-1-1-1-1-1-11 1-11110");
    EXPECT_EQ(point(*a), (Numbers{-3, 3, -4, 4, -7, 7, 1, 1000, 1000}));
    root.write("config/CKITIdConfig/ckitSEC-guard-Grd.cfg", "");
    Carrier* b = add("B");
    EXPECT_EQ(R(b->crew.linkIndex) + R(identityCount), "1 18 ") << "only the first loads them";
    EXPECT_EQ(R(b->crew.InitCrewManager(nullptr)) +
                  R(CrewManager{}.InitCrewManager(&world().body())),
              "-1 -1 ")
        << "a null handle, or one without a vessel interface";
    EXPECT_NE(b->crew.Link().pollTimer, link.pollTimer) << "vessels poll out of step";
    // Records are never handed back; one beyond the table is refused and touches no record.
    Carrier* last = nullptr;
    for (int i = 2; i < kCrewLinkCount; ++i) {
        last = add("C" + std::to_string(i));
    }
    ASSERT_EQ(last->crew.AddCrewMember("Last", 30, 70, 60, nullptr), 1);
    const std::string before = snapshot(*last);
    EXPECT_EQ(add("Extra", kInit)->initResult, -1);
    EXPECT_EQ(R(static_cast<int32_t>(vessel("Extra")->AttachmentCount(false))) + R(crewLinkCounter),
              "0 100 ");
    EXPECT_EQ(snapshot(*last), before);
}

TEST_F(CrewRosterTest, AddedMembersAreCleanedClampedAndWeighedAndRepublished) {
    const struct {
        const char *name, *tag;
        int32_t age, pulse, weight;
        const char* stored;
    } cases[] = {
        {"Deck-Hand K'Tor", "Captain", 0, 500, 2, "Deck Hand K Tor|Capt|1|180|5"},
        {"Abcdefghijklmnopqrstuvwxyz1234", "Eng", 200, -5, 1000,
         "Abcdefghijklmnopqrstuvwxy|Eng|140|0|300"},
        {"Zo\xc3\xab \xff!", "\xc3\xa9t", 140, 180, 300, "Zo     |\xc3\xa9t|140|180|300"},
        {"@AZ[`az{/09:", "", 141, 181, 301, " AZ  az  09 ||140|180|300"},
        {"B", "Ab c", 1, 1, 4, "B|Ab c|1|1|5"},
        {"", nullptr, 40, 60, 70, "||40|60|70"},
    };
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    double mass = kMass;
    for (int32_t slot = 0; slot < 6; ++slot) {
        const auto& c = cases[slot];
        ASSERT_EQ(crew.AddCrewMember(c.name, c.age, c.pulse, c.weight, c.tag), 1);
        EXPECT_EQ(Member(crew.roster[slot]), c.stored);
        mass += crew.roster[slot].weight;
        EXPECT_EQ(carrier->GetEmptyMass(), mass) << c.stored;
        EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 1, 0, 99.0 - slot})) << c.stored;
    }
    EXPECT_EQ(crew.crewMass, mass - kMass);
    // A later definition moves the one point, a flat box as its single precision values.
    ASSERT_EQ(crew.DefineAirlockShape(0, 0.1f, 0.1f, -0.3f, -0.3f, 1e-7f, 1e-7f), 1);
    EXPECT_EQ(point(*carrier), (Numbers{0.1f, 0.1f, -0.3f, -0.3f, 1e-7f, 1e-7f, 0, 0, 94}));
    EXPECT_EQ(R(static_cast<int32_t>(carrier->AttachmentCount(false))) + R(crew.GetAirlockState()),
              "1 0 ");
}

TEST_F(CrewRosterTest, RemovalMovesTheLastMemberIntoTheGapAndTheMassFollows) {
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    for (const char* name : {"Governer Vasko", "Ann", "Cid", "Bob"}) {
        ASSERT_EQ(crew.AddCrewMember(name, 30, 70, 60, nullptr), 1);
    }
    ASSERT_EQ(crew.AddCrewMember("Cid", 31, 71, 74, "Two"), 1);
    const auto names = [&crew] {
        std::string all; // one slot past the roster too
        for (int32_t slot = 0; slot <= crew.GetCrewCount(); ++slot) {
            all += R(crew.GetCrewNameBySlot(slot)) + R(crew.GetCrewMiscIdBySlot(slot));
        }
        return all + R(static_cast<int32_t>(point(*vessel("A"))[8])) +
               R(static_cast<int32_t>(vessel("A")->GetEmptyMass()));
    };
    EXPECT_EQ(crew.RemoveCrewMember("ANN"), 1);
    EXPECT_EQ(names(), "'Governer Vasko' '' 'Cid' 'Two' 'Cid' '' 'Bob' '' '' '' 4 1254 ");
    EXPECT_EQ(crew.GetCrewAgeBySlot(1), 31);
    EXPECT_EQ(crew.RemoveCrewMember("cid"), 1) << "the lower slot of two namesakes goes";
    EXPECT_EQ(names(), "'Governer Vasko' '' 'Bob' '' 'Cid' '' '' '' 5 1180 ");
    carrier->SetEmptyMass(600); // the structure changed: the crew's share stays on top of it
    EXPECT_EQ(crew.RemoveCrewMember("governer vasko"), 1);
    EXPECT_EQ(crew.RemoveCrewMember("Bob"), 1) << "the last slot is simply dropped";
    EXPECT_EQ(names(), "'Cid' '' '' '' 7 480 ");
    std::ostringstream seatsAndPulse; // in order
    seatsAndPulse << crew.SetMaxSeats(1) << point(*carrier)[8] << crew.SetCrewPulseBySlot(0, 150)
                  << crew.roster[0].pulse << crew.SetCrewPulseBySlot(0, -3) << crew.roster[0].pulse;
    EXPECT_EQ(seatsAndPulse.str(), "10113010") << "pulses set later are capped at 130";
}

TEST_F(CrewRosterTest, FirstScenarioLineReplacesTheRosterThenCrewLinesAreReadOrRefusedWhole) {
    const std::array<std::string, 2> cases[] = {
        {"CKITCREW Capt-Governer_Vasko-41-65-74", "Governer Vasko|Capt|41|65|74"},
        {"CKITCREW -Olef_Brandt-19-70-45", "Olef Brandt||19|70|45"},
        {"CKITCREW Captain-Olef_Brandt-19-70-45", "Olef Brandt|Capt|19|70|45"},
        {"ckitcrew Doc-Ann-1-1-5", "Ann|Doc|1|1|5"},
        {"CKITCREW \t Doc-Ann-140-180-300   trailing words", "Ann|Doc|140|180|300"},
        {"CKITCREW Doc-Ann-000030-70-000074", "Ann|Doc|3|70|7"},
        {"CKITCREW Eng-" + std::string(30, 'N') + "-30-70-80",
         std::string(25, 'N') + "|Eng|30|70|80"},
        {"CKITCREW A-B-30-70-74-80", "B|A|30|70|74"},
        {"CKITCREW Doc-Ann-30-70-74-" + std::string(5000, 'x'), "Ann|Doc|30|70|74"},
        {"CKITCREW Doc-" + std::string(1000, 'N') + "-30-70-74", ""},
    };
    std::vector<std::array<std::string, 2>> lines(std::begin(cases), std::end(cases));
    for (const char* refused :
         {"CKITCREW Doc-Ann-0-70-74", "CKITCREW Doc-Ann-141-70-74", "CKITCREW Doc-Ann-30-0-74",
          "CKITCREW Doc-Ann-30-181-74", "CKITCREW Doc-Ann-30-70-4", "CKITCREW Doc-Ann-30-70-301",
          "CKITCREW Doc-Ann-30-70", "CKITCREW DocAnn3070", "CKITCREW Doc--30-70-74",
          "CKITCREW A-B-Ann-30-70-74", "CKITCRE Doc-Ann-30-70-74", ""}) {
        lines.push_back({refused, ""});
    }
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    ASSERT_EQ(crew.ParseCrewScenarioLine(nullptr), 0) << "no line, so not the first";
    ASSERT_EQ(crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt"), 1);
    carrier->SetEmptyMass(1500); // the structure changed since the member came aboard
    EXPECT_EQ(crew.ParseCrewScenarioLine("STATUS Landed Earth"), 0);
    EXPECT_EQ(R(crew.crewCount) + R(crew.loadedLineCount), "0 0 ");
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 1, 0, 100}));
    double mass = 1500 - 74;
    for (const auto& [line, stored] : lines) {
        const int32_t count = crew.crewCount;
        EXPECT_EQ(crew.ParseCrewScenarioLine(line.c_str()), stored.empty() ? 0 : 1);
        const CrewRecord zero{};
        EXPECT_EQ(crew.crewCount > count ? Member(crew.roster[count]) : "", stored) << line;
        EXPECT_TRUE(!stored.empty() || std::memcmp(&crew.roster[count], &zero, sizeof zero) == 0);
        mass += crew.roster[count].weight; // the roster is only ever wiped once
        EXPECT_EQ(carrier->GetEmptyMass(), mass) << line.substr(0, 60);
        EXPECT_EQ(point(*carrier)[8], 100 - crew.crewCount);
    }
    EXPECT_EQ(crew.loadedLineCount, crew.crewCount);
    ASSERT_EQ(crew.SetMaxSeats(crew.crewCount), 1);
    EXPECT_EQ(crew.ParseCrewScenarioLine("CKITCREW -Bob-19-70-45"), 0) << "beyond the seats";
    Carrier* fresh = add("B"); // nothing republished since its set-up but the first line
    ASSERT_EQ(fresh->crew.ParseCrewScenarioLine(""), 0);
    EXPECT_EQ(point(*fresh), (Numbers{-3, 3, -4, 4, -7, 7, 1, 0, 8}));
}

TEST_F(CrewRosterTest, IdentityFileNamesGiveEntriesBeforeTheBuiltinsWhileAtMostThirteen) {
    // Entries first to last as "key mesh profession" lines.
    const auto table = [](int32_t first, int32_t last) {
        std::string out;
        for (int32_t i = first; i < last; ++i) {
            out += std::string(professionKeys[i]) + " " + professionMeshes[i] + " " +
                   professionNames[i] + "\n";
        }
        return out;
    };
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
    std::vector<std::string> files = {table(1, 2), table(2, 3), table(3, 4)};
    std::sort(files.begin(), files.end()); // the search decides their order
    EXPECT_EQ(table(0, 1) + files[0] + files[1] + files[2] + table(4, identityCount),
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
        EXPECT_EQ(table(accepted + 1, identityCount), entries == 30 ? builtins : "");
        EXPECT_EQ(table(identityCount, kProfessionCapacity).find_first_not_of(" \n"),
                  std::string::npos)
            << "entries past the count are zero";
    }
    std::filesystem::remove_all(root.path() / "config");
    LoadCrewIdentityConfig();
    EXPECT_EQ(table(0, identityCount), " ckit/ckit passenger\n" + builtins);
    char key[kProfessionKeySize] = "x", mesh[kProfessionTextSize] = "x",
         profession[kProfessionTextSize] = "x";
    EXPECT_FALSE(ParseIdentityFileName(nullptr, key, mesh, profession));
    EXPECT_EQ(std::string(key) + mesh + profession, "") << "no name leaves every output empty";
}

TEST_F(CrewRosterTest, FirstLineOfTheVersionFileGivesTheVersionAndOnlyANonZeroOneIsKept) {
    const std::pair<const char*, float> cases[] = {
        {"2.0\n", 2.0f},
        {"  1.5e0 beta\n", 1.5f},
        {"            7", 7.0f}, // 13 characters count
        {"\n2.0\n", 0.0f},
        {"             7", 0.0f},
        {"v2.0", 0.0f},
        {"", 0.0f},
        {nullptr, -1.0f},
        {"inf", 0.0f}, // a decimal number only, whatever else a text-to-double conversion takes
        {"0x2", 0.0f},
        {"nan", 0.0f},
        {"  +2.5e0xyz", 2.5f},
        {"2.", 2.0f},
        {".5", 0.5f},
        {"1e", 1.0f},
        {"-", 0.0f},
        {"1E+1", 10.0f},
        {".e1", 0.0f},
    };
    for (const auto& [content, version] : cases) { // null: no file at all
        cachedLibraryVersion = 0.0f;
        content != nullptr ? root.write("meshes/CKit/ver.dtf", content)
                           : root.remove("meshes/CKit/ver.dtf");
        EXPECT_EQ(GetCrewLibraryVersion(), version) << (content != nullptr ? content : "none");
        EXPECT_EQ(cachedLibraryVersion, std::max(version, 0.0f)) << "a version of 0 is not kept";
    }
    root.write("meshes/CKit/ver.dtf", ""); // arms the warning, and is read again
    EXPECT_EQ(add("A")->crew.libraryOutdated, 1);
    root.write("meshes/CKit/ver.dtf", "2.0\n");
    EXPECT_EQ(add("B")->crew.libraryOutdated, 0);
    root.write("meshes/CKit/ver.dtf", "1.9\n");
    EXPECT_EQ(add("C")->crew.warningUntil, 0.0) << "2.0 was kept";
}

TEST_F(CrewRosterTest, VersionWarningShowsTheErrorLineWhileNotReadyAndRunsOnceAfterAFailedReset) {
    const std::string kPush = "CKIT 2.0 will push this addon one step further. (";
    const std::string kDontMiss = "Don't Miss Crew Kit 2.0 for Vantrix (CKIT) (";
    const std::string kNotReady =
        "Halcyra Colony ERROR CKIT 2.0 not properly initialised in your code.";
    const char* const kOthers = "text of another add-on";
    const auto runTo = [this](double t) { // in quarter seconds, which the clock sums exactly
        while (vapiGetSysTime() < t) {
            world().step(0.25);
        }
        EXPECT_EQ(vapiGetSysTime(), t);
        return std::string(world().debugText());
    };
    const auto putOthersText = [this, kOthers] { std::strcpy(world().debugBuffer(), kOthers); };
    root.remove("modules/CKit.dll");
    ASSERT_EQ(add("A", kInit)->initResult, -999);
    EXPECT_EQ(runTo(0.25), kNotReady);
    root.write("modules/CKit.dll", "");
    world().deleteVessel(world().findVessel("A"));
    Carrier* carrier = add("B");
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
