// A member crossing into the ship at dock 0: the transfer vessel, where it appears and what it
// carries, the transfer exchange file, and the receiving ship's intake at its next poll.
#include <string>
#include <vector>

#include "crew/CrewLink.h"
#include "tests/crew/CrewTravel.h"

namespace crewtest {
namespace {

constexpr char kTransferFile[] = "config/CKittmpT.cfg";

// Own z axis along global x, own x along global y.
const MATRIX3 kTurned = FromColumns({0, 1, 0}, {0, 0, 1}, {1, 0, 0});

struct Intake {
    std::string vessel;
    double simt;
    int32_t result;
};

class CrewTransferTest : public CrewTravelTest {
protected:
    void SetUp() override {
        CrewTravelTest::SetUp();
        // Every carrier takes in arrivals in each step, as a vessel does.
        carrierHooks().preStep = [this](Carrier& carrier, double simt) {
            const int32_t result = carrier.crew.ProcessArrivals();
            if (result != 0) {
                intakes.push_back({carrier.GetName(), simt, result});
            }
        };
    }

    // Steps until the vessel reports an intake or the time is up; the intake's time, or -1.
    double stepUntilIntake(const std::string& vessel, double dt, double seconds) {
        const double start = world().simTime();
        while (world().simTime() - start < seconds) {
            world().step(dt);
            for (const Intake& intake : intakes) {
                if (intake.vessel == vessel) {
                    return intake.simt - start;
                }
            }
        }
        return -1.0;
    }

    // Where a point of a vessel's frame is, relative to the body.
    static VECTOR3 at(const VESSEL& vessel, const VECTOR3& local) {
        VECTOR3 rel{};
        vessel.Local2Rel(local, rel);
        return rel;
    }

    static void expectNear(const VECTOR3& got, const VECTOR3& want) {
        EXPECT_NEAR(got.x, want.x, 1e-6);
        EXPECT_NEAR(got.y, want.y, 1e-6);
        EXPECT_NEAR(got.z, want.z, 1e-6);
    }

