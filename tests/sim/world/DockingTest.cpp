// Docks and docked groups: pairing rules, the group's leader, rigid motion, undocking.
#include "sim/world/Math3.h"
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;

class DockingTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        testHooks().setClassCaps = [](TestVessel& vessel) {
            vessel.CreateDock({0, 0, 10}, {0, 0, 1}, {0, 1, 0});
            vessel.CreateDock({0, 0, -10}, {0, 0, -1}, {0, 1, 0});
        };
    }

    // The pose of member relative to lead: Rl^T (pm - pl) and Rl^T Rm.
    static void relativePose(const VesselRecord& lead, const VesselRecord& member, VECTOR3& pos,
                             MATRIX3& rot) {
        pos = tmul(lead.rot, sub(member.pos(), lead.pos()));
        rot = tmul(lead.rot, member.rot);
    }
};

TEST_F(DockingTest, PortsPairOnceAndRefuseWhatIsTakenOrMissing) {
    VesselRecord* a = addTestVessel("A");
    VesselRecord* b = addTestVessel("B");
    VesselRecord* c = addTestVessel("C");
    std::string reason;
    ASSERT_TRUE(world().dock(a, 0, b, 1, reason)) << reason;
    EXPECT_TRUE(world().dock(b, 1, a, 0, reason)) << "the same dock named from the other side";

    struct Case {
        VesselRecord* first;
        unsigned int port;
        VesselRecord* second;
        unsigned int otherPort;
        const char* reason;
    };
    const Case refused[] = {{a, 0, c, 0, "port 0 of A is taken"},
                            {c, 0, b, 1, "port 1 of B is taken"},
                            {a, 2, c, 0, "A has no port 2"},
                            {c, 0, b, 7, "B has no port 7"},
                            {c, 0, c, 1, "C cannot dock to itself"}};
    for (const Case& r : refused) {
        EXPECT_FALSE(world().dock(r.first, r.port, r.second, r.otherPort, reason));
        EXPECT_EQ(reason, r.reason);
    }
    VESSEL* va = vapiGetVesselInterface(a);
    VESSEL* vb = vapiGetVesselInterface(b);
    EXPECT_EQ(va->GetDockStatus(va->GetDockHandle(0)), handleOf(b));
    EXPECT_EQ(vb->GetDockStatus(vb->GetDockHandle(1)), handleOf(a));
    EXPECT_EQ(va->GetDockStatus(va->GetDockHandle(1)), nullptr);
    EXPECT_EQ(va->GetDockStatus(vb->GetDockHandle(1)), nullptr) << "not A's port";
    EXPECT_THAT(eventsOf(events, "dock"), ElementsAre("A 0 B 1"));
}

TEST_F(DockingTest, GroupMovesRigidlyWithItsEarliestMember) {
    loadText("BEGIN_VESSEL Test Lead\n  POS 7000000 0 0\n  VEL 0 7546 0\n  ORI 5 10 15\n"
             "  AVEL 0.5 1 3.2\nEND_VESSEL\n"
             "BEGIN_VESSEL Test Mid\n  POS 7000000 0 20\n  VEL 0 7546 0\n  ORI 0 0 40\n"
             "  AVEL 7 0 0\nEND_VESSEL\n"
             "BEGIN_VESSEL Test Tail\n  POS 7000000 3 40\n  VEL 0 7546 0\nEND_VESSEL\n");
    VesselRecord* lead = world().findVessel("Lead");
    VesselRecord* mid = world().findVessel("Mid");
    VesselRecord* tail = world().findVessel("Tail");
    std::string reason;
    // Docked from the far end first: the leader is still the earliest created.
    ASSERT_TRUE(world().dock(tail, 1, mid, 0, reason)) << reason;
    ASSERT_TRUE(world().dock(mid, 1, lead, 0, reason)) << reason;
    EXPECT_EQ(tail->leader, lead);
    EXPECT_EQ(mid->leader, lead);

    VECTOR3 midPos, tailPos;
    MATRIX3 midRot, tailRot;
    relativePose(*lead, *mid, midPos, midRot);
    relativePose(*lead, *tail, tailPos, tailRot);
    for (int i = 0; i < 200; ++i) {
        world().step(0.1);
    }
    VECTOR3 pos;
    MATRIX3 rot;
    relativePose(*lead, *tail, pos, rot);
    EXPECT_NEAR(length(sub(pos, tailPos)), 0.0, 1e-6);
    EXPECT_NEAR(rot.m13, tailRot.m13, 1e-9);
    EXPECT_NEAR(rot.m21, tailRot.m21, 1e-9);
    relativePose(*lead, *mid, pos, rot);
    EXPECT_NEAR(length(sub(pos, midPos)), 0.0, 1e-6);
    EXPECT_NEAR(rot.m12, midRot.m12, 1e-9);
    EXPECT_NEAR(rot.m31, midRot.m31, 1e-9);
    // Mid's own spin plays no part while docked; the lead did turn.
    EXPECT_GT(length(sub(lead->pos(), {7e6, 0, 0})), 1000.0);
}

TEST_F(DockingTest, UndockedVesselFliesOnItsOwn) {
    world().body().gm = 0.0;
    VesselRecord* a = addTestVessel("A", {7e6, 0, 0}, {0, 0, 0});
    VesselRecord* b = addTestVessel("B", {7e6, 0, 20}, {0, 0, 1});
    std::string reason;
    ASSERT_TRUE(world().dock(a, 0, b, 1, reason));
    world().step(1.0);
    EXPECT_DOUBLE_EQ(b->pos().z, 20.0) << "follows the resting leader";
    ASSERT_TRUE(world().undock(b, 1, reason));
    EXPECT_FALSE(world().undock(b, 1, reason));
    EXPECT_EQ(reason, "port 1 of B is not docked");
    b->vel() = {0, 0, 1};
    world().step(1.0);
    EXPECT_DOUBLE_EQ(b->pos().z, 21.0);
    EXPECT_THAT(eventsOf(events, "undock"), ElementsAre("B 1"));
}

TEST_F(DockingTest, DeletingADockedVesselFreesTheOtherPort) {
    VesselRecord* a = addTestVessel("A");
    VesselRecord* b = addTestVessel("B");
    std::string reason;
    ASSERT_TRUE(world().dock(a, 1, b, 0, reason));
    ASSERT_TRUE(vapiDeleteVessel(b));
    VESSEL* va = vapiGetVesselInterface(a);
    EXPECT_EQ(va->GetDockStatus(va->GetDockHandle(1)), nullptr);
    EXPECT_EQ(a->leader, nullptr);
    VesselRecord* c = addTestVessel("C");
    EXPECT_TRUE(world().dock(a, 1, c, 0, reason)) << reason;
}

} // namespace
} // namespace vx::test
