// The roster and the crew point it publishes: set-up, every refusal and query, what is stored
// for what is given, removal order, and the vessel's mass following the crew.
#include <cstring>
#include <functional>
#include <sstream>

#include "crew/CrewLink.h"
#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using CrewRosterTest = CrewTest;

std::string R(int32_t result) {
    return std::to_string(result);
}
std::string R(const char* text) {
    return text == nullptr ? "null" : "'" + std::string(text) + "'";
}

const std::string kForty(40, 'a');

struct Call {
    std::function<std::string(CrewManager&)> run;
    const char* notReady; // blank and initialised alike
    const char* ready;    // with Ann (Doc, 30) and Bob (40) aboard, 3 seats; null: would change
};
using C = CrewManager;
const Call kCalls[] = {
    {[](C& c) { return R(c.AddCrewMember("Cid", 30, 70, 60, nullptr)); }, "0", nullptr},
    {[](C& c) { return R(c.AddCrewMember(nullptr, 30, 70, 60, nullptr)); }, "0", "0"},
    {[](C& c) { return R(c.RemoveCrewMember("Ann")); }, "0", nullptr},
    {[](C& c) { return R(c.RemoveCrewMember(nullptr)); }, "0", "0"},
    {[](C& c) { return R(c.RemoveCrewMember("Nobody")); }, "0", "0"},
    {[](C& c) { return R(c.RemoveCrewMember(kForty.c_str())); }, "0", "0"},
    {[](C& c) { return R(c.GetCrewCount()); }, "0", "2"},
    {[](C& c) { return R(c.SetMaxSeats(1)); }, "0", "0"},
    {[](C& c) { return R(c.SetMaxSeats(0)); }, "0", "0"},
    {[](C& c) { return R(c.SetMaxSeats(101)); }, "0", "0"},
    {[](C& c) { return R(c.SetMaxSeats(4)); }, "0", nullptr},
    {[](C& c) { return R(c.SetEvaMesh(nullptr)); }, "0", "0"},
    {[](C& c) { return R(c.SetEvaMesh("mmu")); }, "0", nullptr},
    {[](C& c) {
         return R(c.SetMembersPosRotOffset({1, 2, 3}, {0, 0, 1}));
     },
     "0", nullptr},
    {[](C& c) { return R(c.SetAirlockState(0)); }, "-1", nullptr},
    {[](C& c) { return R(c.SetAirlockState(2)); }, "-1", "1"},
    {[](C& c) { return R(c.GetAirlockState()); }, "-1", "1"},
    {[](C& c) { return R(c.SetCrewPulseBySlot(-1, 60)); }, "-1", "-1"},
    {[](C& c) { return R(c.SetCrewPulseBySlot(2, 60)); }, "-1", "-1"},
    {[](C& c) { return R(c.SetCrewPulseBySlot(0, 60)); }, "-1", nullptr},
    {[](C& c) { return R(c.GetCrewAgeBySlot(-1)); }, "-1", "-1"},
    {[](C& c) { return R(c.GetCrewAgeBySlot(2)); }, "-1", "-1"},
    {[](C& c) { return R(c.GetCrewAgeBySlot(1)); }, "-1", "40"},
    {[](C& c) { return R(c.GetCrewNameBySlot(-1)); }, "''", "''"},
    {[](C& c) { return R(c.GetCrewNameBySlot(1)); }, "''", "'Bob'"},
    {[](C& c) { return R(c.GetCrewMiscIdBySlot(-1)); }, "''", "''"},
    {[](C& c) { return R(c.GetCrewMiscIdBySlot(0)); }, "''", "'Doc'"},
    {[](C& c) { return R(c.GetCrewAgeByName(nullptr)); }, "-1", "-1"},
    {[](C& c) { return R(c.GetCrewAgeByName("aNN")); }, "-1", "30"},
    {[](C& c) { return R(c.GetCrewAgeByName("\xc1nn")); }, "-1", "-1"}, // ASCII folding only
    {[](C& c) { return R(c.GetCrewMiscIdByName(nullptr)); }, "null", "null"},
    {[](C& c) { return R(c.GetCrewMiscIdByName("ann")); }, "null", "'Doc'"},
    {[](C& c) { return R(c.GetCrewMiscIdByName("BOB")); }, "null", "''"},
    {[](C& c) { return R(c.GetCrewMiscIdByName("Nobody")); }, "null", "''"},
    {[](C& c) { return R(c.GetCrewMiscIdByName(kForty.c_str())); }, "null", "''"},
    {[](C& c) { return R(c.DefineAirlockShape(1, 3, -3, -4, 4, -7, 7)); }, "0", "0"},
    {[](C& c) { return R(c.DefineAirlockShape(1, -3, 3, 4, -4, -7, 7)); }, "0", "0"},
    {[](C& c) { return R(c.DefineAirlockShape(1, -3, 3, -4, 4, 7, -7)); }, "0", "0"},
    {[](C& c) { return R(c.DefineAirlockShape(2, -1, 1, -1, 1, -1, 1)); }, "0", "0"},
    {[](C& c) { return R(c.DefineAirlockShape(~0u, -1, 1, -1, 1, -1, 1)); }, "0", "0"},
    {[](C& c) { return R(c.EvaCrewMember("Ann")); }, "-6", nullptr},
    {[](C& c) { return R(c.EvaCrewMember(nullptr)); }, "-6", "-4"},
    {[](C& c) { return R(c.EvaCrewMember("Nobody")); }, "-6", "-4"},
    {[](C& c) { return R(c.ParseCrewScenarioLine("CKITCREW Doc-Eve-30-70-74")); }, "0", nullptr},
    {[](C& c) { return R(c.SaveCrewState(nullptr)); }, "0", "0"},
    {[](C& c) { return R(c.ProcessArrivals()); }, "-1", "0"},
    {[](C& c) { return R(c.GetLastLeftName()); }, "''", "''"},
    {[](C& c) { return R(c.GetLastArrivedName()); }, "''", "''"},
};

