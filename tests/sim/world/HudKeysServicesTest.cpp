// The focus HUD, keys, the debug line, the log, time, random numbers and Date2Int.
#include <fstream>
#include <map>
#include <sstream>

#include "sim/world/HostStats.h"
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;

class HudTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        testHooks().drawHud = [this](TestVessel& vessel, const HUDPAINTSPEC& paint, HDC hdc) {
            painted = paint;
            for (const std::string& text : texts[vessel.GetName()]) {
                TextOutA(hdc, 5, paint.H / 60 * 15, text.data(), static_cast<int>(text.size()));
            }
        };
    }
    std::map<std::string, std::vector<std::string>> texts;
    HUDPAINTSPEC painted{};
};

TEST_F(HudTest, FrameIsReportedOnlyWhenItChanges) {
    addTestVessel("A");
    texts["A"] = {"hello", "world"};
    world().step(0.1);
    world().step(0.1);
    texts["A"] = {};
    world().step(0.1);
    world().step(0.1);
    texts["A"] = {"back"};
    world().step(0.1);
    EXPECT_THAT(eventsOf(events, "hud"),
                ElementsAre("A (5,180) hello", "A (5,180) world", "A -", "A (5,180) back"));
    EXPECT_EQ(world().hudText(), "back");
}

TEST_F(HudTest, PaintSpecFollowsTheHudSizeAndOnlyTheFocusIsDrawn) {
    loadText("BEGIN_WORLD\n  HUDSIZE 800 600\n  FOCUS B\nEND_WORLD\n"
             "BEGIN_VESSEL Test A\nEND_VESSEL\nBEGIN_VESSEL Test B\nEND_VESSEL\n");
    texts["A"] = {"from A"};
    texts["B"] = {"from B"};
    world().step(0.1);
    EXPECT_EQ(painted.W, 800);
    EXPECT_EQ(painted.H, 600);
    EXPECT_EQ(painted.CX, 400);
    EXPECT_EQ(painted.CY, 300);
    EXPECT_EQ(world().hudText(), "from B");
    world().setFocus(world().findVessel("A"));
    world().step(0.1);
    EXPECT_THAT(eventsOf(events, "hud"), ElementsAre("B (5,150) from B", "A (5,150) from A"));
    EXPECT_EQ(world().findVessel("B")->hudText, "from B");
}

TEST_F(HudTest, FrameKeepsAFixedNumberOfTextsCutToLength) {
    addTestVessel("A");
    texts["A"] = std::vector<std::string>(40, "x");
    texts["A"][0] = std::string(300, 'y');
    world().step(0.1);
    const std::vector<std::string> hud = eventsOf(events, "hud");
    ASSERT_EQ(hud.size(), 32u);
    EXPECT_EQ(hud[0], "A (5,180) " + std::string(255, 'y'));
}

class KeyTest : public HostTest {};

TEST_F(KeyTest, KeyGoesDownThenUpWithItsModifiersHeld) {
    struct Press {
        std::uint32_t key;
        bool down;
        bool lshift, rshift, lctrl, rctrl, self;
    };
    std::vector<Press> presses;
    testHooks().key = [&](TestVessel&, std::uint32_t key, bool down, const char* state) {
        presses.push_back({key, down, KeyDown(state, VXK_LSHIFT), KeyDown(state, VXK_RSHIFT),
                           KeyDown(state, VXK_LCONTROL), KeyDown(state, VXK_RCONTROL),
                           KeyDown(state, key)});
        return down ? 1 : 7;
    };
    addTestVessel("A");
    KeySpec key;
    ASSERT_TRUE(parseKeySpec("rshift+E", key));
    EXPECT_EQ(world().pressKey(key), 1);
    ASSERT_TRUE(parseKeySpec("ctrl+pgdn", key));
    world().pressKey(key);
    ASSERT_EQ(presses.size(), 4u);
    EXPECT_EQ(presses[0].key, VXK_E);
    EXPECT_TRUE(presses[0].down);
    EXPECT_FALSE(presses[1].down);
    EXPECT_TRUE(presses[0].rshift && presses[1].rshift);
    EXPECT_FALSE(presses[0].lshift || presses[0].lctrl || presses[0].rctrl);
    EXPECT_EQ(presses[2].key, VXK_NEXT);
    EXPECT_TRUE(presses[2].lctrl);
    EXPECT_FALSE(presses[2].rshift);
    EXPECT_THAT(eventsOf(events, "key"), ElementsAre("rshift+E -> 1", "ctrl+pgdn -> 1"));
}

