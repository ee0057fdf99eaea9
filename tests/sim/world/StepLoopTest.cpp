// The step loop and the vessel list: callback order, vessels created and deleted inside a
// step, handles, refusals of vapiCreateVessel, motion, and no heap use per step.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "host/Vapi.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselCallbacks.h"
#include "tests/sim/world/AllocationCounter.h"
#include "tests/sim/world/HostTestSupport.h"

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
    EXPECT_DOUBLE_EQ(vessel->vel().x, vx);
    EXPECT_DOUBLE_EQ(vessel->vel().y, 7546.0);
    EXPECT_DOUBLE_EQ(vessel->pos().x, 7e6 + vx * 2.0);
    EXPECT_DOUBLE_EQ(vessel->pos().y, 7546.0 * 2.0);
    // The next step pulls from where the vessel is now.
    const VECTOR3 r = vessel->pos();
    const VECTOR3 v = vessel->vel();
    const double d = std::sqrt(r.x * r.x + r.y * r.y);
    world().step(2.0);
    EXPECT_DOUBLE_EQ(vessel->vel().y, v.y - gm * r.y / (d * d * d) * 2.0);
    EXPECT_DOUBLE_EQ(vessel->pos().y, r.y + vessel->vel().y * 2.0);
}

TEST_F(StepLoopTest, WithoutGravityVesselsFlyStraight) {
    world().body().gm = 0.0;
    VesselRecord* vessel = addTestVessel("A", {7e6, 0, 0}, {1, 2, 3});
    for (int i = 0; i < 10; ++i) {
        world().step(0.5);
    }
    EXPECT_DOUBLE_EQ(vessel->pos().x, 7e6 + 5);
    EXPECT_DOUBLE_EQ(vessel->pos().y, 10);
    EXPECT_DOUBLE_EQ(vessel->pos().z, 15);
}

// Vessel classes that override some of the step callbacks, recording the calls they get.
std::vector<std::string>& stepCalls() {
    static std::vector<std::string> calls;
    return calls;
}

class Quiet final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
};

class RecordsPreStep : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkPreStep(double, double, double) override {
        stepCalls().push_back(std::string("pre ") + GetName());
    }
};

class PreOnly final : public RecordsPreStep {
public:
    using RecordsPreStep::RecordsPreStep;
};

class PostOnly final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkPostStep(double, double, double) override {
        stepCalls().push_back(std::string("post ") + GetName());
    }
};

class BothSteps final : public RecordsPreStep {
public:
    using RecordsPreStep::RecordsPreStep;
    void clbkPostStep(double, double, double) override {
        stepCalls().push_back(std::string("post ") + GetName());
    }
};

// Its own pre-step does nothing but the default's work: still its own.
class PassesOn final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkPreStep(double simt, double simdt, double mjd) override {
        VESSEL2::clbkPreStep(simt, simdt, mjd);
    }
};

// VESSEL2 is not the first base, so the host's view of it lies inside the object.
struct Bookkeeping {
    virtual ~Bookkeeping() = default;
    virtual int entries() const { return 0; }
    int count = 7;
};
class SecondBase final : public Bookkeeping, public VESSEL2 {
public:
    explicit SecondBase(OBJHANDLE vessel, int flightModel = 1) : VESSEL2(vessel, flightModel) {}
    void clbkPostStep(double, double, double) override {
        stepCalls().push_back(std::string("post ") + GetName());
    }
};

// Creates "Kid" in its first pre-step.
class Spawner final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkPreStep(double, double, double) override {
        if (vapiGetObjectByName("Kid") == nullptr) {
            VESSELSTATUS status{};
            status.rpos = {7e6, 0, 0};
            status.rvel = {10, 0, 0};
            status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            vapiCreateVessel("Kid", "Quiet", status);
        }
    }
};

template <typename T> VESSEL* makeVessel(OBJHANDLE vessel, int flightModel) {
    return new T(vessel, flightModel);
}
template <typename T> void unmakeVessel(VESSEL* vessel) {
    delete static_cast<T*>(static_cast<VESSEL2*>(vessel));
}

TEST(StepHooks, OnlyTheStepCallbacksAClassOverridesAreItsOwn) {
    struct Case {
        const char* what;
        std::uint8_t expected;
        VESSEL2* object;
    };
    VESSEL2 plain(nullptr);
    Quiet quiet(nullptr);
    PreOnly pre(nullptr);
    PostOnly post(nullptr);
    BothSteps both(nullptr);
    PassesOn passes(nullptr);
    SecondBase second(nullptr);
    const Case cases[] = {
        {"VESSEL2 itself", 0, &plain},
        {"a class overriding nothing", 0, &quiet},
        {"pre-step only", kPreStepHook, &pre},
        {"post-step only", kPostStepHook, &post},
        {"both, one inherited", kPreStepHook | kPostStepHook, &both},
        {"an override calling the default", kPreStepHook, &passes},
        {"VESSEL2 as a second base", kPostStepHook, &second},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepHooksOf(*c.object), c.expected) << c.what;
    }
}

class StepHookWorld : public StepLoopTest {
protected:
    void SetUp() override {
        StepLoopTest::SetUp();
        stepCalls().clear();
        world().classes().add("Quiet", makeVessel<Quiet>, unmakeVessel<Quiet>);
        world().classes().add("PreOnly", makeVessel<PreOnly>, unmakeVessel<PreOnly>);
        world().classes().add("PostOnly", makeVessel<PostOnly>, unmakeVessel<PostOnly>);
        world().classes().add("BothSteps", makeVessel<BothSteps>, unmakeVessel<BothSteps>);
        world().classes().add("SecondBase", makeVessel<SecondBase>, unmakeVessel<SecondBase>);
    }