TEST_F(CrewRosterTest, EveryCallRefusesUntilReadyAndRefusalsChangeNothing) {
    for (const int setup : {kBlank, kInit, kReady}) {
        SCOPED_TRACE(setup);
        Carrier* carrier = add("S" + std::to_string(setup), setup);
        CrewManager& crew = carrier->crew;
        if (setup == kReady) {
            ASSERT_EQ(crew.SetMaxSeats(3), 1);
            ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 60, "Doc"), 1);
            ASSERT_EQ(crew.AddCrewMember("Bob", 40, 80, 80, nullptr), 1);
        }
        const std::string before = snapshot(*carrier);
        for (std::size_t i = 0; i < std::size(kCalls); ++i) {
            const char* expected = setup == kReady ? kCalls[i].ready : kCalls[i].notReady;
            if (expected != nullptr) {
                EXPECT_EQ(kCalls[i].run(crew), expected) << "call " << i;
            }
        }
        EXPECT_EQ(snapshot(*carrier), before);
        EXPECT_EQ(carrier->AttachmentCount(false), setup == kReady ? 1u : 0u);
    }
    Carrier* blank = add("Late", kBlank);
    EXPECT_EQ(blank->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    Carrier* full = add("Full");
    ASSERT_EQ(full->crew.SetMaxSeats(1), 1);
    ASSERT_EQ(full->crew.AddCrewMember("Ann", 30, 70, 60, nullptr), 1);
    const std::string before = snapshot(*full);
    EXPECT_EQ(full->crew.AddCrewMember("Bob", 30, 70, 60, nullptr), 0);
    EXPECT_EQ(snapshot(*full), before);
}

