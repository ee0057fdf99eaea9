// The roster: readiness, what is stored for what is given, removal order, lookups, seats and
// the vessel's mass following the crew.
#include <cstring>
#include <string>

#include "crew/CrewLink.h"
#include "crew/ProfessionTable.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using ::testing::ElementsAre;

class CrewRosterTest : public CrewTest {
protected:
    // Names of the roster in slot order.
    static std::vector<std::string> names(const CrewManager& crew) {
        std::vector<std::string> out;
        for (int32_t slot = 0; slot < crew.GetCrewCount(); ++slot) {
            out.emplace_back(crew.GetCrewNameBySlot(slot));
        }
        return out;
    }

    // A carrier that is initialised but never defines its airlock.
    Carrier* addInitialisedCarrier(const std::string& name) {
        carrierHooks().setClassCaps = [](Carrier& carrier) {
            carrier.initResult = carrier.crew.InitCrewManager(carrier.GetHandle());
        };
        Carrier* carrier = addCarrier(name);
        carrierHooks() = CarrierHooks{};
        return carrier;
    }
};

TEST_F(CrewRosterTest, InitialisationSetsTheDocumentedValues) {
    Carrier* carrier = addInitialisedCarrier("A");
    const CrewManager& crew = carrier->crew;
    EXPECT_EQ(carrier->initResult, 1);
    EXPECT_EQ(crew.readyFlags, 1u);
    EXPECT_EQ(crew.crewCount, 0);
    EXPECT_EQ(crew.maxSeats, 8);
    EXPECT_EQ(crew.crewMass, 0.0);
    EXPECT_EQ(crew.loadedLineCount, -1);
    EXPECT_EQ(crew.airlockStateCopy, 1);
    EXPECT_EQ(crew.evaSupply, 100);
    EXPECT_STREQ(crew.evaMesh, "CKit\\CKIt");
    EXPECT_EQ(crew.evaExitPosition.z, 3.0);
    EXPECT_EQ(crew.vesselHandle, carrier->GetHandle());
    EXPECT_EQ(crew.linkIndex, 0);
    EXPECT_EQ(crew.warningUntil, 0.0);
    EXPECT_EQ(crew.libraryOutdated, 0);
    EXPECT_EQ(crewLinkCounter, 1);
    EXPECT_EQ(crewPoints(*carrier).size(), 0u) << "nothing is published before the airlock";
}

TEST_F(CrewRosterTest, EveryOperationRefusesUntilTheAirlockIsDefined) {
    for (const bool initialised : {false, true}) {
        SCOPED_TRACE(initialised ? "initialised" : "blank");
        Carrier* carrier = initialised ? addInitialisedCarrier("I") : addCarrier("B");
        CrewManager& crew = carrier->crew;
        EXPECT_EQ(crew.AddCrewMember("Ann", 30, 70, 60, "Doc"), 0);
        EXPECT_EQ(crew.RemoveCrewMember("Ann"), 0);
        EXPECT_EQ(crew.GetCrewCount(), 0);
        EXPECT_EQ(crew.SetMaxSeats(4), 0);
        EXPECT_EQ(crew.SetEvaMesh("mesh"), 0);
        EXPECT_EQ(crew.SetMembersPosRotOffset({1, 2, 3}, {0, 0, 1}), 0);
        EXPECT_EQ(crew.SetAirlockState(0), -1);
        EXPECT_EQ(crew.GetAirlockState(), -1);
        EXPECT_EQ(crew.SetCrewPulseBySlot(0, 60), -1);
        EXPECT_EQ(crew.GetCrewAgeBySlot(0), -1);
        EXPECT_EQ(crew.GetCrewAgeByName("Ann"), -1);
        EXPECT_EQ(crew.GetCrewMiscIdByName("Ann"), nullptr);
        EXPECT_STREQ(crew.GetCrewNameBySlot(0), "");
        EXPECT_STREQ(crew.GetLastLeftName(), "");
        EXPECT_STREQ(crew.GetLastArrivedName(), "");
        EXPECT_EQ(carrier->GetEmptyMass(), kCarrierMass);
        EXPECT_EQ(crew.maxSeats, initialised ? 8 : 0);
        EXPECT_STREQ(crew.evaMesh, initialised ? "CKit\\CKIt" : "");
    }
    EXPECT_EQ(addCarrier("Late")->crew.DefineAirlockShape(1, -1, 1, -1, 1, -1, 1), 0)
        << "a blank crew manager cannot define an airlock";
}

struct AddCase {
    const char* what;
    const char* name;
    int32_t age, pulse, weight;
    const char* tag;
    const char* storedName;
    int32_t storedAge, storedPulse;
    double storedWeight;
    const char* storedTag;
};

