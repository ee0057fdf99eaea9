// The crew point as other vessels read it: the nine published numbers, refusals that leave
// them alone, and the reading rules applied to a docked vessel.
#include <cstring>

#include "crew/CrewLink.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using ::testing::ElementsAre;

// A vessel with one dock, for docking carriers to each other.
void WithDock(Carrier& carrier) {
    carrier.CreateDock({0, 0, 10}, {0, 0, 1}, {0, 1, 0});
}

class CrewLinkTest : public CrewTest {
protected:
    // A carrier whose crew manager is initialised but whose airlock is not yet defined: its
    // record is bound and unpublished.
    Carrier* addBoundCarrier(const std::string& name) {
        carrierHooks().setClassCaps = [](Carrier& carrier) {
            WithDock(carrier);
            carrier.initResult = carrier.crew.InitCrewManager(carrier.GetHandle());
        };
        Carrier* carrier = addCarrier(name);
        carrierHooks() = CarrierHooks{};
        EXPECT_EQ(carrier->initResult, 1);
        return carrier;
    }

    // A docked neighbour of `own` at both vessels' dock 0, its crew points made by hand.
    Carrier* dockNeighbour(Carrier& own, const std::string& name) {
        carrierHooks().setClassCaps = WithDock;
        Carrier* other = addCarrier(name);
        carrierHooks() = CarrierHooks{};
        std::string reason;
        EXPECT_TRUE(
            world().dock(world().findVessel(own.GetName()), 0, world().findVessel(name), 0, reason))
            << reason;
        return other;
    }
};

TEST_F(CrewLinkTest, EachRepublishingOperationPublishesAllNineNumbers) {
    Carrier* carrier = addReadyCarrier("A");
    CrewManager& crew = carrier->crew;
    // The point is created with the counts the record held (1000, 1000); the definition then
    // publishes the whole seat limit.
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 1, 1000, 8));

    ASSERT_EQ(crew.SetMaxSeats(50), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 1, 0, 50));
    ASSERT_EQ(crew.AddCrewMember("Olef Brandt", 19, 70, 45, nullptr), 1);
    ASSERT_EQ(crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt"), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 1, 0, 48));
    ASSERT_EQ(crew.SetAirlockState(0), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 0, 0, 48));
    ASSERT_EQ(crew.RemoveCrewMember("olef brandt"), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 0, 0, 49));
    ASSERT_EQ(crew.DefineAirlockShape(1, -1.5f, 2.25f, 0, 0, -8, 9), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-1.5, 2.25, 0, 0, -8, 9, 1, 0, 49));
    EXPECT_EQ(crewPoints(*carrier).size(), 1u) << "a later definition moves the point";
}

TEST_F(CrewLinkTest, BoxValuesTravelAsTheirSinglePrecisionValues) {
    Carrier* carrier = addBoundCarrier("A");
    ASSERT_EQ(carrier->crew.DefineAirlockShape(0, 0.1f, 0.2f, -0.3f, 0.3f, 1e-7f, 1e7f), 1);
    const PointNumbers n = publishedPoint(*carrier);
    EXPECT_EQ(n[0], static_cast<double>(0.1f));
    EXPECT_EQ(n[1], static_cast<double>(0.2f));
    EXPECT_EQ(n[2], static_cast<double>(-0.3f));
    EXPECT_EQ(n[4], static_cast<double>(1e-7f));
    EXPECT_EQ(n[5], static_cast<double>(1e7f));
    EXPECT_EQ(n[6], 0.0);
}

struct RefusedDefinition {
    const char* what;
    uint32_t state;
    float box[6];
};