TEST_F(CrewRosterTest, InitialisationSetsItsValuesAndTheFirstLoadsTheIdentities) {
    root.write("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    Carrier* a = add("A", kInit);
    const CrewManager& c = a->crew;
    const CrewLinkRecord& link = c.Link();
    std::ostringstream values;
    values << a->initResult << ' ' << c.readyFlags << ' ' << c.crewCount << ' ' << c.maxSeats << ' '
           << c.crewMass << ' ' << c.loadedLineCount << ' ' << c.airlockStateCopy << ' '
           << c.evaSupply << ' ' << c.evaMesh << ' ' << c.evaExitPosition.x << ' '
           << c.evaExitPosition.y << ' ' << c.evaExitPosition.z << ' ' << c.evaExitRotation.x << ' '
           << c.evaExitRotation.y << ' ' << c.evaExitRotation.z << ' ' << c.linkIndex << ' '
           << c.warningUntil << ' ' << c.libraryOutdated << " | " << link.deleteOnDetect << ' '
           << link.arrivalWeight << ' ' << link.auxiliaryCount << ' ' << link.freeSeats << ' '
           << link.airlockDefined << ' ' << link.evaFileValue << ' ' << link.transferDock;
    EXPECT_EQ(values.str(),
              "1 1 0 8 0 -1 1 100 CKit\\CKIt 0 0 3 0 0 0 0 0 0 | 1 60 1000 1000 0 0 0");
    EXPECT_EQ(c.vesselHandle, a->GetHandle());
    EXPECT_EQ(link.vessel, a);
    EXPECT_EQ(a->AttachmentCount(false), 0u) << "nothing is published before the airlock";
    EXPECT_EQ(identityCount, 18);
    root.write("config/CKITIdConfig/ckitSEC-guard-Grd.cfg", "");
    Carrier* b = add("B");
    EXPECT_EQ(b->crew.linkIndex, 1);
    EXPECT_EQ(crewLinkCounter, 2);
    EXPECT_EQ(identityCount, 18) << "only the first crew manager loads them";
    EXPECT_NE(b->crew.Link().pollTimer, link.pollTimer) << "vessels poll out of step";
    for (const double timer : {link.pollTimer, b->crew.Link().pollTimer}) {
        EXPECT_TRUE(timer >= 0.0 && timer < 1.0) << timer;
    }
    EXPECT_EQ(b->crew.InitCrewManager(nullptr), -1);
    EXPECT_EQ(crewLinkCounter, 2);
}

TEST_F(CrewRosterTest, FailedInitialisationTakesNoRecordAndLoadsNothing) {
    root.remove("modules/CKit.dll");
    Carrier* failed = add("Failed", kInit);
    EXPECT_EQ(failed->initResult, -999);
    EXPECT_EQ(failed->crew.readyFlags, 0u);
    EXPECT_EQ(failed->crew.warningUntil, 20.0);
    EXPECT_EQ(failed->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    EXPECT_EQ(crewLinkCounter, 0);
    EXPECT_EQ(identityCount, 0);
    root.write("modules/CKit.dll", "");
    EXPECT_EQ(add("B")->crew.linkIndex, 0);
    EXPECT_EQ(identityCount, 17);
}

TEST_F(CrewRosterTest, CrewManagersBeyondTheTableAreRefusedAndTouchNoRecord) {
    Carrier* last = nullptr;
    for (int i = 0; i < kCrewLinkCount; ++i) {
        last = add("C" + std::to_string(i));
    }
    ASSERT_EQ(last->crew.linkIndex, kCrewLinkCount - 1);
    ASSERT_EQ(last->crew.AddCrewMember("Last", 30, 70, 60, nullptr), 1);
    const std::string before = snapshot(*last);
    Carrier* extra = add("Extra", kInit);
    EXPECT_EQ(extra->initResult, -1);
    EXPECT_EQ(extra->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    EXPECT_EQ(extra->AttachmentCount(false), 0u);
    EXPECT_EQ(crewLinkCounter, kCrewLinkCount);
    EXPECT_EQ(snapshot(*last), before);
}

struct AddCase {
    const char *name, *tag;
    int32_t age, pulse, weight;
    const char* stored; // name|tag|age|pulse|weight
};

TEST_F(CrewRosterTest, AddedMembersAreCleanedClampedAndWeighed) {
    const std::string thirty = "Abcdefghijklmnopqrstuvwxyz1234";
    const AddCase cases[] = {
        {"Deck-Hand K'Tor", "Captain", 0, 500, 2, "Deck Hand K Tor|Capt|1|180|5"},
        {thirty.c_str(), "Eng", 200, -5, 1000, "Abcdefghijklmnopqrstuvwxy|Eng|140|0|300"},
        {"Zo\xc3\xab \xff!", "\xc3\xa9t", 140, 180, 300, "Zo     |\xc3\xa9t|140|180|300"},
        {"A", "", 141, 181, 301, "A||140|180|300"},
        {"B", "Ab c", 1, 1, 4, "B|Ab c|1|1|5"},
        {"", nullptr, 40, 60, 70, "||40|60|70"},
    };
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    double mass = 0;
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.stored);
        const int32_t slot = crew.GetCrewCount();
        ASSERT_EQ(crew.AddCrewMember(c.name, c.age, c.pulse, c.weight, c.tag), 1);
        const CrewRecord& r = crew.roster[slot];
        std::ostringstream stored;
        stored << r.name << '|' << r.miscId << '|' << r.age << '|' << r.pulse << '|' << r.weight;
        EXPECT_EQ(stored.str(), c.stored);
        mass += r.weight;
        EXPECT_EQ(carrier->GetEmptyMass(), kMass + mass);
        EXPECT_EQ(point(*carrier)[8], 100 - slot - 1);
    }
    EXPECT_EQ(crew.crewMass, mass);
}

TEST_F(CrewRosterTest, RemovalMovesTheLastMemberIntoTheGapAndTheMassFollows) {
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    for (const char* name : {"Governer Vasko", "Ann", "Cid", "Bob"}) {
        ASSERT_EQ(crew.AddCrewMember(name, 30, 70, 60, nullptr), 1);
    }
    ASSERT_EQ(crew.AddCrewMember("Cid", 31, 71, 74, "Two"), 1);
    const auto names = [&crew] {
        std::string all;
        for (int32_t slot = 0; slot <= crew.GetCrewCount(); ++slot) {
            all += std::string(crew.GetCrewNameBySlot(slot)) + "/" +
                   crew.GetCrewMiscIdBySlot(slot) + ",";
        }
        return all;
    };
    EXPECT_EQ(crew.RemoveCrewMember("ANN"), 1);
    EXPECT_EQ(names(), "Governer Vasko/,Cid/Two,Cid/,Bob/,/,") << "old last slot is out";
    EXPECT_EQ(crew.GetCrewAgeBySlot(1), 31);
    EXPECT_EQ(crew.RemoveCrewMember("cid"), 1) << "the lower slot of two namesakes goes";
    EXPECT_EQ(names(), "Governer Vasko/,Bob/,Cid/,/,");
    EXPECT_EQ(carrier->GetEmptyMass(), kMass + 180);
    EXPECT_EQ(point(*carrier)[8], 5);
    // The structure loses a part elsewhere: the crew's share stays on top of the new mass.
    carrier->SetEmptyMass(600);
    EXPECT_EQ(crew.RemoveCrewMember("governer vasko"), 1);
    EXPECT_EQ(crew.RemoveCrewMember("Bob"), 1) << "the last slot is simply dropped";
    EXPECT_EQ(names(), "Cid/,/,");
    EXPECT_EQ(carrier->GetEmptyMass(), 480);
    EXPECT_EQ(crew.crewMass, 60);
    EXPECT_EQ(crew.SetCrewPulseBySlot(0, 150), 1);
    EXPECT_EQ(crew.roster[0].pulse, 130) << "capped lower than on adding";
    EXPECT_EQ(crew.SetCrewPulseBySlot(0, -3), 1);
    EXPECT_EQ(crew.roster[0].pulse, 0);
}

TEST_F(CrewRosterTest, EveryRepublishingCallPublishesAllNineNumbers) {
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    // Created with the counts the record held, then the whole seat limit is published.
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 1, 1000, 8}));
    ASSERT_EQ(crew.SetMaxSeats(50), 1);
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 1, 0, 50}));
    ASSERT_EQ(crew.AddCrewMember("Olef Brandt", 19, 70, 45, nullptr), 1);
    ASSERT_EQ(crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt"), 1);
    ASSERT_EQ(crew.SetAirlockState(0), 1);
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 0, 0, 48}));
    EXPECT_EQ(crew.GetAirlockState(), 0);
    ASSERT_EQ(crew.SetMaxSeats(2), 1);
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    ASSERT_EQ(crew.RemoveCrewMember("olef brandt"), 1);
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 0, 0, 99}));
    ASSERT_EQ(crew.DefineAirlockShape(1, 0.1f, 0.1f, -0.3f, 0, 1e-7f, 1e7f), 1);
    EXPECT_EQ(point(*carrier), (Numbers{0.1f, 0.1f, -0.3f, 0, 1e-7f, 1e7f, 1, 0, 99}));
    EXPECT_EQ(carrier->AttachmentCount(false), 1u) << "a later definition moves the point";
    EXPECT_EQ(crew.SetEvaMesh(std::string(200, 'm').c_str()), 1);
    EXPECT_EQ(crew.evaMesh, std::string(150, 'm'));
}

