// The host library where vxsim's transcript cannot look: the order of callbacks inside a step,
// touchdown as a vessel sees it, the HUD frame's bounds, what other vessels and deleted handles
// read, module files, a save that fails half way, and the heap during steps.
#include <dlfcn.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Vapi.h"
#include "platform/WinApi.h"
#include "sim/world/AllocationGuard.h"
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
std::function<void(const std::string& call, VESSEL2& self, HDC hdc)> hook;
HUDPAINTSPEC painted;

class TestVessel final : public VESSEL2 {
public:
    TestVessel(OBJHANDLE vessel, int model) : VESSEL2(vessel, model), name_(GetName()) {}
    void note(const char* what, HDC hdc = nullptr) {
        calls.push_back(std::string(what) + " " + name_);
        if (hook) {
            hook(calls.back(), *this, hdc);
        }
    }
    void clbkSetClassCaps(FILEHANDLE) override { note("caps"); }
    void clbkPostCreation() override { note("created"); }
    void clbkPreStep(double, double, double) override { note("pre"); }
    void clbkPostStep(double, double, double) override { note("post"); }
    void clbkDrawHUD(int, const HUDPAINTSPEC* paint, HDC hdc) override {
        painted = *paint;
        note("hud", hdc);
    }

private:
    std::string name_;
};

class HostTest : public ::testing::Test {
protected:
    HostTest() {
        hook = nullptr;
        calls.clear();
        world->classes().add(
            "Test", [](OBJHANDLE v, int model) -> VESSEL* { return new TestVessel(v, model); },
            [](VESSEL* vessel) {
                static_cast<TestVessel*>(vessel)->note("exit");
                delete static_cast<TestVessel*>(vessel);
            });
        world->setEventSink([this](double, std::string_view kind, std::string_view text) {
            events.push_back(std::string(kind) + ": " + std::string(text));
        });
    }
    ~HostTest() override { hook = nullptr; } // the world ends after the test's own locals
    VesselRecord* add(const std::string& name, VECTOR3 pos = {7e6, 0, 0}, VECTOR3 vel = {},
                      const char* className = "Test") {
        VESSELSTATUS status{};
        status.rpos = pos;
        status.rvel = vel;
        status.rrot = identityMatrix();
        return world->createVessel(name, className, status);
    }

    vxtest::TestRoot root;
    std::optional<World> world{std::in_place};
    std::vector<std::string> events;
};

