// A person created inside another vessel's airlock box steps out along its own +z to 1 m past
// the box, so that the intake does not take it straight back; nothing else moves.
#include "tests/addons/WalkerWorld.h"

namespace ckit::test {
namespace {

// Box of the colony's crew point: x -2..2, y -1..1, z 0..4.
constexpr VECTOR3 kBoxPos{-2, 2, -1};
constexpr VECTOR3 kBoxDir{1, 0, 4};
constexpr VECTOR3 kColonyPos{7e6, 100, -50};

class WalkerAirlockTest : public WalkerTest {
protected:
    // A test vessel publishing the box on a point for children with this id.
    VESSEL* addColony(const MATRIX3& rot, const char* pointId = "CKit") {
        vx::test::testHooks().setClassCaps = [pointId](vx::test::TestVessel& v) {
            v.CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "DockRing");
            v.CreateAttachment(false, kBoxPos, kBoxDir, {1, 0, 0}, pointId);
        };
        VESSELSTATUS status{};
        status.rpos = kColonyPos;
        status.rrot = rot;
        vx::VesselRecord* record = world().createVessel("Colony", "Test", status);
        EXPECT_NE(record, nullptr);
        return record != nullptr ? vapiGetVesselInterface(record) : nullptr;
    }

    // Where a walker created at local (colony frame) stands afterwards, in the colony frame.
    VECTOR3 walkerAfterCreation(VESSEL& colony, const std::string& name, const VECTOR3& local,
                                const MATRIX3& walkerRot) {
        VECTOR3 global{};
        colony.Local2Rel(local, global);
        VESSEL* walker = createWalker(name, global, walkerRot);
        VECTOR3 now{}, inColony{};
        if (walker != nullptr) {
            walker->GetGlobalPos(now);
            colony.Global2Local(now, inColony);
        }
        return inColony;
    }
};

void expectNear(const VECTOR3& got, const VECTOR3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-6);
    EXPECT_NEAR(got.y, want.y, 1e-6);
    EXPECT_NEAR(got.z, want.z, 1e-6);
}

struct StepOutCase {
    const char* label;
    MATRIX3 colonyRot;
    MATRIX3 walkerRot;
    VECTOR3 start; // colony frame
    VECTOR3 end;   // colony frame
};

class WalkerStepsOut : public WalkerAirlockTest,
                       public ::testing::WithParamInterface<StepOutCase> {};

TEST_P(WalkerStepsOut, EndsOneMetreOutsideAlongItsOwnPlusZ) {
    const StepOutCase& c = GetParam();
    VESSEL* colony = addColony(c.colonyRot);
    ASSERT_NE(colony, nullptr);
    expectNear(walkerAfterCreation(*colony, "CKit_Eng-Vasko", c.start, c.walkerRot), c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, WalkerStepsOut,
    ::testing::Values(
        StepOutCase{"AheadThroughFarFace", identity(), identity(), {0, 0, 1}, {0, 0, 5}},
        StepOutCase{"TurnedToMinusX", identity(), turnY(-90), {1, 0, 2}, {-3, 0, 2}},
        StepOutCase{"TurnedUp", identity(), turnX(-90), {0, 0.5, 2}, {0, 2, 2}},
        StepOutCase{"BoxInTurnedColonyFrame", turnY(90), identity(), {1, 0, 2}, {-3, 0, 2}},
        StepOutCase{"Oblique", identity(), turnY(-45), {0, 0, 1}, {-2.70710678, 0, 3.70710678}}),
    [](const ::testing::TestParamInfo<StepOutCase>& param) { return param.param.label; });

struct StayCase {
    const char* label;
    const char* vesselName;
    const char* pointId;
    VECTOR3 start;
};

class WalkerStays : public WalkerAirlockTest, public ::testing::WithParamInterface<StayCase> {};

TEST_P(WalkerStays, DoesNotMove) {
    const StayCase& c = GetParam();
    VESSEL* colony = addColony(identity(), c.pointId);
    ASSERT_NE(colony, nullptr);
    expectNear(walkerAfterCreation(*colony, c.vesselName, c.start, identity()), c.start);
}

INSTANTIATE_TEST_SUITE_P(
    Outside, WalkerStays,
    ::testing::Values(StayCase{"BeyondTheBox", "CKit_Eng-Vasko", "CKit", {0, 0, 4.5}},
                      StayCase{"OnTheFarFace", "CKit_Eng-Vasko", "CKit", {0, 0, 4}},
                      StayCase{"OnASideFace", "CKit_Eng-Vasko", "CKit", {2, 0, 2}},
                      StayCase{"PointIdOnlyBeginsWithCKit", "CKit_Eng-Vasko", "CKitX", {0, 0, 1}},
                      StayCase{
                          "TransferVesselStaysForItsReceiver", "CKitTColony", "CKit", {0, 0, 1}},
                      StayCase{"PlainVessel", "Rover", "CKit", {0, 0, 1}}),
    [](const ::testing::TestParamInfo<StayCase>& param) { return param.param.label; });

TEST_F(WalkerAirlockTest, PersonLoadedFromAScenarioStaysWhereItWasSaved) {
    vx::test::testHooks().setClassCaps = [](vx::test::TestVessel& v) {
        v.CreateAttachment(false, kBoxPos, kBoxDir, {1, 0, 0}, "CKit");
    };
    loadText("BEGIN_VESSEL Test Colony\n  POS 7000000 100 -50\nEND_VESSEL\n"
             "BEGIN_VESSEL CKit CKit_Eng-Vasko\n  POS 7000000 100 -49\n  CREW 37 72 81\n"
             "END_VESSEL\n");
    VESSEL* walker = vapiGetVesselInterface(world().findVessel("CKit_Eng-Vasko"));
    ASSERT_NE(walker, nullptr);
    VECTOR3 now{};
    walker->GetGlobalPos(now);
    expectNear(now, {7000000, 100, -49});
}

} // namespace
} // namespace ckit::test