TEST_F(CrewRosterTest, LinkSettersBeforeTheDefinitionAreRefusedAndNotStored) {
    Carrier* carrier = add("A", kInit);
    CrewLinkRecord& link = carrier->crew.Link();
    EXPECT_EQ(link.LinkSetAirlockState(0), 1) << "the state already stored needs no point";
    EXPECT_EQ(link.LinkSetAirlockState(1), -1);
    EXPECT_EQ(link.LinkSetFreeSeats(5), -1);
    EXPECT_EQ(link.LinkSetAuxiliaryCount(7), -1);
    EXPECT_EQ(link.LinkGetAirlockState(), -1);
    EXPECT_EQ(link.LinkSetDeleteOnDetect(0), -1);
    EXPECT_EQ(link.deleteOnDetect, 1);
    ASSERT_EQ(link.LinkDefineAirlock(0, -3, 3, -4, 4, -7, 7), 1);
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 0, 1000, 1000}));
    EXPECT_EQ(link.LinkSetAirlockState(5), -1);
    EXPECT_EQ(link.LinkSetAirlockState(1), 1);
    EXPECT_EQ(link.LinkGetAirlockState(), 1);
    EXPECT_EQ(link.LinkSetDeleteOnDetect(0), 1);
    EXPECT_EQ(link.deleteOnDetect, 0);
}

TEST_F(CrewRosterTest, DockedFreeSeatsAreReadFromTheFirstExactCrewPoint) {
    const std::vector<std::vector<std::pair<const char*, double>>> points = {
        {},
        {{"Hook", 4}},
        {{"CKitX", 9}, {"ckit", 8}, {"CKi", 7}, {"CKit", 3}, {"CKit", 6}},
        {{"CKit", 0.0}},
        {{"CKit", 2.9}},
        {{"CKit", -2.9}}};
    const int32_t expected[] = {-1, -1, 3, 0, 2, -2};
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        Carrier* own = add("Own" + std::to_string(i), kDock | kInit);
        Carrier* other = add("Other" + std::to_string(i), kDock);
        dock(own, other);
        other->CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "CKit", false);
        for (const auto& [id, seats] : points[i]) {
            other->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {1, 0, seats}, id, false);
        }
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), -1) << "own airlock undefined";
        ASSERT_EQ(own->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 1);
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), expected[i]);
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(1), -1) << "no such dock";
    }
}

} // namespace
} // namespace crewtest
