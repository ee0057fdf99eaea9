// Touching down: held at the clearance for one step with the impact speed, then at rest.
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

struct Seen {
    bool contact;
    double verticalSpeed;
    int status;
};

class TouchdownTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        world().body().gm = 0.0;
        testHooks().preStep = [this](TestVessel& vessel, double, double) {
            VECTOR3 airspeed{};
            vessel.GetHorizonAirspeedVector(airspeed);
            VESSELSTATUS status;
            vessel.GetStatus(status);
            seen.push_back({vessel.GroundContact(), airspeed.y, status.status});
        };
    }
    std::vector<Seen> seen;
};

TEST_F(TouchdownTest, NextPreStepSeesContactWithTheImpactSpeedThenTheVesselRests) {
    testHooks().setClassCaps = [](TestVessel& vessel) {
        vessel.SetTouchdownPoints({0, -2, 1}, {1, -3, -1}, {-1, -2.5, -1});
    };
    const double radius = world().body().radius;
    VesselRecord* vessel = addTestVessel("Lander", {radius + 10.5, 0, 0}, {-5, 0, 0});
    world().step(1.0); // 5.5 m up, above the clearance of 3 m
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius + 5.5);
    world().step(1.0); // would end 0.5 m up, below the clearance: held at it
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius + 3.0);
    EXPECT_DOUBLE_EQ(vessel->vel().x, -5.0);
    world().step(1.0); // sees the impact, then comes to rest
    world().step(1.0);
    world().step(1.0);

    ASSERT_EQ(seen.size(), 5u);
    EXPECT_FALSE(seen[1].contact);
    EXPECT_TRUE(seen[2].contact);
    EXPECT_DOUBLE_EQ(seen[2].verticalSpeed, -5.0);
    EXPECT_EQ(seen[2].status, VESSELSTATUS_FLIGHT);
    EXPECT_TRUE(seen[3].contact);
    EXPECT_DOUBLE_EQ(seen[3].verticalSpeed, 0.0);
    EXPECT_EQ(seen[3].status, VESSELSTATUS_LANDED);
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius + 3.0);
}

TEST_F(TouchdownTest, WithoutTouchdownPointsTheClearanceIsZero) {
    const double radius = world().body().radius;
    VesselRecord* vessel = addTestVessel("Rock", {radius + 1.0, 0, 0}, {-2, 0, 0});
    world().step(1.0);
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius);
    EXPECT_TRUE(vapiGetVesselInterface(vessel)->GroundContact());
}

TEST_F(TouchdownTest, TouchdownPointsSetAfterCreationMoveTheClearance) {
    const double radius = world().body().radius;
    VesselRecord* vessel = addTestVessel("Late", {radius + 15.0, 0, 0}, {-5, 0, 0});
    world().step(1.0);
    vapiGetVesselInterface(vessel)->SetTouchdownPoints({0, -4, 0}, {1, -4, 0}, {0, -4, 1});
    world().step(1.0); // ends 5 m up, above the new clearance of 4 m
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius + 5.0);
    world().step(1.0); // would end at 0 m: held at 4 m
    EXPECT_DOUBLE_EQ(vessel->pos().x, radius + 4.0);
    EXPECT_TRUE(vapiGetVesselInterface(vessel)->GroundContact());
}

TEST_F(TouchdownTest, LandedVesselStaysPutUnderGravity) {
    world().body().gm = 3.986004418e14;
    const double radius = world().body().radius;
    VESSELSTATUS status{};
    status.rpos = {0, radius, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    status.status = VESSELSTATUS_LANDED;
    OBJHANDLE handle = vapiCreateVessel("Parked", "Test", status);
    for (int i = 0; i < 10; ++i) {
        world().step(1.0);
    }
    VECTOR3 pos;
    vapiGetGlobalPos(handle, &pos);
    EXPECT_DOUBLE_EQ(pos.y, radius);
    EXPECT_TRUE(vapiGetVesselInterface(handle)->GroundContact());
}

} // namespace
} // namespace vx::test
