// The interactive screen's parts: where F2 saves, what a terminal key means, and the views of
// the demo world that a person flies by: the vessel rows and the map to walk back in by.
#include <curses.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Keys.h"
#include "sim/screen/NearbyMap.h"
#include "sim/screen/SaveTarget.h"
#include "sim/screen/TerminalKeys.h"
#include "sim/screen/VesselPanel.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace {

TEST(SaveTarget, IsBesideTheLoadedScenarioAndNeverIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "/home/pilot/demo-saved.scn"},
        {"demo.scn", "/home/pilot/demo-saved.scn"},
        {"scenarios/orbit.scn", "/home/pilot/scenarios/orbit-saved.scn"},
        {"/srv/fleet/drop.scn", "/srv/fleet/drop-saved.scn"},
        {"plain", "/home/pilot/plain-saved.scn"},
        {"my colony.txt", "/home/pilot/my colony-saved.txt"}};
    for (const auto& [scenario, target] : cases) {
        EXPECT_EQ(vx::saveTargetFor("/home/pilot", scenario), std::filesystem::path(target));
    }
}

TEST(TerminalKeys, CarryTheScanCodeAndModifiersOrAreTheScreensOwn) {
    vx::ModifiedKeyCodes modified;
    modified.ctrl[0] = 600;      // up
    modified.ctrlShift[5] = 601; // Page Down
    struct Key {
        int code;
        std::uint32_t scanCode;
        bool shift, ctrl;
        const char* text; // as the log shows it
    };
    for (const Key& c :
         {Key{'e', VXK_E, false, false, "e"}, Key{'E', VXK_E, true, false, "shift+e"},
          Key{1, VXK_A, false, true, "ctrl+a"}, Key{19, VXK_S, false, true, "ctrl+s"},
          Key{'1', VXK_1, false, false, "1"}, Key{'!', VXK_1, true, false, "shift+1"},
          Key{')', VXK_0, true, false, "shift+0"}, Key{KEY_DOWN, VXK_DOWN, false, false, "down"},
          Key{KEY_SR, VXK_UP, true, false, "shift+up"},
          Key{KEY_PPAGE, VXK_PRIOR, false, false, "pgup"},
          Key{KEY_SNEXT, VXK_NEXT, true, false, "shift+pgdn"},
          Key{600, VXK_UP, false, true, "ctrl+up"},
          Key{601, VXK_NEXT, true, true, "shift+ctrl+pgdn"}}) {
        const vx::TerminalKey key = vx::translateTerminalKey(c.code, modified);
        EXPECT_EQ(key.action, vx::TerminalAction::VesselKey) << c.text;
        EXPECT_EQ(key.key.code, c.scanCode) << c.text;
        EXPECT_EQ(key.key.text, c.text);
        EXPECT_EQ(std::vector<bool>(
                      {key.key.leftShift, key.key.rightShift, key.key.leftCtrl, key.key.rightCtrl}),
                  std::vector<bool>({c.shift, false, c.ctrl, false}))
            << c.text;
    }
    using A = vx::TerminalAction;
    const std::pair<int, A> commands[] = {{9, A::NextFocus},   {KEY_BTAB, A::PreviousFocus},
                                          {KEY_F(2), A::Save}, {KEY_F(5), A::Undock},
                                          {KEY_F(6), A::Dock}, {KEY_F(10), A::Quit},
                                          {17, A::Quit},       {'+', A::Faster},
                                          {'-', A::Slower},    {KEY_RESIZE, A::Resize},
                                          {13, A::None},       {10, A::None},
                                          {'~', A::None},      {KEY_F(1), A::None},
                                          {0, A::None}};
    for (const auto& [code, action] : commands) {
        EXPECT_EQ(vx::translateTerminalKey(code, {}).action, action) << code;
    }
}

