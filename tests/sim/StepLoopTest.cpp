// The step loop and the vessel list: callback order, vessels created and deleted inside a
// step, handles, refusals of vapiCreateVessel, motion, and no heap use per step.
#include <algorithm>
#include <cmath>

#include "host/Vapi.h"
#include "tests/sim/AllocationCounter.h"
#include "tests/sim/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;

class StepLoopTest : public HostTest {};

TEST_F(StepLoopTest, PreStepsThenPostStepsInCreationOrder) {
    addTestVessel("A");
    addTestVessel("B");
    addTestVessel("C");
    testCalls().clear();
    world().step(0.1);
    EXPECT_THAT(testCalls(), ElementsAre("preStep A", "preStep B", "preStep C", "postStep A",
                                         "postStep B", "postStep C"));
}

TEST_F(StepLoopTest, CreateVesselRunsItsSetUpBeforeReturning) {
    VESSELSTATUS status{};
    status.rpos = {7e6, 1, 2};
    status.rvel = {0, 7546, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    OBJHANDLE handle = nullptr;
    testHooks().postCreation = [&](TestVessel& vessel) {
        // The state is applied before clbkPostCreation, and the vessel is listed.
        VECTOR3 pos;
        vessel.GetGlobalPos(pos);
        EXPECT_EQ(pos.y, 1.0);
        EXPECT_EQ(vapiGetObjectByName("New"), vessel.GetHandle());
    };
    world();
    handle = vapiCreateVessel("New", "Test", status);
    ASSERT_NE(handle, nullptr);
    EXPECT_THAT(testCalls(), ElementsAre("setClassCaps New", "postCreation New"));
    EXPECT_THAT(eventsOf(events, "vessel+"), ElementsAre("New (Test)"));
    EXPECT_EQ(vapiGetFocusObject(), handle); // the first vessel takes the focus
}

TEST_F(StepLoopTest, CreateVesselRefusesEmptyTakenOrBodyNamesAndMissingClasses) {
    addTestVessel("Taken");
    struct Case {
        const char* name;
        const char* className;
    };
    const Case refused[] = {{"", "Test"},
                            {"Taken", "Test"},
                            {"Earth", "Test"},
                            {"Fresh", "NoSuchClass"},
                            {"Fresh", "../Test"}};
    VESSELSTATUS status{};
    for (const Case& c : refused) {
        events.clear();
        EXPECT_EQ(vapiCreateVessel(c.name, c.className, status), nullptr)
            << c.name << " " << c.className;
        EXPECT_EQ(vapiGetVesselCount(), 1u);
        EXPECT_TRUE(eventsOf(events, "vessel+").empty());
    }
}

TEST_F(StepLoopTest, VesselCreatedInPreStepIsListedAtOnceAndStepsFromTheNextStep) {
    addTestVessel("A");
    addTestVessel("B");
    testHooks().preStep = [](TestVessel& vessel, double, double) {
        if (std::string(vessel.GetName()) != "A" || vapiGetObjectByName("Kid") != nullptr) {
            return;
        }
        VESSELSTATUS status;
        vessel.GetStatus(status);
        OBJHANDLE kid = vapiCreateVessel("Kid", "Test", status);
        ASSERT_NE(kid, nullptr);
        EXPECT_EQ(vapiGetVesselCount(), 3u);
        EXPECT_EQ(vapiGetVesselByIndex(2), kid);
        EXPECT_EQ(vapiGetObjectByName("Kid"), kid);
        EXPECT_NE(vapiGetVesselInterface(kid), nullptr);
    };
    testCalls().clear();
    world().step(0.1);
    EXPECT_THAT(testCalls(), ElementsAre("preStep A", "setClassCaps Kid", "postCreation Kid",
                                         "preStep B", "postStep A", "postStep B"));
    testCalls().clear();
    world().step(0.1);
    EXPECT_THAT(testCalls(), ElementsAre("preStep A", "preStep B", "preStep Kid", "postStep A",
                                         "postStep B", "postStep Kid"));
}

TEST_F(StepLoopTest, VesselDeletedInPreStepLeavesAtOnceAndIsDestroyedAtTheEnd) {
    addTestVessel("A");
    VesselRecord* b = addTestVessel("B");
    addTestVessel("C");
    testHooks().preStep = [b](TestVessel& vessel, double, double) {
        if (std::string(vessel.GetName()) != "A" || !b->alive) {
            return;
        }
        ASSERT_TRUE(vapiDeleteVessel(b));
        EXPECT_EQ(vapiGetVesselCount(), 2u);
        EXPECT_EQ(vapiGetObjectByName("B"), nullptr);
        EXPECT_STREQ(vapiGetVesselInterface(vapiGetVesselByIndex(1))->GetName(), "C");
        EXPECT_EQ(vapiGetVesselInterface(b), nullptr);
    };
    testCalls().clear();
    world().step(0.1);
    // B gets no callbacks once deleted; vvcExit waits for the end of the step.
    EXPECT_THAT(testCalls(),
                ElementsAre("preStep A", "preStep C", "postStep A", "postStep C", "exit B"));
    EXPECT_THAT(eventsOf(events, "vessel-"), ElementsAre("B"));
}

TEST_F(StepLoopTest, DeletedFocusPassesToTheFirstVessel) {
    addTestVessel("A");
    VesselRecord* b = addTestVessel("B");
    world().setFocus(b);
    events.clear();
    ASSERT_TRUE(vapiDeleteVessel(b));
    // Outside a step the vessel is destroyed at once.
    EXPECT_EQ(testCalls().back(), "exit B");
    EXPECT_EQ(vapiGetFocusObject(), vapiGetObjectByName("A"));
    EXPECT_THAT(events, ElementsAre("vessel-: B", "focus: A"));
}

TEST_F(StepLoopTest, HandleOfADeletedVesselIsNeverReused) {
    VesselRecord* first = addTestVessel("Same");
    ASSERT_TRUE(vapiDeleteVessel(first));
    VesselRecord* second = addTestVessel("Same");
    EXPECT_NE(first, second);
    EXPECT_EQ(vapiGetObjectByName("Same"), second);
    EXPECT_EQ(vapiGetVesselInterface(first), nullptr);
    EXPECT_FALSE(vapiDeleteVessel(first));
    EXPECT_EQ(vapiSetFocusObject(first), nullptr);
    EXPECT_EQ(vapiGetFocusObject(), second);
}

TEST_F(StepLoopTest, ObjectLookupIsExactAndFindsTheBody) {
    addTestVessel("Halcyra Colony");
    EXPECT_NE(vapiGetObjectByName("Halcyra Colony"), nullptr);
    EXPECT_EQ(vapiGetObjectByName("halcyra colony"), nullptr);
    EXPECT_EQ(vapiGetObjectByName("Halcyra"), nullptr);
    OBJHANDLE body = vapiGetObjectByName("Earth");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(vapiGetVesselInterface(body), nullptr);
    char name[4];
    vapiGetObjectName(vapiGetObjectByName("Halcyra Colony"), name, sizeof name);
    EXPECT_STREQ(name, "Hal");
}

TEST_F(StepLoopTest, GravityUsesSemiImplicitEuler) {
    VesselRecord* vessel = addTestVessel("A", {7e6, 0, 0}, {0, 7546, 0});
    const double gm = world().body().gm;
    world().step(2.0);
    // v += a dt first, then r += v dt with the new v.
    const double vx = -gm / (7e6 * 7e6) * 2.0;
    EXPECT_DOUBLE_EQ(vessel->vel.x, vx);
    EXPECT_DOUBLE_EQ(vessel->vel.y, 7546.0);
    EXPECT_DOUBLE_EQ(vessel->pos.x, 7e6 + vx * 2.0);
    EXPECT_DOUBLE_EQ(vessel->pos.y, 7546.0 * 2.0);
    // The next step pulls from where the vessel is now.
    const VECTOR3 r = vessel->pos;
    const VECTOR3 v = vessel->vel;
    const double d = std::sqrt(r.x * r.x + r.y * r.y);
    world().step(2.0);
    EXPECT_DOUBLE_EQ(vessel->vel.y, v.y - gm * r.y / (d * d * d) * 2.0);
    EXPECT_DOUBLE_EQ(vessel->pos.y, r.y + vessel->vel.y * 2.0);
}

TEST_F(StepLoopTest, WithoutGravityVesselsFlyStraight) {
    world().body().gm = 0.0;
    VesselRecord* vessel = addTestVessel("A", {7e6, 0, 0}, {1, 2, 3});
    for (int i = 0; i < 10; ++i) {
        world().step(0.5);
    }
    EXPECT_DOUBLE_EQ(vessel->pos.x, 7e6 + 5);
    EXPECT_DOUBLE_EQ(vessel->pos.y, 10);
    EXPECT_DOUBLE_EQ(vessel->pos.z, 15);
}

TEST_F(StepLoopTest, StepsAllocateNothingOnceRunning) {
    // Several vessels, spinning, docked, drawing an unchanging HUD, with a module among them.
    testHooks().record = false;
    testHooks().drawHud = [](TestVessel&, const HUDPAINTSPEC&, HDC hdc) {
        TextOutA(hdc, 5, 180, "steady", 6);
    };
    testHooks().preStep = [](TestVessel& vessel, double, double) {
        VECTOR3 v;
        vessel.GetHorizonAirspeedVector(v);
        vapiGetObjectByName("B");
    };
    loadText("BEGIN_WORLD\n  FOCUS C\nEND_WORLD\n"
             "BEGIN_VESSEL Probe A\n  POS 7000000 0 0\n  VEL 0 7546 0\n  AVEL 0 0 3\n"
             "  SPIN 0.1\nEND_VESSEL\n"
             "BEGIN_VESSEL Probe B\n  POS 7000000 0 10\n  VEL 0 7546 0\n  DOCK 1 0 A\n"
             "END_VESSEL\n"
             "BEGIN_VESSEL Test C\n  POS 7000100 0 0\n  VEL 0 7546 0\n  AVEL 1 2 3\nEND_VESSEL\n"
             "BEGIN_VESSEL Test D\n  POS 7000200 0 0\n  VEL 0 7546 0\nEND_VESSEL\n");
    for (int i = 0; i < 20; ++i) {
        world().step(0.1); // warm-up: the first HUD frame is reported
    }
    const std::size_t before = allocationCount();
    for (int i = 0; i < 300; ++i) {
        world().step(0.1);
    }
    EXPECT_EQ(allocationCount() - before, 0u);
}

} // namespace
} // namespace vx::test