TEST_F(CrewLinkTest, RefusedDefinitionsLeaveThePublishedBoxAlone) {
    const RefusedDefinition cases[] = {
        {"x reversed", 1, {3, -3, -4, 4, -7, 7}},
        {"y reversed", 1, {-3, 3, 4, -4, -7, 7}},
        {"z reversed", 1, {-3, 3, -4, 4, 7, -7}},
        {"state 2", 2, {-1, 1, -1, 1, -1, 1}},
        {"negative state", static_cast<uint32_t>(-1), {-1, 1, -1, 1, -1, 1}},
    };
    Carrier* carrier = addReadyCarrier("A");
    CrewLinkRecord& link = carrier->crew.Link();
    const PointNumbers before = publishedPoint(*carrier);
    for (const RefusedDefinition& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(link.LinkDefineAirlock(c.state, c.box[0], c.box[1], c.box[2], c.box[3], c.box[4],
                                         c.box[5]),
                  -1);
        EXPECT_EQ(carrier->crew.DefineAirlockShape(c.state, c.box[0], c.box[1], c.box[2], c.box[3],
                                                   c.box[4], c.box[5]),
                  0);
        EXPECT_EQ(publishedPoint(*carrier), before);
        EXPECT_EQ(link.airlockBox[0], -3.0f);
    }
}

TEST_F(CrewLinkTest, FlatBoxIsAcceptedAndCreatesExactlyOnePoint) {
    Carrier* carrier = addBoundCarrier("A");
    const unsigned int before = carrier->AttachmentCount(false);
    ASSERT_EQ(carrier->crew.DefineAirlockShape(1, 2, 2, 0, 0, 5, 5), 1);
    EXPECT_EQ(carrier->AttachmentCount(false), before + 1);
    ASSERT_EQ(carrier->crew.DefineAirlockShape(0, -1, 1, -1, 1, -1, 1), 1);
    EXPECT_EQ(carrier->AttachmentCount(false), before + 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-1, 1, -1, 1, -1, 1, 0, 1000, 8));
}

TEST_F(CrewLinkTest, SettersBeforeTheDefinitionAreRefusedAndNotStored) {
    Carrier* carrier = addBoundCarrier("A");
    CrewLinkRecord& link = carrier->crew.Link();
    EXPECT_EQ(link.LinkSetAirlockState(0), 1) << "the state already stored needs no point";
    EXPECT_EQ(link.LinkSetAirlockState(1), -1);
    EXPECT_EQ(link.airlockState, 0u);
    EXPECT_EQ(link.LinkSetFreeSeats(5), -1);
    EXPECT_EQ(link.LinkSetAuxiliaryCount(7), -1);
    EXPECT_EQ(link.LinkGetAirlockState(), -1);
    EXPECT_EQ(link.LinkSetDeleteOnDetect(0), -1);
    EXPECT_EQ(link.deleteOnDetect, 1);

    ASSERT_EQ(link.LinkDefineAirlock(1, -3, 3, -4, 4, -7, 7), 1);
    EXPECT_THAT(publishedPoint(*carrier), ElementsAre(-3, 3, -4, 4, -7, 7, 1, 1000, 1000));
    EXPECT_EQ(link.LinkSetAirlockState(1), 1);
    EXPECT_EQ(link.LinkSetAirlockState(5), -1);
    EXPECT_EQ(link.LinkGetAirlockState(), 1);
    EXPECT_EQ(link.LinkSetDeleteOnDetect(0), 1);
    EXPECT_EQ(link.deleteOnDetect, 0);
}

TEST_F(CrewLinkTest, ResetGivesEveryFieldItsFreshValue) {
    Carrier* carrier = addBoundCarrier("A");
    const CrewLinkRecord& link = carrier->crew.Link();
    EXPECT_EQ(link.transferDock, 0u);
    EXPECT_EQ(link.arrivedVessel, nullptr);
    EXPECT_EQ(link.deleteOnDetect, 1);
    EXPECT_EQ(link.vessel, carrier);
    EXPECT_GE(link.pollTimer, 0.0);
    EXPECT_LT(link.pollTimer, 1.0);
    EXPECT_EQ(link.vesselHandle, carrier->GetHandle());
    EXPECT_EQ(link.attachment, nullptr);
    EXPECT_EQ(link.airlockDefined, 0);
    EXPECT_EQ(link.arrivalWeight, 60);
    EXPECT_EQ(link.auxiliaryCount, 1000);
    EXPECT_EQ(link.freeSeats, 1000);
    EXPECT_EQ(link.evaFileValue, 0);
    EXPECT_EQ(link.arrivalName[0], '\0');
}