TEST_F(KeyTest, DebugLineIsReportedWhenItChangesAfterStepsAndKeys) {
    testHooks().key = [](TestVessel&, std::uint32_t key, bool down, const char*) {
        if (down) {
            std::snprintf(vapiDebugString(), VAPI_DEBUG_STRING_SIZE, "%s",
                          key == VXK_A ? "" : "warning");
        }
        return 1;
    };
    int step = 0;
    testHooks().preStep = [&step](TestVessel&, double, double) {
        std::snprintf(vapiDebugString(), VAPI_DEBUG_STRING_SIZE, "count %d", ++step / 2);
    };
    addTestVessel("A");
    world().step(0.1);
    world().step(0.1);
    world().step(0.1);
    KeySpec key;
    ASSERT_TRUE(parseKeySpec("W", key));
    world().pressKey(key);
    ASSERT_TRUE(parseKeySpec("A", key));
    world().pressKey(key);
    EXPECT_THAT(eventsOf(events, "debug"), ElementsAre("count 0", "count 1", "warning", "-"));
}

class ServicesTest : public HostTest {};

TEST_F(ServicesTest, LogLinesGoToTheLogFileAndTheTranscript) {
    world().writeLog("first");
    vapiWriteLog("second line");
    std::ifstream in(root / "vxsim.log");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "first\nsecond line\n");
    EXPECT_THAT(eventsOf(events, "log"), ElementsAre("first", "second line"));
}

TEST_F(ServicesTest, TimesFollowTheSteps) {
    world();
    for (double dt : {0.1, 0.25, 2.0}) {
        world().step(dt);
        EXPECT_EQ(vapiGetSimStep(), dt);
    }
    EXPECT_DOUBLE_EQ(vapiGetSimTime(), 2.35);
    EXPECT_DOUBLE_EQ(vapiGetSysTime(), 2.35);
}

TEST_F(ServicesTest, RandomNumbersRepeatPerSeedAndSpreadOverTheUnitInterval) {
    auto draw = [this](std::uint64_t seed) {
        endWorld();
        options.seed = seed;
        world();
        std::vector<double> values;
        for (int i = 0; i < 2000; ++i) {
            values.push_back(vapiRand());
        }
        return values;
    };
    const std::vector<double> one = draw(1);
    EXPECT_EQ(draw(1), one);
    EXPECT_NE(draw(2), one);
    double sum = 0.0;
    for (double v : one) {
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 1.0);
        sum += v;
    }
    EXPECT_NEAR(sum / one.size(), 0.5, 0.03);
}

TEST(Date2Int, ReadsBuildDatesAndRefusesAnythingElse) {
    struct Case {
        const char* text;
        int want;
    };
    const Case cases[] = {{"Apr 25 2006", 20060425},
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
                          {"Apr 2x 2006", 0}};
    const int before = hostStats().date2IntCalls;
    for (const Case& c : cases) {
        EXPECT_EQ(Date2Int(c.text), c.want) << '"' << c.text << '"';
    }
    EXPECT_EQ(Date2Int(nullptr), 0);
    EXPECT_EQ(hostStats().date2IntCalls - before, static_cast<int>(std::size(cases)) + 1);
}

} // namespace
} // namespace vx::test