TEST_F(HostTest, StepCallsVesselsInCreationOrderAndListChangesInsideItTakeEffectAtOnce) {
    world->body().gm = 0.0;
    VesselRecord* a = add("A", {7e6, 0, 0}, {1, 0, 0});
    VesselRecord* b = add("B", {7e6, 0, 0}, {2, 0, 0});
    add("C");
    hook = [&](const std::string& call, VESSEL2& self, HDC) {
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
    add("D", {1, 2, 3}); // takes B's slot
    EXPECT_EQ(b->pos().x, 7e6) << "a deleted vessel keeps its last state";
    calls.clear();
    world->step(1.0);
    EXPECT_THAT(calls, ElementsAre("pre A", "pre C", "pre Kid", "pre D", "post A", "post C",
                                   "post Kid", "post D", "hud A"));
    EXPECT_EQ(kid->pos().x, 7e6 + 1.0);
    EXPECT_EQ(a->pos().x, 7e6 + 2.0);
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

TEST_F(HostTest, TouchdownHoldsTheVesselAtItsClearanceOneStepWithItsSpeedThenItRests) {
    world->body().gm = 0.0;
    const double radius = world->body().radius;
    VesselRecord* lander = add("L", {radius + 10.5, 0, 0}, {-5, 0, 0});
    // Set after creation: the clearance follows, from the lowest point.
    lander->iface->SetTouchdownPoints({0, -2, 1}, {1, -3, -1}, {-1, -2.5, -1});
    std::vector<std::string> seen;
    hook = [&](const std::string& call, VESSEL2& self, HDC) {
        VECTOR3 airspeed;
        VESSELSTATUS status;
        self.GetHorizonAirspeedVector(airspeed);
        self.GetStatus(status);
        if (call == "pre L") {
            seen.push_back(std::to_string(self.GroundContact()) + " " + std::to_string(airspeed.y) +
                           " " + std::to_string(status.status));
        }
    };
    std::vector<double> heights;
    for (int i = 0; i < 4; ++i) {
        world->step(1.0);
        heights.push_back(lander->pos().x - radius);
    }
    EXPECT_THAT(heights, ElementsAre(5.5, 3.0, 3.0, 3.0));
    EXPECT_THAT(seen,
                ElementsAre("0 -5.000000 0", "0 -5.000000 0", "1 -5.000000 0", "1 0.000000 1"));
    // The horizon frame is east, up, north; over the pole east falls back to +x.
    for (const auto& [pos, vel, want] :
         {std::tuple{VECTOR3{0, 7e6, 0}, VECTOR3{5, 1, 12}, VECTOR3{-5, 1, 12}},
          {VECTOR3{0, 0, 7e6}, VECTOR3{2, 1, 0}, VECTOR3{2, 0, 1}}}) {
        VECTOR3 got;
        EXPECT_TRUE(
            add("V" + std::to_string(pos.z), pos, vel)->iface->GetHorizonAirspeedVector(got));
        EXPECT_TRUE(length(sub(got, want)) < 1e-9) << got.x << " " << got.y << " " << got.z;
    }
}

TEST_F(HostTest, HudFrameHoldsThirtyTwoTextsCutToLengthAndIsReportedOnlyWhenItChanges) {
    std::vector<std::string> texts(40, "x");
    texts[0] = std::string(300, 'y');
    hook = [&](const std::string&, VESSEL2&, HDC hdc) {
        for (const std::string& text : texts) {
            TextOutA(hdc, 5, 7, text.data(), static_cast<int>(text.size()));
        }
        EXPECT_EQ(TextOutA(hdc, 5, 7, "x", -1), FALSE);
    };
    add("A");
    world->setHudSize(800, 600);
    events.clear();
    world->step(0.1);
    world->step(0.1);
    texts.clear();
    world->step(0.1);
    world->step(0.1);
    ASSERT_EQ(events.size(), 33u);
    EXPECT_EQ(events[0], "hud: A (5,7) " + std::string(255, 'y'));
    EXPECT_EQ(events[31], "hud: A (5,7) x");
    EXPECT_EQ(events[32], "hud: A -");
    EXPECT_EQ(painted.W * 10000 + painted.H, 8000600);
    EXPECT_EQ(TextOutA(nullptr, 5, 7, "x", 1), FALSE);
}

TEST_F(HostTest, OthersReadOnlyWhatAVesselSetAndADeletedVesselAnswersWithDefaults) {
    VesselRecord* owner = add("Owner");
    VESSEL* own = owner->iface;
    ATTACHMENTHANDLE first = own->CreateAttachment(true, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}, "C-Ki");
    own->CreateAttachment(false, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "CKit");
    ATTACHMENTHANDLE second =
        own->CreateAttachment(true, {0.1, -0.0, 1e300}, {4, 5, 6}, {7, 8, 9}, "LONGER-THAN-8");
    VESSEL* other = add("Other")->iface;
    other->SetAttachmentParams(first, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}); // not its point
    EXPECT_EQ(other->GetAttachmentId(first), nullptr);

    const VESSEL* seen = vapiGetVesselInterface(vapiGetObjectByName("Owner"));
    EXPECT_EQ(seen->AttachmentCount(true) * 10 + seen->AttachmentCount(false), 21u);
    EXPECT_EQ(seen->GetAttachmentHandle(true, 1), second);
    EXPECT_EQ(seen->GetAttachmentHandle(true, 2), nullptr);
    EXPECT_STREQ(seen->GetAttachmentId(second), "LONGER-T");
    VECTOR3 pos, dir, rot;
    seen->GetAttachmentParams(first, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {1, 2, 3}) && sameBits(dir, {0, 0, 1}) && sameBits(rot, {0, 1, 0}));
    seen->GetAttachmentParams(second, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {0.1, -0.0, 1e300}) && sameBits(rot, {7, 8, 9}));

    ASSERT_TRUE(vapiDeleteVessel(owner));
    VesselRecord* again = add("Owner");
    EXPECT_NE(again, owner) << "a deleted vessel's handle is never reused";
    EXPECT_EQ(vapiGetObjectByName("Owner"), again);
    EXPECT_EQ(vapiGetObjectByName("owner"), nullptr);
    const VESSEL stale(owner);
    stale.GetAttachmentParams(first, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {0, 0, 0}));
    EXPECT_EQ(stale.AttachmentCount(true), 0u);
    EXPECT_STREQ(stale.GetName(), "");
    EXPECT_EQ(vapiGetVesselInterface(owner), nullptr);
    EXPECT_FALSE(vapiDeleteVessel(owner));
    EXPECT_EQ(vapiSetFocusObject(owner), nullptr);
    char name[4] = "x";
    vapiGetObjectName(owner, name, sizeof name);
    EXPECT_STREQ(name, "");
    vapiGetObjectName(again, name, sizeof name);
    EXPECT_STREQ(name, "Own");
    EXPECT_EQ(add(""), nullptr);
}