class DemoWorld : public ::testing::Test {
protected:
    void SetUp() override {
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(
            vx::parseScenarioText(vxtest::readFile(VX_DEMO_SCENARIO), "demo.scn", doc, error));
        world.setWarningSink([](std::string_view) {});
        ASSERT_TRUE(world.load(doc, error)) << error;
        world.step(0.1);
    }
    void press(const char* name) {
        vx::KeySpec key;
        ASSERT_TRUE(vx::parseKeySpec(name, key)) << name;
        world.pressKey(key);
    }
    std::string map() {
        vx::NearbyMap map;
        vx::drawNearbyMap(world, 41, 13, map);
        std::string text; // the lines that are not blank, by number, without trailing blanks
        for (std::size_t i = 0; i < map.lines.size(); ++i) {
            const std::size_t end = map.lines[i].find_last_not_of(' ');
            text += end == std::string::npos
                        ? ""
                        : std::to_string(i) + map.lines[i].substr(0, end + 1) + "\n";
        }
        return text + map.caption;
    }

    const vxtest::TestRoot root;
    vx::World world{vx::WorldOptions{}};
};

// The tender casts off, and the selected member leaves on foot: one seat more on the colony,
// and a walker who publishes no airlock, standing 1 m out of the colony's, walks back into it.
TEST_F(DemoWorld, RowsAndMapFollowTheRoadOfOneEva) {
    const auto panel = [this] {
        std::vector<vx::VesselRow> rows;
        vx::collectVesselRows(world, rows);
        std::string text;
        for (const vx::VesselRow& row : rows) {
            text += vx::formatVesselRow(row, 83) + "\n";
        }
        return text;
    };
    EXPECT_EQ(
        panel(),
        "> Halcyra                               halcyra        -         - 0>Tender open 38\n"
        "  Tender                                Tender   21.7 km   0.0 m/s 0>Halcyr open 3 \n");
    std::string reason;
    ASSERT_TRUE(world.undock(world.findVessel("Halcyra"), 0, reason)) << reason;
    press("1");
    press("e");
    world.setFocus(world.findVessel("CKit_Eng-Marietta_Vasko"));
    EXPECT_EQ(
        panel(),
        "  Halcyra                               halcyra    8.0 m   0.0 m/s -        open 39\n"
        "  Tender                                Tender   21.7 km   0.0 m/s -        open 3 \n"
        "> CKit_Eng-Marietta_Vasko               CKit           -         - -        -      \n");
    EXPECT_EQ(map(), "6                    @\n7                   ###\n8                   #h#\n"
                     "9                   ###\n"
                     "1 col = 2 m, 1 line = 4 m; Halcyra airlock (open) at x 0.0 y 0.0 z -8.0 m");
    press("down");
    press("down");
    press("down");
    EXPECT_EQ(map(),
              "6                   #@#\n7                   #.#\n8                   #h#\n"
              "9                   ###\n1 col = 2 m, 1 line = 4 m; inside Halcyra's airlock");
    world.setFocus(world.findVessel("Halcyra"));
    press("a");
    EXPECT_EQ(map(),
              "3                 ###C###\n4                 #:::::#\n5                 #:::::#\n"
              "6                 #::@::#\n7                 #:::::#\n8                 #:::::#\n"
              "9                 #######\n"
              "1 col = 1 m, 1 line = 2 m; Halcyra airlock (closed) at x 0.0 y 0.0 z 0.0 m");
}

TEST(VesselPanelText, FillsTheWidthAskedAndFitsEachMeasureToItsColumn) {
    vx::VesselRow row;
    row.name = std::string(200, 'N');
    row.className = "halcyra";
    row.distance = 21700.0;
    row.speed = 0.2;
    row.docks = "0>Tender 1>Shuttle";
    row.focus = true;
    for (int width : {40, 56, 83, 200}) {
        EXPECT_EQ(vx::vesselPanelHeader(width).size(), static_cast<std::size_t>(width));
        EXPECT_EQ(vx::formatVesselRow(row, width).size(), static_cast<std::size_t>(width));
        EXPECT_EQ(vx::formatVesselRow(row, width).rfind("> ", 0), 0u);
    }
    EXPECT_EQ(vx::shortMeasure(12.34, "m") + vx::shortMeasure(4100.0, "m") +
                  vx::shortMeasure(7.6e6, "m") + vx::shortMeasure(-3.21, "m/s") +
                  vx::shortMeasure(999.9, "m/s"),
              "12.3 m4.1 km7.6 Mm-3.2 m/s999.9 m/s");
}

} // namespace