    VesselRecord* add(const std::string& name, const std::string& className,
                      const VECTOR3& pos = {7e6, 0, 0}, const VECTOR3& vel = {0, 7546, 0}) {
        VESSELSTATUS status{};
        status.rpos = pos;
        status.rvel = vel;
        status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::string reason;
        VesselRecord* vessel = world().createVessel(name, className, status, &reason);
        EXPECT_NE(vessel, nullptr) << reason;
        return vessel;
    }
};

TEST_F(StepHookWorld, MixedClassesKeepThePreThenPostOrderOfCreation) {
    add("Q1", "Quiet");
    add("Both", "BothSteps");
    add("Post", "PostOnly");
    add("Q2", "Quiet");
    add("Pre", "PreOnly");
    add("Second", "SecondBase");
    world().step(0.1);
    EXPECT_THAT(stepCalls(),
                ElementsAre("pre Both", "pre Pre", "post Both", "post Post", "post Second"));
}

TEST_F(StepHookWorld, VesselMadeInsideAnotherClassInitStillStepsInCreationOrder) {
    // The outer vessel's class creates the inner one before it returns its own object.
    world().classes().add(
        "Nesting",
        [](OBJHANDLE vessel, int flightModel) -> VESSEL* {
            VESSELSTATUS status{};
            status.rpos = {7e6, 0, 0};
            status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            vapiCreateVessel("Inner", "PreOnly", status);
            return new PreOnly(vessel, flightModel);
        },
        unmakeVessel<PreOnly>);
    add("First", "PreOnly");
    add("Outer", "Nesting");
    world().step(0.1);
    // The list has Outer before Inner (Outer's record came first), and so has the step.
    ASSERT_EQ(vapiGetVesselCount(), 3u);
    EXPECT_STREQ(vapiGetVesselInterface(vapiGetVesselByIndex(1))->GetName(), "Outer");
    EXPECT_THAT(stepCalls(), ElementsAre("pre First", "pre Outer", "pre Inner"));
}

TEST_F(StepHookWorld, SlotOfADeletedVesselServesTheNextOneAndTheOldRecordKeepsItsState) {
    world().body().gm = 0.0;
    VesselRecord* a = add("A", "Quiet", {7e6, 0, 0}, {1, 0, 0});
    VesselRecord* b = add("B", "Quiet", {7e6, 0, 0}, {2, 0, 0});
    VesselRecord* c = add("C", "Quiet", {7e6, 0, 0}, {3, 0, 0});
    world().step(1.0);
    ASSERT_TRUE(vapiDeleteVessel(b));
    VesselRecord* d = add("D", "Quiet", {7e6, 0, 0}, {4, 0, 0});
    world().step(1.0);
    EXPECT_EQ(a->pos().x, 7e6 + 2.0);
    EXPECT_EQ(b->pos().x, 7e6 + 2.0) << "as it was when deleted";
    EXPECT_EQ(b->vel().x, 2.0);
    EXPECT_EQ(c->pos().x, 7e6 + 6.0);
    EXPECT_EQ(d->pos().x, 7e6 + 4.0);
}

TEST_F(StepHookWorld, VesselCreatedInAStepWaitsForTheNextEvenWhenASlotIsFree) {
    world().body().gm = 0.0;
    world().classes().add("Spawner", makeVessel<Spawner>, unmakeVessel<Spawner>);
    add("Spawner", "Spawner");
    ASSERT_TRUE(vapiDeleteVessel(add("Gone", "Quiet"))); // leaves a free slot behind
    world().step(1.0);
    VesselRecord* kid = liveVessel(vapiGetObjectByName("Kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(kid->pos().x, 7e6) << "created during the step: not moved by it";
    world().step(1.0);
    EXPECT_EQ(kid->pos().x, 7e6 + 10.0);
}

TEST_F(StepHookWorld, VesselsBeyondOneTableBlockAllMove) {
    world().body().gm = 0.0;
    std::vector<VesselRecord*> all;
    for (int i = 0; i < 1300; ++i) {
        all.push_back(add("V" + std::to_string(i), i % 7 == 0 ? "PostOnly" : "Quiet", {7e6, 0, 0},
                          {static_cast<double>(i), 0, 0}));
    }
    world().step(2.0);
    for (int i = 0; i < 1300; ++i) {
        ASSERT_EQ(all[i]->pos().x, 7e6 + 2.0 * i) << all[i]->name;
    }
    EXPECT_EQ(stepCalls().size(), 186u); // every seventh vessel
}

TEST_F(StepLoopTest, SpinGivenDuringAStepTurnsTheVesselAndStoppingItHoldsTheFrame) {
    VesselRecord* vessel = addTestVessel("A", {7e6, 0, 0}, {0, 7546, 0});
    VECTOR3 spin{0, 0, 0.5};
    testHooks().preStep = [&](TestVessel& own, double, double) {
        VESSELSTATUS status;
        own.GetStatus(status);
        status.vrot = spin;
        own.DefSetState(&status);
    };
    world().step(1.0);
    EXPECT_NEAR(vessel->rot.m11, std::cos(0.5), 1e-12);
    spin = {0, 0, 0};
    world().step(1.0);
    const MATRIX3 held = vessel->rot;
    world().step(1.0);
    EXPECT_TRUE(sameBits(vessel->rot, held));
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
