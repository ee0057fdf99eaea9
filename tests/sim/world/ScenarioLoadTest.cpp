// Loading scenarios: what each block gets and in which order, and loads that fail whole.
#include <numbers>

#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ScenarioLoadTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        testHooks().setClassCaps = [](TestVessel& vessel) {
            vessel.CreateDock({0, 0, 10}, {0, 0, 1}, {0, 1, 0});
            vapiWriteLog((std::string("caps ") + vessel.GetName()).c_str());
        };
    }
};

TEST_F(ScenarioLoadTest, BlocksAreReadThenDockedThenPostCreated) {
    std::vector<bool> dockedAtPostCreation;
    testHooks().postCreation = [&](TestVessel& vessel) {
        dockedAtPostCreation.push_back(vessel.GetDockStatus(vessel.GetDockHandle(0)) != nullptr);
    };
    loadText("BEGIN_WORLD\n  TIME 12.5\n  BODY Mars 3389500 4.282837e13\n  FOCUS B\nEND_WORLD\n"
             "BEGIN_VESSEL Test A\n  POS 1 2 3\n  VEL 4 5 6\n  AVEL 0 0 180\n  STATUS LANDED\n"
             "  DOCK 0 0 B\nEND_VESSEL\n"
             "BEGIN_VESSEL Test B\n  POS 7 8 9\nEND_VESSEL\n");
    EXPECT_THAT(testCalls(), ElementsAre("setClassCaps A", "setClassCaps B", "postCreation A",
                                         "postCreation B"));
    EXPECT_THAT(dockedAtPostCreation, ElementsAre(true, true));
    const VesselRecord& a = *world().findVessel("A");
    EXPECT_EQ(a.pos().z, 3.0);
    EXPECT_EQ(a.vel().y, 5.0);
    EXPECT_DOUBLE_EQ(a.avel.z, std::numbers::pi);
    EXPECT_EQ(a.status(), VESSELSTATUS_LANDED);
    EXPECT_EQ(world().simTime(), 12.5);
    EXPECT_NE(vapiGetObjectByName("Mars"), nullptr);
    EXPECT_EQ(vapiGetObjectByName("Earth"), nullptr);
    EXPECT_EQ(world().focus(), world().findVessel("B"));
    EXPECT_THAT(events, ElementsAre("log: caps A", "vessel+: A (Test)", "log: caps B",
                                    "vessel+: B (Test)", "dock: A 0 B 0", "focus: B"));
    EXPECT_TRUE(std::filesystem::exists(root / "vxsim.log"));
}

TEST_F(ScenarioLoadTest, LineNobodyClaimsIsSkippedWithAWarning) {
    loadText("BEGIN_VESSEL Test A\n  POS 1 2 3\n  CKITCREW nobody\nEND_VESSEL\n");
    EXPECT_THAT(warnings, ElementsAre("test.scn:3: warning: line not understood, skipped: "
                                      "CKITCREW nobody"));
    EXPECT_EQ(world().vessels().size(), 1u);
}

TEST_F(ScenarioLoadTest, FailedLoadLeavesNothingBehind) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"BEGIN_VESSEL Test A\nEND_VESSEL\nBEGIN_VESSEL Test B\n  POS 1 two 3\nEND_VESSEL\n",
         "test.scn:4: POS"},
        {"BEGIN_VESSEL Test A\nEND_VESSEL\nBEGIN_VESSEL Nowhere B\nEND_VESSEL\n",
         "test.scn:3: vessel class 'Nowhere': no module file modules/Nowhere.dll"},
        {"BEGIN_VESSEL Test A\n  DOCK 0 0 Ghost\nEND_VESSEL\n",
         "test.scn:2: DOCK: no vessel named 'Ghost'"},
        {"BEGIN_VESSEL Test A\n  DOCK 3 0 B\nEND_VESSEL\nBEGIN_VESSEL Test B\nEND_VESSEL\n",
         "test.scn:2: DOCK: A has no port 3"},
        {"BEGIN_VESSEL Test A\n  DOCK 0 0 B\nEND_VESSEL\nBEGIN_VESSEL Test B\nEND_VESSEL\n"
         "BEGIN_VESSEL Test C\n  DOCK 0 0 B\nEND_VESSEL\n",
         "test.scn:7: DOCK: port 0 of B is taken"},
        {"BEGIN_WORLD\n  FOCUS Ghost\nEND_WORLD\nBEGIN_VESSEL Test A\nEND_VESSEL\n",
         "test.scn:2: FOCUS: no vessel named 'Ghost'"},
        {"BEGIN_VESSEL Test Earth\nEND_VESSEL\n",
         "test.scn:1: the name 'Earth' is the reference body's"},
    };
    for (const Case& c : cases) {
        events.clear();
        testCalls().clear();
        EXPECT_THAT(loadFailure(c.text), HasSubstr(c.message));
        EXPECT_TRUE(world().vessels().empty());
        EXPECT_TRUE(events.empty()) << "nothing reported of a failed load";
        EXPECT_FALSE(std::filesystem::exists(root / "vxsim.log"));
        // Whatever was created has been destroyed again.
        const auto created = std::count_if(testCalls().begin(), testCalls().end(),
                                           [](auto& s) { return s.rfind("setClassCaps", 0) == 0; });
        const auto destroyed = std::count_if(testCalls().begin(), testCalls().end(),
                                             [](auto& s) { return s.rfind("exit", 0) == 0; });
        EXPECT_EQ(created, destroyed) << c.message;
        EXPECT_EQ(world().body().name, "Earth");
    }
    // And the world still loads a good scenario afterwards.
    loadText("BEGIN_VESSEL Test A\nEND_VESSEL\n");
    EXPECT_EQ(world().vessels().size(), 1u);
}

} // namespace
} // namespace vx::test