TEST_F(CrewRosterTest, AddedMembersAreCleanedAndClamped) {
    const std::string thirty = "Abcdefghijklmnopqrstuvwxyz1234";
    const std::string forty(40, 'n');
    const AddCase cases[] = {
        {"punctuation and low values", "Deck-Hand K'Tor", 0, 500, 2, "Captain", "Deck Hand K Tor",
         1, 180, 5.0, "Capt"},
        {"long name, high values", thirty.c_str(), 200, -5, 1000, "Eng",
         "Abcdefghijklmnopqrstuvwxy", 140, 0, 300.0, "Eng"},
        {"forty characters", forty.c_str(), 1, 0, 5, nullptr, "nnnnnnnnnnnnnnnnnnnnnnnnn", 1, 0,
         5.0, ""},
        {"bytes above 127", "Zo\xc3\xab \xff!", 140, 180, 300, "\xc3\xa9t", "Zo     ", 140, 180,
         300.0, "\xc3\xa9t"},
        {"just outside", "A", 141, 181, 301, "", "A", 140, 180, 300.0, ""},
        {"just inside", "B", 1, 1, 4, "Ab c", "B", 1, 1, 5.0, "Ab c"},
        {"empty name", "", 40, 60, 70, "Sci", "", 40, 60, 70.0, "Sci"},
    };
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(20), 1);
    double expectedMass = kCarrierMass;
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t slot = crew.GetCrewCount();
        ASSERT_EQ(crew.AddCrewMember(c.name, c.age, c.pulse, c.weight, c.tag), 1);
        const CrewRecord& r = crew.roster[slot];
        EXPECT_STREQ(r.name, c.storedName);
        EXPECT_EQ(r.age, c.storedAge);
        EXPECT_EQ(r.pulse, c.storedPulse);
        EXPECT_EQ(r.weight, c.storedWeight);
        EXPECT_STREQ(r.miscId, c.storedTag);
        expectedMass += c.storedWeight;
        EXPECT_EQ(carrier->GetEmptyMass(), expectedMass);
    }
    EXPECT_EQ(crew.crewMass, expectedMass - kCarrierMass);
}

TEST_F(CrewRosterTest, RefusedAddsChangeNothing) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(2), 1);
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 60, nullptr), 1);
    EXPECT_EQ(crew.AddCrewMember(nullptr, 30, 70, 60, nullptr), 0);
    ASSERT_EQ(crew.AddCrewMember("Bob", 30, 70, 80, nullptr), 1);
    const PointNumbers published = publishedPoint(*carrier);
    const CrewManager before = crew;
    EXPECT_EQ(crew.AddCrewMember("Cid", 30, 70, 90, nullptr), 0) << "seats full";
    EXPECT_EQ(std::memcmp(&before, &crew, sizeof crew), 0);
    EXPECT_EQ(carrier->GetEmptyMass(), kCarrierMass + 140);
    EXPECT_EQ(publishedPoint(*carrier), published);
}

TEST_F(CrewRosterTest, RemovalMovesTheLastMemberIntoTheGap) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    for (const char* name : {"Governer Vasko", "Ann", "Bob", "Cid"}) {
        ASSERT_EQ(crew.AddCrewMember(name, 30, 70, 60, nullptr), 1);
    }
    ASSERT_EQ(crew.AddCrewMember("Cid", 31, 71, 61, "Two"), 1);
    EXPECT_EQ(crew.RemoveCrewMember("ANN"), 1);
    EXPECT_THAT(names(crew), ElementsAre("Governer Vasko", "Cid", "Bob", "Cid"));
    EXPECT_STREQ(crew.GetCrewMiscIdBySlot(1), "Two");
    EXPECT_EQ(crew.GetCrewAgeBySlot(1), 31);
    EXPECT_STREQ(crew.GetCrewNameBySlot(4), "") << "the old last slot is outside the roster";

    EXPECT_EQ(crew.RemoveCrewMember("cid"), 1) << "the lower slot of two namesakes goes";
    EXPECT_THAT(names(crew), ElementsAre("Governer Vasko", "Cid", "Bob"));
    EXPECT_STREQ(crew.GetCrewMiscIdBySlot(1), "") << "the namesake from slot 3 moved up";
    EXPECT_EQ(crew.RemoveCrewMember("governer vasko"), 1);
    EXPECT_EQ(crew.RemoveCrewMember("Bob"), 1) << "the last slot is simply dropped";
    EXPECT_THAT(names(crew), ElementsAre("Cid"));
    EXPECT_EQ(crew.RemoveCrewMember("Nobody"), 0);
    EXPECT_EQ(crew.RemoveCrewMember(nullptr), 0);
    EXPECT_EQ(crew.GetCrewCount(), 1);
    EXPECT_EQ(carrier->GetEmptyMass(), kCarrierMass + 60);
    EXPECT_EQ(publishedPoint(*carrier)[8], 7);
}

