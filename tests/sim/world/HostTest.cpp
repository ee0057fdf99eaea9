// The host library where vxsim's transcript cannot look: the order of callbacks inside a step,
// module files as libraries, and Date2Int.
#include <dlfcn.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Vapi.h"
#include "platform/WinApi.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/HostStats.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace vx {
namespace {

using ::testing::ElementsAre;

// The class "Test" notes every callback it gets as "what NAME" and hands it to the test's hook.
std::vector<std::string> calls;
std::function<void(const std::string& call, VESSEL2& self)> hook;

class TestVessel final : public VESSEL2 {
public:
    TestVessel(OBJHANDLE vessel, int model) : VESSEL2(vessel, model), name_(GetName()) {}
    void note(const char* what) {
        calls.push_back(std::string(what) + " " + name_);
        if (hook) {
            hook(calls.back(), *this);
        }
    }
    void clbkSetClassCaps(FILEHANDLE) override { note("caps"); }
    void clbkPostCreation() override { note("created"); }
    void clbkPreStep(double, double, double) override { note("pre"); }
    void clbkPostStep(double, double, double) override { note("post"); }
    void clbkDrawHUD(int, const HUDPAINTSPEC*, HDC) override { note("hud"); }

private:
    std::string name_;
};

class HostTest : public ::testing::Test {
protected:
    HostTest() {
        calls.clear();
        world->classes().add(
            "Test", [](OBJHANDLE v, int model) -> VESSEL* { return new TestVessel(v, model); },
            [](VESSEL* vessel) {
                static_cast<TestVessel*>(vessel)->note("exit");
                delete static_cast<TestVessel*>(vessel);
            });
    }
    ~HostTest() override { hook = nullptr; } // the world ends after the test's own locals
    VesselRecord* add(const std::string& name, VECTOR3 pos = {7e6, 0, 0}, VECTOR3 vel = {},
                      const char* className = "Test") {
        const VESSELSTATUS status{pos, vel, {}, identityMatrix(), 0, 0, 0, nullptr, 0};
        return world->createVessel(name, className, status);
    }