TEST_F(HostTest, SaveThatCannotBeWrittenWholeKeepsThePreviousFileAndLeavesNoTemporary) {
    add("A");
    root.write("keep.scn", "previous\n");
    signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit tight = before;
    tight.rlim_cur = 16; // bytes a file may hold
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string error;
    const bool saved = world->save("keep.scn", "keep.scn", error);
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "cannot save keep.scn: File too large");
    EXPECT_EQ(root.read("keep.scn"), "previous\n");
    for (const auto& entry : std::filesystem::directory_iterator(root.path())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(HostTest, StepsMoveVesselsBeyondOneMotionBlockAndAllocateNothingOnceRunning) {
    world->body().gm = 0.0;
    calls.reserve(10000); // short texts: the calls noted allocate nothing either
    hook = [](const std::string&, VESSEL2& self, HDC) {
        VECTOR3 airspeed;
        self.GetHorizonAirspeedVector(airspeed);
        vapiGetObjectByName("P");
    };
    std::vector<VesselRecord*> all;
    for (int i = 0; i < 600; ++i) {
        all.push_back(add("V" + std::to_string(i), {7e6, 0, 0}, {static_cast<double>(i), 0, 0}));
    }
    add("P", {7e6, 0, 0}, {}, "Probe");
    add("Q", {7e6, 0, 10}, {}, "Probe");
    world->step(1.0); // the first HUD frame is news
    CallbackAllocations host;
    {
        ModuleCallScope counting(host, GuardedCallback::PreStep);
        world->step(1.0);
        std::string reason;
        ASSERT_TRUE(world->dock(world->findVessel("P"), 0, world->findVessel("Q"), 1, reason));
        world->step(1.0); // now through the docked groups' walk
    }
    EXPECT_EQ(host.total(), 0u);
    EXPECT_EQ(world->classes().moduleAllocations(), 0u);
    for (int i = 0; i < 600; ++i) {
        ASSERT_EQ(all[i]->pos().x, 7e6 + 3.0 * i) << i;
    }
}

TEST(Date2Int, ReadsBuildDatesAndRefusesAnythingElse) {
    const std::pair<const char*, int> cases[] = {{"Apr 25 2006", 20060425},
                                                 {"Jan  1 2000", 20000101},
                                                 {"Dec 31 1999", 19991231},
                                                 {"Sep 09 2024", 20240909},
                                                 {"", 0},
                                                 {"Apx 25 2006", 0},
                                                 {"apr 25 2006", 0},
                                                 {"Apr 2 2006", 0},
                                                 {"Apr 32 2006", 0},
                                                 {"Apr 00 2006", 0},
                                                 {"Apr 25 06", 0},
                                                 {"Apr 25 2006 ", 0},
                                                 {"Apr-25-2006", 0},
                                                 {"Apr 2x 2006", 0},
                                                 {"Apr 25 20x6", 0}};
    for (const auto& [text, want] : cases) {
        EXPECT_EQ(Date2Int(text), want) << '"' << text << '"';
    }
    EXPECT_EQ(Date2Int(nullptr), 0);
}

} // namespace
} // namespace vx
