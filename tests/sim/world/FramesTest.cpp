// Frames of a vessel: the scenario's Euler angles, vessel frame to global and back, the
// horizon frame, and turning by the angular velocity in the vessel's own frame.
#include <cmath>
#include <numbers>

#include "sim/world/Math3.h"
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Written out element by element, independently of the host's matrix code.
MATRIX3 expectedRotation(double a, double b, double c) {
    const double ca = std::cos(a * kDeg), sa = std::sin(a * kDeg);
    const double cb = std::cos(b * kDeg), sb = std::sin(b * kDeg);
    const double cc = std::cos(c * kDeg), sc = std::sin(c * kDeg);
    return {cc * cb,
            cc * sb * sa - sc * ca,
            cc * sb * ca + sc * sa,
            sc * cb,
            sc * sb * sa + cc * ca,
            sc * sb * ca - cc * sa,
            -sb,
            cb * sa,
            cb * ca};
}

void expectNear(const MATRIX3& got, const MATRIX3& want, double tolerance) {
    const double* g = &got.m11;
    const double* w = &want.m11;
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(g[i], w[i], tolerance) << "element " << i;
    }
}

void expectNear(const VECTOR3& got, const VECTOR3& want, double tolerance) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

struct Pose {
    const char* name;
    VECTOR3 pos;
    VECTOR3 oriDegrees;
};

void PrintTo(const Pose& pose, std::ostream* out) {
    *out << pose.name;
}

class FramesTest : public HostTest, public ::testing::WithParamInterface<Pose> {};

TEST_P(FramesTest, ScenarioOrientationIsRzRyRxAndFramesRoundTrip) {
    const Pose pose = GetParam();
    const std::string pos = std::to_string(pose.pos.x) + " " + std::to_string(pose.pos.y) + " " +
                            std::to_string(pose.pos.z);
    const std::string ori = std::to_string(pose.oriDegrees.x) + " " +
                            std::to_string(pose.oriDegrees.y) + " " +
                            std::to_string(pose.oriDegrees.z);
    loadText("BEGIN_VESSEL Test A\n  POS " + pos + "\n  ORI " + ori + "\nEND_VESSEL\n");
    VESSEL* vessel = vapiGetVesselInterface(vapiGetObjectByName("A"));
    ASSERT_NE(vessel, nullptr);

    MATRIX3 rot;
    vessel->GetRotationMatrix(rot);
    const MATRIX3 want = expectedRotation(pose.oriDegrees.x, pose.oriDegrees.y, pose.oriDegrees.z);
    expectNear(rot, want, 1e-12);

    const VECTOR3 points[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-3.5, 120.25, 9e3}};
    VECTOR3 p;
    vessel->GetGlobalPos(p);
    for (const VECTOR3& local : points) {
        VECTOR3 rel, dir, back;
        vessel->Local2Rel(local, rel);
        vessel->GlobalRot(local, dir);
        vessel->Global2Local(rel, back);
        expectNear(dir, mul(want, local), 1e-9);
        expectNear(rel, add(mul(want, local), p), 1e-6);
        expectNear(back, local, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Poses, FramesTest,
    ::testing::Values(Pose{"Unturned", {7e6, 0, 0}, {0, 0, 0}},
                      Pose{"Rolled", {7e6, -2500, 31}, {90, 0, 0}},
                      Pose{"AllThree", {-4e6, 5e6, 1e3}, {10, 20, 30}},
                      Pose{"OverThePole", {0, 0, 6.9e6}, {-45, 60, 170}},
                      Pose{"NearlyPitchedUp", {1e5, 2e5, 3e5}, {33, -89, -120}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(EulerAngles, DerivedAnglesRebuildTheSameMatrix) {
    const VECTOR3 cases[] = {{0, 0, 0},     {10, 20, 30}, {-170, 45, 100},
                             {90, 89.9, 5}, {12, 90, 40}, {0, -90, -30}};
    for (const VECTOR3& degrees : cases) {
        const MATRIX3 m = rotationFromEulerDegrees(degrees);
        expectNear(rotationFromEulerDegrees(eulerDegreesFromRotation(m)), m, 1e-9);
    }
}

class HorizonTest : public HostTest {};

TEST_F(HorizonTest, AirspeedIsEastUpNorthOfTheVelocity) {
    struct Case {
        VECTOR3 pos, vel, want;
    };
    const Case cases[] = {
        {{7e6, 0, 0}, {0, 7546, 0}, {7546, 0, 0}}, // east is +y here
        {{7e6, 0, 0}, {-3, 0, 0}, {0, -3, 0}},     // falling straight down
        {{7e6, 0, 0}, {0, 0, 12}, {0, 0, 12}},     // north is +z
        {{0, 7e6, 0}, {5, 0, 0}, {-5, 0, 0}},      // east is -x here
        {{0, 0, 7e6}, {2, 0, 0}, {2, 0, 0}},       // over the pole east falls back to +x
    };
    for (const Case& c : cases) {
        VesselRecord* record = addTestVessel("V" + std::to_string(&c - cases), c.pos, c.vel);
        VECTOR3 airspeed;
        EXPECT_TRUE(vapiGetVesselInterface(record)->GetHorizonAirspeedVector(airspeed));
        expectNear(airspeed, c.want, 1e-9);
    }
}

class SpinTest : public HostTest {};

TEST_F(SpinTest, AngularVelocityTurnsAboutTheVesselsOwnAxes) {
    // Pitched 90 degrees first, then spinning about its own x axis: the turn is R0 * Rx(wt),
    // which differs from Rx(wt) * R0 unless the axes are taken in the vessel frame.
    loadText("BEGIN_WORLD\n  BODY Earth 6371000 0\nEND_WORLD\n"
             "BEGIN_VESSEL Test A\n  POS 7000000 0 0\n  ORI 0 0 90\n  AVEL 9 0 0\nEND_VESSEL\n");
    for (int i = 0; i < 100; ++i) {
        world().step(0.1);
    }
    MATRIX3 rot;
    vapiGetVesselInterface(vapiGetObjectByName("A"))->GetRotationMatrix(rot);
    const MATRIX3 want = mul(expectedRotation(0, 0, 90), expectedRotation(90, 0, 0));
    expectNear(rot, want, 1e-9);
    // Still a rotation: columns of unit length, at right angles.
    const VECTOR3 x{rot.m11, rot.m21, rot.m31}, y{rot.m12, rot.m22, rot.m32};
    EXPECT_NEAR(length(x), 1.0, 1e-12);
    EXPECT_NEAR(dot(x, y), 0.0, 1e-12);
}

TEST_F(SpinTest, IdleVesselsKeepTheirOrientationToTheBit) {
    loadText("BEGIN_VESSEL Test A\n  POS 7000000 0 0\n  ORI 10 20 30\nEND_VESSEL\n");
    VesselRecord* vessel = world().findVessel("A");
    const MATRIX3 before = vessel->rot;
    for (int i = 0; i < 50; ++i) {
        world().step(0.5);
    }
    EXPECT_TRUE(sameBits(vessel->rot, before));
}

} // namespace
} // namespace vx::test