    vxtest::TestRoot root;
    std::optional<World> world{std::in_place};
};

TEST_F(HostTest, StepCallsVesselsInCreationOrderAndListChangesInsideItTakeEffectAtOnce) {
    world->body().gm = 0.0;
    add("A", {7e6, 0, 0}, {1, 0, 0});
    VesselRecord* b = add("B", {7e6, 0, 0}, {2, 0, 0});
    add("C");
    hook = [&](const std::string& call, VESSEL2& self) {
        if (call == "created Kid") {
            EXPECT_EQ(liveVessel(self.GetHandle())->pos().y, 5.0) << "its state comes first";
        }
        if (call != "pre A" || !b->alive) {
            return;
        }
        ASSERT_TRUE(vapiDeleteVessel(b)); // frees a slot of the motion table
        VESSELSTATUS status;
        self.GetStatus(status);
        status.rpos.y = 5.0;
        OBJHANDLE kid = vapiCreateVessel("Kid", "Test", status);
        EXPECT_EQ(vapiGetVesselCount(), 3u);
        EXPECT_EQ(vapiGetVesselByIndex(2), kid);
        EXPECT_EQ(vapiGetObjectByName("B"), nullptr);
    };
    calls.clear();
    world->step(1.0);
    // B gets no callback once deleted; vvcExit waits for the end of the step.
    EXPECT_THAT(calls, ElementsAre("pre A", "caps Kid", "created Kid", "pre C", "post A", "post C",
                                   "hud A", "exit B"));
    VesselRecord* kid = world->findVessel("Kid");
    EXPECT_EQ(kid->pos().x, 7e6) << "not moved by the step it was made in";
    VesselRecord* newB = add("B", {1, 2, 3}); // takes the old B's slot, not its handle
    EXPECT_TRUE(newB != b && vapiGetVesselInterface(b) == nullptr && !vapiDeleteVessel(b));
    EXPECT_EQ(b->pos().x, 7e6) << "a deleted vessel keeps its last state";
    calls.clear();
    world->step(1.0);
    EXPECT_THAT(calls, ElementsAre("pre A", "pre C", "pre Kid", "pre B", "post A", "post C",
                                   "post Kid", "post B", "hud A"));
    EXPECT_EQ(kid->pos().x, 7e6 + 1.0);
}

TEST_F(HostTest, DeletedVesselExitsAtOnceOutsideADispatchAndWhenTheDispatchDeletingItEnds) {
    VesselRecord* a = add("A");
    hook = [&](const std::string& call, VESSEL2&) {
        if (call == "caps Kid") {
            ASSERT_TRUE(vapiDeleteVessel(a));
            calls.push_back("deleted A");
        }
    };
    add("Kid");
    hook = nullptr;
    ASSERT_TRUE(vapiDeleteVessel(world->findVessel("Kid")));
    EXPECT_THAT(calls, ElementsAre("caps A", "created A", "caps Kid", "deleted A", "exit A",
                                   "created Kid", "exit Kid"));
    char name[8] = "x";
    vapiGetObjectName(a, name, sizeof name);
    EXPECT_STREQ(name, "") << "a deleted vessel has no name";
    const VESSELSTATUS status{};
    EXPECT_EQ(vapiCreateVessel(nullptr, "Test", status), nullptr);
    EXPECT_EQ(vapiCreateVessel("B", nullptr, status), nullptr);
    world->classes().add(
        "NoExit",
        [](OBJHANDLE v, int m) -> VESSEL* {
            static VESSEL2 only(v, m); // not to be handed back: the class has no vvcExit
            return &only;
        },
        nullptr);
    EXPECT_TRUE(vapiDeleteVessel(add("N", {}, {}, "NoExit")));
    world.reset();
    EXPECT_EQ(World::current(), nullptr);
}

TEST_F(HostTest, DockAndUndockRefuseWhatCannotBeDoneWithTheReason) {
    VesselRecord *a = add("A"), *b = add("B");
    VesselRecord *c = add("C"), *dead = add("D");
    for (VesselRecord* v : {a, b, c, dead}) {
        v->iface->CreateDock({0, 0, 1}, {0, 0, 1}, {0, 1, 0});
    }
    std::string reason;
    ASSERT_TRUE(world->dock(a, 0, b, 0, reason) && vapiDeleteVessel(dead));
    const struct {
        VesselRecord *a, *b; // b null: undock a
        unsigned int portA, portB;
        const char* reason;
    } refused[] = {
        {c, dead, 0, 0, "no such vessel"},       {dead, c, 0, 0, "no such vessel"},
        {c, c, 0, 0, "C cannot dock to itself"}, {c, a, 1, 0, "C has no port 1"},
        {c, a, 0, 1, "A has no port 1"},         {a, c, 0, 0, "port 0 of A is taken"},
        {c, b, 0, 0, "port 0 of B is taken"},    {dead, nullptr, 0, 0, "no such vessel"},
        {c, nullptr, 1, 0, "C has no port 1"},   {c, nullptr, 0, 0, "port 0 of C is not docked"},
    };
    for (const auto& r : refused) {
        reason.clear();
        EXPECT_FALSE(r.b != nullptr ? world->dock(r.a, r.portA, r.b, r.portB, reason)
                                    : world->undock(r.a, r.portA, reason));
        EXPECT_EQ(reason, r.reason);
    }
}

TEST_F(HostTest, LoadEndsCreationOnceAllExistAndAFailedLoadEndsWhatItCreated) {
    for (const char* text :
         {"BEGIN_VESSEL Test C\n  DOCK 0 0 Nobody\nEND_VESSEL\n",
          "BEGIN_VESSEL Test A\nEND_VESSEL\nBEGIN_VESSEL Test B\nEND_VESSEL\n"}) {
        ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(parseScenarioText(text, "t.scn", doc, error)) << error;
        world->load(doc, error);
    }
    EXPECT_THAT(calls,
                ElementsAre("caps C", "exit C", "caps A", "caps B", "created A", "created B"));
}

TEST_F(HostTest, ModuleLoadsOnceWithItsOwnHandleAndUnloadsWithTheWorld) {
    const int initLibBefore = hostStats().initLibCalls;
    VesselRecord* probe = add("P1", {}, {}, "Probe");
    add("P2", {}, {}, "Probe");
    add("T");
    EXPECT_EQ(hostStats().initLibCalls - initLibBefore, 1);
    EXPECT_EQ(stepHooksOf(*static_cast<VESSEL2*>(probe->iface)), kPreStepHook);
    EXPECT_EQ(stepHooksOf(*static_cast<VESSEL2*>(world->findVessel("T")->iface)),
              kPreStepHook | kPostStepHook);
    EXPECT_EQ(stepHooksOf(VESSEL2(nullptr)), 0);
    void* own = dlopen("modules/Probe.dll", RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(hostStats().lastInitLibModule, own);
    EXPECT_NE(GetProcAddress(own, "vvcInit"), nullptr);
    EXPECT_EQ(GetProcAddress(own, "malloc"), nullptr) << "not the library's own export";
    dlclose(own);
    world.reset();
    EXPECT_EQ(calls.back(), "exit T");
    EXPECT_EQ(hostStats().initLibCalls - initLibBefore, 2) << "DllMain is called to detach";
    EXPECT_EQ(dlopen("modules/Probe.dll", RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST_F(HostTest, SaveThatCannotBeWrittenWholeKeepsThePreviousFile) {
    add("A");
    root.write("keep.scn", "previous\n");
    signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit tight{16, before.rlim_max}; // bytes a file may hold
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string error;
    EXPECT_FALSE(world->save("keep.scn", "keep.scn", error));
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(root.read("keep.scn") + error, "previous\ncannot save keep.scn: File too large");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 4) << "no temporary";
}

// A vessel's spin turns its frame by these matrices: right-handed about any axis.
TEST(Math3, AxisRotationTurnsRightHandedAboutAnyAxis) {
    for (const VECTOR3& u : {VECTOR3{1, 0, 0}, VECTOR3{0, 1, 0}, VECTOR3{0, 0, 1},
                             VECTOR3{1.0 / 3, 2.0 / 3, -2.0 / 3}}) {
        for (double angle : {0.3, -2.0}) {
            const MATRIX3 r = axisRotation(u, angle);
            // v across the axis turns towards u x v; the axis stays.
            const VECTOR3 v = scale(cross(u, {0.6, 0.8, 0}), 1.0 / length(cross(u, {0.6, 0.8, 0})));
            const VECTOR3 want =
                add(scale(v, std::cos(angle)), scale(cross(u, v), std::sin(angle)));
            for (const auto& [got, expected] :
                 {std::pair{mul(r, v), want}, std::pair{mul(r, u), u}}) {
                EXPECT_NEAR(got.x, expected.x, 1e-12);
                EXPECT_NEAR(got.y, expected.y, 1e-12);
                EXPECT_NEAR(got.z, expected.z, 1e-12);
            }
        }
    }
}

TEST(Date2Int, ReadsBuildDatesAndRefusesAnythingElse) {
    EXPECT_EQ(Date2Int("Apr 25 2006"), 20060425);
    EXPECT_EQ(Date2Int("Jan  1 2000"), 20000101);
    EXPECT_EQ(Date2Int("Dec 31 1999"), 19991231);
    EXPECT_EQ(Date2Int("Sep 09 2024"), 20240909);
    for (const char* text : {"", "Apx 25 2006", "apr 25 2006", "Apr 2 2006", "Apr 32 2006",
                             "Apr 00 2006", "Apr 25 06", "Apr 25 2006 ", "Apr-25-2006",
                             "Apr 2x 2006", "Apr 25 20x6", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(Date2Int(text), 0) << (text != nullptr ? text : "null");
    }
}

} // namespace
} // namespace vx