TEST_F(CrewRosterTest, NamesOverThirtyNineCharactersNeverMatch) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 60, "Doc"), 1);
    // A stored name is at most 25 characters, so only the length rule can tell these apart
    // from a plain miss; a longer text must not even be walked.
    const std::string thirtyNine(39, 'a');
    const std::string forty(40, 'a');
    EXPECT_EQ(crew.GetCrewAgeByName(thirtyNine.c_str()), -1);
    EXPECT_STREQ(crew.GetCrewMiscIdByName(forty.c_str()), "");
    EXPECT_EQ(crew.RemoveCrewMember(forty.c_str()), 0);
    EXPECT_EQ(crew.FindCrewSlot(forty.c_str()), -1);
    EXPECT_EQ(crew.GetCrewAgeByName("aNN"), 30);
    EXPECT_STREQ(crew.GetCrewMiscIdByName("ann"), "Doc");
    EXPECT_STREQ(crew.GetCrewMiscIdByName("Bob"), "");
    EXPECT_EQ(crew.GetCrewMiscIdByName(nullptr), nullptr);
    EXPECT_EQ(crew.GetCrewAgeByName(nullptr), -1);
    // Case folding is ASCII only: a byte above 127 is not a letter to fold.
    EXPECT_EQ(crew.GetCrewAgeByName("\xc1nn"), -1);
}

TEST_F(CrewRosterTest, SlotQueriesAreBoundedByTheCrewCount) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 60, "Doc"), 1);
    ASSERT_EQ(crew.AddCrewMember("Bob", 40, 70, 60, "Eng"), 1);
    for (const int32_t slot : {-1, 2, 100, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(crew.GetCrewAgeBySlot(slot), -1);
        EXPECT_STREQ(crew.GetCrewNameBySlot(slot), "");
        EXPECT_STREQ(crew.GetCrewMiscIdBySlot(slot), "");
        EXPECT_EQ(crew.SetCrewPulseBySlot(slot, 60), -1);
    }
    EXPECT_EQ(crew.GetCrewAgeBySlot(1), 40);
    EXPECT_EQ(crew.SetCrewPulseBySlot(1, 150), 1);
    EXPECT_EQ(crew.roster[1].pulse, 130) << "a pulse set later is capped lower than on adding";
    EXPECT_EQ(crew.SetCrewPulseBySlot(0, -3), 1);
    EXPECT_EQ(crew.roster[0].pulse, 0);
}

TEST_F(CrewRosterTest, MassFollowsTheCrewWhenTheStructureChangesElsewhere) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 74, nullptr), 1);
    ASSERT_EQ(crew.AddCrewMember("Bob", 30, 70, 55, nullptr), 1);
    EXPECT_EQ(carrier->GetEmptyMass(), 1129.0);
    ASSERT_EQ(crew.RemoveCrewMember("Bob"), 1);
    EXPECT_EQ(carrier->GetEmptyMass(), 1074.0);
    EXPECT_EQ(crew.crewMass, 74.0);
    // The structure loses a module: the crew's share must stay on top of the new mass.
    carrier->SetEmptyMass(574.0);
    ASSERT_EQ(crew.AddCrewMember("Cid", 30, 70, 26, nullptr), 1);
    EXPECT_EQ(carrier->GetEmptyMass(), 600.0);
    ASSERT_EQ(crew.RemoveCrewMember("Ann"), 1);
    ASSERT_EQ(crew.RemoveCrewMember("Cid"), 1);
    EXPECT_EQ(carrier->GetEmptyMass(), 500.0);
    EXPECT_EQ(crew.crewMass, 0.0);
}

TEST_F(CrewRosterTest, SeatLimitIsRefusedOutsideItsRange) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(crew.AddCrewMember("M", 30, 70, 60, nullptr), 1);
    }
    for (const int32_t seats : {0, -1, 101, 3, 4}) {
        SCOPED_TRACE(seats);
        EXPECT_EQ(crew.SetMaxSeats(seats), 0);
        EXPECT_EQ(crew.maxSeats, 8);
        EXPECT_EQ(publishedPoint(*carrier)[8], 3);
    }
    EXPECT_EQ(crew.SetMaxSeats(5), 1);
    EXPECT_EQ(publishedPoint(*carrier)[8], 0);
    EXPECT_EQ(crew.SetMaxSeats(100), 1);
    for (int i = 5; i < 100; ++i) {
        ASSERT_EQ(crew.AddCrewMember("M", 30, 70, 60, nullptr), 1);
    }
    EXPECT_EQ(crew.AddCrewMember("M", 30, 70, 60, nullptr), 0) << "a 101st never fits";
    EXPECT_EQ(crew.GetCrewCount(), 100);
    EXPECT_EQ(carrier->GetEmptyMass(), kCarrierMass + 6000);
}