TEST_F(CrewLinkTest, VesselsPollOutOfStep) {
    Carrier* a = addBoundCarrier("A");
    Carrier* b = addBoundCarrier("B");
    EXPECT_NE(a->crew.Link().pollTimer, b->crew.Link().pollTimer);
}

struct NeighbourPoints {
    const char* what;
    std::vector<std::pair<const char*, double>> points; // id and published free seats
    int32_t expected;
};

TEST_F(CrewLinkTest, DockedFreeSeatsFollowTheReadingRules) {
    const NeighbourPoints cases[] = {
        {"no points", {}, -1},
        {"no crew point", {{"Hook", 4}}, -1},
        {"look-alike ids first", {{"CKitX", 9}, {"ckit", 8}, {"CKi", 7}, {"CKit", 3}}, 3},
        {"first crew point wins", {{"CKit", 5}, {"CKit", 6}}, 5},
        {"no free seat", {{"CKit", 0.0}}, 0},
        {"truncated toward zero", {{"CKit", 2.9}}, 2},
        {"negative truncated toward zero", {{"CKit", -2.9}}, -2},
    };
    int serial = 0;
    for (const NeighbourPoints& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string suffix = std::to_string(serial++);
        carrierHooks().setClassCaps = [](Carrier& carrier) {
            WithDock(carrier);
            carrier.crew.InitCrewManager(carrier.GetHandle());
            carrier.crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7);
        };
        Carrier* own = addCarrier("Own" + suffix);
        carrierHooks() = CarrierHooks{};
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), -1) << "nothing docked yet";
        Carrier* other = dockNeighbour(*own, "Other" + suffix);
        other->CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "CKit", false);
        for (const auto& [id, seats] : c.points) {
            other->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {1, 0, seats}, id, false);
        }
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), c.expected);
        EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(1), -1) << "no such dock";
    }
}

TEST_F(CrewLinkTest, DockedFreeSeatsNeedTheOwnAirlockDefined) {
    Carrier* own = addBoundCarrier("Own");
    Carrier* other = dockNeighbour(*own, "Other");
    other->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {1, 0, 4}, "CKit", false);
    EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), -1);
    ASSERT_EQ(own->crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 1);
    EXPECT_EQ(own->crew.Link().LinkReadDockedFreeSeats(0), 4);
}

TEST_F(CrewLinkTest, OpenCrewPointIsTheFirstWhoseStateIsNotZero) {
    Carrier* vessel = addCarrier("A");
    EXPECT_EQ(FindCrewPoint(*vessel, false), nullptr);
    ATTACHMENTHANDLE closed =
        vessel->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {0.0, 0, 3}, "CKit", false);
    vessel->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {1.0, 0, 3}, "CKit ", false);
    EXPECT_EQ(FindCrewPoint(*vessel, true), nullptr);
    ATTACHMENTHANDLE open =
        vessel->CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {-1e-300, 0, 3}, "CKit", false);
    EXPECT_EQ(FindCrewPoint(*vessel, false), closed);
    EXPECT_EQ(FindCrewPoint(*vessel, true), open);
}

TEST_F(CrewLinkTest, ArrivalNameSkipsThePrefixAndIsCut) {
    CrewLinkRecord link{};
    std::snprintf(link.arrivalName, sizeof link.arrivalName, "%s",
                  "CKit_Doc-A_name_that_runs_past_thirty-t");
    char name[40];
    std::memset(name, 'x', sizeof name);
    link.LinkGetArrivalName(name, 39);
    EXPECT_STREQ(name, "Doc-A_name_that_runs_past_thirty");
    link.LinkGetArrivalName(name, 3);
    EXPECT_STREQ(name, "Doc");
    std::snprintf(link.arrivalName, sizeof link.arrivalName, "%s", "CKit_Ann");
    link.LinkGetArrivalName(name, 39);
    EXPECT_STREQ(name, "Ann");
}

} // namespace
} // namespace crewtest