    std::vector<Intake> intakes;
};

TEST_F(CrewTransferTest, MemberCrossesBothWaysAndIsTakenInAtTheReceiversNextPoll) {
    Carrier* alpha = addDockingCarrier("Alpha");
    Carrier* bravo = addDockingCarrier("Bravo");
    Pose pose;
    pose.pos = {7e6, 40, 20};
    pose.rot = kTurned;
    setPose(bravo, pose);
    // An airlock box off the ship's centre, so that its middle is not the ship's position.
    ASSERT_EQ(bravo->crew.DefineAirlockShape(1, 1, 3, -2, 0, 4, 10), 1);
    dockPair(alpha, bravo);
    ASSERT_EQ(alpha->crew.AddCrewMember("Ann", 33, 72, 80, "Eng"), 1);
    vapiSetFocusObject(alpha->GetHandle());
    // Let both poll a while first, so that the next poll is at most a quarter second away.
    world().step(1.0);
    ASSERT_TRUE(intakes.empty());

    ASSERT_EQ(alpha->crew.EvaCrewMember("Ann"), 2);
    EXPECT_STREQ(alpha->crew.GetLastLeftName(), "Ann");
    EXPECT_EQ(alpha->crew.GetCrewCount(), 0);
    EXPECT_EQ(publishedPoint(*alpha)[8], 8.0);
    EXPECT_EQ(alpha->GetEmptyMass(), kCarrierMass);
    VESSEL* carrierVessel = vapiGetVesselInterface(vapiGetObjectByName("CKitTBravo"));
    ASSERT_NE(carrierVessel, nullptr);
    EXPECT_STREQ(carrierVessel->GetClassNameA(), "CKit");
    VECTOR3 where{};
    carrierVessel->GetGlobalPos(where);
    expectNear(where, at(*bravo, {2, -1, 7}));
    EXPECT_THAT(parentIds(*carrierVessel), ::testing::ElementsAre(kOwnPointId, "C-Ki"));
    const VECTOR3 data = lastParentPos(*carrierVessel);
    EXPECT_EQ(data.x, 33.0);
    EXPECT_EQ(data.y, 72.0);
    EXPECT_EQ(data.z, 80.0);

    const std::vector<unsigned char> bytes = readBytes(kTransferFile);
    ASSERT_EQ(bytes.size(), 104u);
    EXPECT_EQ(TextAt(bytes, 0, 40), "CKit_Eng-Ann");
    EXPECT_EQ(Int32At(bytes, 80), 33);
    EXPECT_EQ(Int32At(bytes, 84), 72);
    EXPECT_EQ(Int32At(bytes, 88), 100);
    EXPECT_EQ(Int32At(bytes, 92), 80);
    EXPECT_EQ(Int32At(bytes, 96), 0);
    EXPECT_EQ(Int32At(bytes, 100), 0);

    const double dt = 0.05;
    const double taken = stepUntilIntake("Bravo", dt, 2.0);
    ASSERT_GE(taken, 0.0) << "never taken in";
    EXPECT_LE(taken, 0.25 + dt + 1e-9);
    ASSERT_EQ(intakes.size(), 1u);
    EXPECT_EQ(intakes[0].result, 2);
    EXPECT_FALSE(fileExists(kTransferFile));
    EXPECT_FALSE(exists("CKitTBravo"));
    ASSERT_EQ(bravo->crew.GetCrewCount(), 1);
    EXPECT_STREQ(bravo->crew.GetCrewNameBySlot(0), "Ann");
    EXPECT_STREQ(bravo->crew.GetCrewMiscIdBySlot(0), "Eng");
    EXPECT_EQ(bravo->crew.GetCrewAgeBySlot(0), 33);
    EXPECT_EQ(bravo->crew.roster[0].pulse, 72);
    EXPECT_EQ(bravo->crew.roster[0].weight, 80.0);
    EXPECT_STREQ(bravo->crew.GetLastArrivedName(), "Ann");
    EXPECT_EQ(bravo->GetEmptyMass(), kCarrierMass + 80.0);
    EXPECT_EQ(publishedPoint(*bravo)[8], 7.0);
    EXPECT_EQ(vapiGetFocusObject(), alpha->GetHandle()) << "a transfer leaves the focus alone";

    // And back: Alpha's box is centred on Alpha.
    intakes.clear();
    ASSERT_EQ(bravo->crew.EvaCrewMember("ann"), 2);
    VESSEL* back = vapiGetVesselInterface(vapiGetObjectByName("CKitTAlpha"));
    ASSERT_NE(back, nullptr);
    back->GetGlobalPos(where);
    expectNear(where, at(*alpha, {0, 0, 0}));
    ASSERT_GE(stepUntilIntake("Alpha", dt, 2.0), 0.0);
    EXPECT_EQ(intakes.back().result, 2);
    EXPECT_EQ(bravo->crew.GetCrewCount(), 0);
    ASSERT_EQ(alpha->crew.GetCrewCount(), 1);
    EXPECT_STREQ(alpha->crew.GetCrewMiscIdByName("ANN"), "Eng");
    EXPECT_FALSE(exists("CKitTAlpha"));
    EXPECT_FALSE(fileExists(kTransferFile));
}

// A crew point made by hand on a ship without a crew manager.
struct HandPoint {
    const char* id;
    bool open;
    double seats;
    float box[6];
};

struct ChoiceCase {
    const char* what;
    std::vector<HandPoint> points;
    int32_t expected;
    VECTOR3 centre; // of the box the transfer vessel should stand in, ship frame
};

TEST_F(CrewTransferTest, TransferVesselStandsInTheFirstOpenCrewPoint) {
    const HandPoint closedA{"CKit", false, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint openA{"CKit", true, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint openB{"CKit", true, 5, {1, 3, -2, 0, 4, 10}};
    const HandPoint fullA{"CKit", true, 0, {10, 12, 10, 12, 10, 12}};
    const HandPoint fullClosedA{"CKit", false, 0.9, {10, 12, 10, 12, 10, 12}};
    const HandPoint longId{"CKitX", true, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint lowerCase{"ckit", true, 3, {10, 12, 10, 12, 10, 12}};
    const ChoiceCase cases[] = {
        {"closed then open", {closedA, openB}, 2, {2, -1, 7}},
        {"open then open", {openA, openB}, 2, {11, 11, 11}},
        {"all closed", {closedA, closedA}, -2, {}},
        {"id that only begins with CKit", {longId, openB}, 2, {2, -1, 7}},
        {"no exact id", {longId, lowerCase}, -5, {}},
        {"no points", {}, -5, {}},
        {"first crew point has no seat", {fullA, openB}, -3, {}},
        {"seats come from the first crew point, open or not", {fullClosedA, openB}, -3, {}},
    };
    int n = 0;
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string shipName = "Ship" + std::to_string(n);
        Carrier* sender = addDockingCarrier("Sender" + std::to_string(n));
        Carrier* ship = addBareDockingCarrier(shipName);
        ++n;
        Pose pose;
        pose.pos = {7e6, -30, 5};
        pose.rot = kTurned;
        setPose(ship, pose);
        for (const HandPoint& p : c.points) {
            ship->CreateAttachment(false, {p.box[0], p.box[1], p.box[2]},
                                   {p.box[3], p.box[4], p.box[5]},
                                   {p.open ? 1.0 : 0.0, 0.0, p.seats}, p.id, false);
        }
        dockPair(sender, ship);
        ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
        removeFile(kTransferFile);

        EXPECT_EQ(sender->crew.EvaCrewMember("Ann"), c.expected);
        VESSEL* carrierVessel =
            vapiGetVesselInterface(vapiGetObjectByName(("CKitT" + shipName).c_str()));
        if (c.expected != 2) {
            EXPECT_EQ(carrierVessel, nullptr);
            EXPECT_EQ(sender->crew.GetCrewCount(), 1);
            EXPECT_FALSE(fileExists(kTransferFile)) << "nothing is written for a refusal";
            continue;
        }
        ASSERT_NE(carrierVessel, nullptr);
        VECTOR3 where{};
        carrierVessel->GetGlobalPos(where);
        expectNear(where, at(*ship, c.centre));
        EXPECT_EQ(sender->crew.GetCrewCount(), 0);
    }
}

TEST_F(CrewTransferTest, ReceiverWithASpaceInItsNameNeverTakesItsTransferVesselIn) {
    Carrier* sender = addDockingCarrier("Sender");
    Carrier* ship = addDockingCarrier("Big Ship");
    dockPair(sender, ship);
    ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
    ASSERT_EQ(sender->crew.EvaCrewMember("Ann"), 2);
    EXPECT_TRUE(exists("CKitTBig_Ship"));
    EXPECT_LT(stepUntilIntake("Big Ship", 0.1, 3.0), 0.0);
    EXPECT_TRUE(exists("CKitTBig_Ship"));
    EXPECT_TRUE(fileExists(kTransferFile));
    EXPECT_EQ(ship->crew.GetCrewCount(), 0);
}

TEST_F(CrewTransferTest, TransferVesselNameIsCutToFitAndStillNumbered) {
    const std::string longName(40, 'S');
    Carrier* sender = addDockingCarrier("Sender");
    Carrier* ship = addDockingCarrier(longName);
    dockPair(sender, ship);
    const std::string expected = "CKitT" + std::string(33, 'S');
    addWalker(expected);
    ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
    ASSERT_EQ(sender->crew.EvaCrewMember("Ann"), 2);
    EXPECT_TRUE(exists(expected + "1"));
}

} // namespace
} // namespace crewtest