TEST_F(CrewRosterTest, RefusedAirlockStateKeepsThePublishedOne) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    EXPECT_EQ(crew.SetAirlockState(2), 1);
    EXPECT_EQ(crew.GetAirlockState(), 1);
    EXPECT_EQ(crew.SetAirlockState(0), 1);
    EXPECT_EQ(crew.airlockStateCopy, 0);
    EXPECT_EQ(crew.GetAirlockState(), 0);
    EXPECT_EQ(publishedPoint(*carrier)[6], 0.0);
}

TEST_F(CrewRosterTest, EvaSettingsAreStoredWithinTheirRoom) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    const std::string longMesh(200, 'm');
    EXPECT_EQ(crew.SetEvaMesh(longMesh.c_str()), 1);
    EXPECT_EQ(std::string(crew.evaMesh), longMesh.substr(0, 150));
    EXPECT_EQ(crew.SetEvaMesh(nullptr), 0);
    EXPECT_EQ(std::string(crew.evaMesh), longMesh.substr(0, 150));
    EXPECT_EQ(crew.SetMembersPosRotOffset({1, 2, 3}, {0.5, 0, -1}), 1);
    EXPECT_EQ(crew.evaExitPosition.y, 2.0);
    EXPECT_EQ(crew.evaExitRotation.z, -1.0);
}

TEST_F(CrewRosterTest, MissingCrewLibraryFailsWithoutUsingARecord) {
    removeFile("modules/CKit.dll");
    Carrier* failed = addInitialisedCarrier("A");
    EXPECT_EQ(failed->initResult, -999);
    EXPECT_EQ(failed->crew.readyFlags, 0u);
    EXPECT_EQ(failed->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    EXPECT_EQ(failed->crew.AddCrewMember("Ann", 30, 70, 60, nullptr), 0);
    EXPECT_GT(failed->crew.warningUntil, 0.0);
    EXPECT_EQ(crewLinkCounter, 0);
    EXPECT_EQ(identityCount, 0) << "the identity files wait for the first bound record";
    EXPECT_EQ(failed->crew.InitCrewManager(nullptr), -1);

    writeFile("modules/CKit.dll", "");
    Carrier* carrier = addReadyCarrier("B");
    EXPECT_EQ(carrier->crew.linkIndex, 0) << "the failed attempt took no record";
    EXPECT_EQ(crewLinkCounter, 1);
}

TEST_F(CrewRosterTest, IdentityFilesAreReadByTheFirstCrewManagerOnly) {
    writeFile("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    Carrier* first = addReadyCarrier("A");
    EXPECT_EQ(first->crew.linkIndex, 0);
    const int32_t loaded = identityCount;
    EXPECT_EQ(loaded, 18);
    writeFile("config/CKITIdConfig/ckitSEC-guard-Sec.cfg", "");
    Carrier* second = addReadyCarrier("B");
    EXPECT_EQ(second->crew.linkIndex, 1);
    EXPECT_EQ(identityCount, loaded);
}

TEST_F(CrewRosterTest, CrewManagersBeyondTheTableAreRefused) {
    std::vector<Carrier*> carriers;
    for (int i = 0; i < kCrewLinkCount; ++i) {
        carriers.push_back(addReadyCarrier("C" + std::to_string(i)));
        ASSERT_EQ(carriers.back()->crew.linkIndex, i);
    }
    ASSERT_EQ(carriers.back()->crew.AddCrewMember("Last", 30, 70, 60, nullptr), 1);
    const CrewLinkRecord lastRecord = crewLinkTable[kCrewLinkCount - 1];

    Carrier* extra = addInitialisedCarrier("Extra");
    EXPECT_EQ(extra->initResult, -1);
    EXPECT_EQ(extra->crew.readyFlags, 0u);
    EXPECT_EQ(extra->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 0);
    EXPECT_EQ(crewPoints(*extra).size(), 0u);
    EXPECT_EQ(crewLinkCounter, kCrewLinkCount);
    EXPECT_EQ(std::memcmp(&lastRecord, &crewLinkTable[kCrewLinkCount - 1], sizeof lastRecord), 0)
        << "no other vessel's record is touched";
    EXPECT_EQ(publishedPoint(*carriers.back())[8], 7);
    extra->crew.WarnUserIfOutdated("Extra");
    EXPECT_STREQ(world().debugText(),
                 "Extra ERROR CKIT 2.0 not properly initialised in your code.");
}

} // namespace
} // namespace crewtest
