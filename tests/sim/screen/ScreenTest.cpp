// The interactive screen's parts: where F2 saves, what a terminal key means, how text and
// columns fit a panel, and the views of the demo world that a person flies by: the vessel
// rows and the map to walk back in by.
#include <curses.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "host/Keys.h"
#include "sim/screen/InteractiveSession.h"
#include "sim/screen/NearbyMap.h"
#include "sim/screen/SaveTarget.h"
#include "sim/screen/TerminalKeys.h"
#include "sim/screen/VesselPanel.h"
#include "sim/screen/WordBreak.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace {

TEST(SaveTarget, IsBesideTheLoadedScenarioUnderItsOwnName) {
    std::string targets;
    for (const char* scenario :
         {"", "demo.scn", "s/orbit.scn", "/f/drop.scn", "plain", "my colony.txt"}) {
        targets += vx::saveTargetFor("/p", scenario).file.string() + ", ";
    }
    EXPECT_EQ(targets, "/p/demo-saved.scn, /p/demo-saved.scn, /p/s/orbit-saved.scn, "
                       "/f/drop-saved.scn, /p/plain-saved.scn, /p/my colony-saved.txt, ");
}

TEST(TerminalKeys, CarryTheScanCodeAndModifiersOrAreTheScreensOwn) {
    vx::ModifiedKeyCodes modified;
    modified.ctrl[0] = 600;      // up
    modified.ctrlShift[5] = 601; // Page Down
    const char* const actions[] = {"none", "",       "next",   "previous", "save",  "undock",
                                   "dock", "faster", "slower", "quit",     "resize"};
    std::string keys; // a vessel's key as the log shows it, with its scan code and left modifiers
    for (int code : std::initializer_list<int>{
             'e',      'z',      'E',      1,         19,        '1', '0', '9',        '!',
             ')',      KEY_DOWN, KEY_SR,   KEY_PPAGE, KEY_SNEXT, 600, 601, 9,          KEY_BTAB,
             KEY_F(2), KEY_F(5), KEY_F(6), KEY_F(10), 17,        '+', '-', KEY_RESIZE, 13,
             10,       '~',      KEY_F(1), 0,         3,         26,  28}) {
        const vx::TerminalKey key = vx::translateTerminalKey(code, modified);
        keys += (key.action != vx::TerminalAction::VesselKey
                     ? std::string(actions[static_cast<int>(key.action)])
                     : key.key.text + " " + std::to_string(key.key.code) +
                           (key.key.leftShift ? " S" : "") + (key.key.leftCtrl ? " C" : "") +
                           (key.key.rightShift || key.key.rightCtrl ? " R" : "")) +
                ", ";
    }
    EXPECT_EQ(keys,
              "e 18, z 44, shift+e 18 S, ctrl+a 30 C, ctrl+s 31 C, 1 2, 0 11, 9 10, shift+1 2 S, "
              "shift+0 11 S, down 208, shift+up 200 S, pgup 201, shift+pgdn 209 S, ctrl+up 200 C, "
              "shift+ctrl+pgdn 209 S C, next, previous, save, undock, dock, quit, quit, faster, "
              "slower, resize, none, none, none, none, none, quit, ctrl+z 44 C, none, ");
}

// The demo scenario loaded into world; false with the reason in error.
bool loadDemo(vx::World& world, std::string& error) {
    vx::ScenarioDoc doc;
    return vx::parseScenarioText(vxtest::readFile(VX_DEMO_SCENARIO), "demo.scn", doc, error) &&
           world.load(doc, error);
}

// The tender casts off, and the selected member leaves on foot: one seat more on the colony,
// and a walker who publishes no airlock, standing 1 m out of the colony's, walks back into it.
TEST(DemoWorld, RowsAndMapFollowTheRoadOfOneEva) {
    const vxtest::TestRoot root;
    vx::World world;
    std::string error;
    world.setWarningSink([](std::string_view) {});
    ASSERT_TRUE(loadDemo(world, error)) << error;
    world.step(0.1);
    const auto press = [&world](std::initializer_list<const char*> names) {
        for (vx::KeySpec key; const char* name : names) {
            vx::parseKeySpec(name, key);
            world.pressKey(key);
        }
    };
    auto panel = [&world, rows = std::vector<vx::VesselRow>()](int width) mutable {
        vx::collectVesselRows(world, rows);
        std::string text;
        for (const std::string& line : vx::vesselPanelLines(rows, width)) {
            text += line + "\n";
        }
        return text;
    };
    const auto map = [&world] { // the lines not blank, numbered, without trailing blanks
        vx::NearbyMap drawn;
        vx::drawNearbyMap(world, 41, 13, drawn);
        std::string text;
        for (std::size_t i = 0; i < drawn.lines.size(); ++i) {
            const std::size_t end = drawn.lines[i].find_last_not_of(' '); // npos when blank
            text += end > 40 ? "" : std::to_string(i) + drawn.lines[i].substr(0, end + 1) + "\n";
        }
        return text + drawn.caption;
    };
    EXPECT_EQ(panel(200), "  VESSEL  CLASS      DIST REL VEL DOCKS     AIRLOCK SEATS\n"
                          "> Halcyra halcyra       -       - 0>Tender  open       38\n"
                          "  Tender  Tender  21.7 km 0.0 m/s 0>Halcyra open        3\n");
    ASSERT_TRUE(world.undock(world.findVessel("Halcyra"), 0, error)) << error;
    press({"1", "e"});
    world.setFocus(world.findVessel("CKit_Eng-Marietta_Vasko"));
    EXPECT_EQ(panel(200),
              "  VESSEL                  CLASS      DIST REL VEL DOCKS AIRLOCK SEATS\n"
              "  Halcyra                 halcyra   8.0 m 0.0 m/s -     open       39\n"
              "  Tender                  Tender  21.7 km 0.0 m/s -     open        3\n"
              "> CKit_Eng-Marietta_Vasko CKit          -       - -     -           -\n");
    // Too narrow: the widest text column gives way first, down to its header's width; no number.
    EXPECT_EQ(panel(50), "  VESSEL CLASS    DIST REL VEL DOCKS AIRLOCK SEATS\n"
                         "  Halcyr halcy   8.0 m 0.0 m/s -     open       39\n"
                         "  Tender Tende 21.7 km 0.0 m/s -     open        3\n"
                         "> CKit_E CKit        -       - -     -           -\n");
    EXPECT_EQ(panel(52), "  VESSEL CLASS      DIST REL VEL DOCKS AIRLOCK SEATS\n"
                         "  Halcyr halcyra   8.0 m 0.0 m/s -     open       39\n"
                         "  Tender Tender  21.7 km 0.0 m/s -     open        3\n"
                         "> CKit_E CKit          -       - -     -           -\n");
    EXPECT_EQ(map(), "6                    @\n7                   ###\n8                   #h#\n"
                     "9                   ###\n"
                     "1 col = 2 m, 1 line = 4 m; Halcyra airlock (open) at x 0.0 y 0.0 z -8.0 m");
    press({"down", "down", "down"});
    EXPECT_EQ(map(),
              "6                   #@#\n7                   #.#\n8                   #h#\n"
              "9                   ###\n1 col = 2 m, 1 line = 4 m; inside Halcyra's airlock");
    world.setFocus(world.findVessel("Halcyra"));
    press({"a"});
    EXPECT_EQ(map(),
              "3                 ###C###\n4                 #:::::#\n5                 #:::::#\n"
              "6                 #::@::#\n7                 #:::::#\n8                 #:::::#\n"
              "9                 #######\n"
              "1 col = 1 m, 1 line = 2 m; Halcyra airlock (closed) at x 0.0 y 0.0 z 0.0 m");
}

// The demo flown on a terminal of width by height: each burst of keys is typed at once and
// given a few frames; the last frame the session drew is read back from the screen's own
// buffer, without trailing blanks and with the clock's figures (the title's time, the log's
// stamps) blanked.
std::string flyDemo(const std::vector<std::string>& bursts, int width, int height,
                    bool saveExists) {
    const vxtest::TestRoot root;
    if (saveExists) {
        root.write("demo-saved.scn", "an earlier save\n");
    }
    winsize size{};
    size.ws_col = static_cast<unsigned short>(width);
    size.ws_row = static_cast<unsigned short>(height);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
    if (child == 0) {
        setenv("TERM", "xterm", 1);
        unsetenv("LINES");
        unsetenv("COLUMNS");
        vx::World world;
        std::string error;
        vx::InteractiveSession session(world, vx::saveTargetFor(".", "demo.scn"), "demo.scn");
        world.setEventSink([&session](double simt, std::string_view kind, std::string_view text) {
            session.event(simt, kind, text);
        });
        if (!loadDemo(world, error)) {
            _exit(3);
        }
        session.markSaved();
        session.run();
        std::string frame;
        for (int line = 0; line < height; ++line) {
            char text[512] = {};
            mvwinnstr(stdscr, line, 0, text, width);
            const std::string_view shown(text);
            frame.append(shown.substr(0, shown.find_last_not_of(' ') + 1)).append("\n");
        }
        std::ofstream("frame.txt") << frame.substr(0, frame.find_last_not_of('\n') + 1) << "\n";
        _exit(0);
    }
    const auto drain = [terminal](int milliseconds) { // false once the session has ended
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        char sink[4096];
        for (pollfd ready{terminal, POLLIN, 0}; std::chrono::steady_clock::now() < until;) {
            if (poll(&ready, 1, 10) > 0 && read(terminal, sink, sizeof sink) <= 0) {
                return false;
            }
        }
        return true;
    };
    drain(300);
    for (const std::string& burst : bursts) {
        EXPECT_EQ(write(terminal, burst.data(), burst.size()), static_cast<ssize_t>(burst.size()));
        drain(250);
    }
    drain(4000); // the last burst quits; a session that does not is stopped after 4 s
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(terminal);
    return std::regex_replace(
        std::regex_replace(root.read("frame.txt"), std::regex(R"(t \d+\.\d s)"), "t _ s"),
        std::regex(R"(\[\d+\.\d\d\])"), "[_]");
}

// Keys as xterm sends them with the keypad on.
const std::string F2 = "\x1bOQ", F5 = "\x1b[15~", F6 = "\x1b[17~", F10 = "\x1b[21~",
                  down = "\x1bOB";

// Each road's last frame is kept in screen-roads.expected after a line "== NAME".
TEST(Screen, RoadsFlownOnATerminalLeaveTheKeptFrames) {
    const struct {
        const char* name;
        std::vector<std::string> bursts;
        int width = 80, height = 24;
        bool saveExists = false; // the save target is there before
    } roads[] = {
        {"time warp tops at x100; Enter gives the status line back to the keys; a world as saved "
         "quits unasked",
         {"+", "+", "+", "-", "\r", F10},
         90},
        {"too small: only quitting acts", {"m", F10}, 70, 20},
        {"a member out on EVA walks back in; quitting unsaved is asked about",
         {F5, "1", "e", "\t\t", down, down, F10, "y"}},
        {"cast off, docked again, saved over an earlier save once asked, then saved at once",
         {F5, F6, F2, "y", F2, F10},
         80,
         24,
         true},
    };
    const std::string kept = vxtest::readFile(VX_SCREEN_ROADS);
    for (const auto& road : roads) {
        const std::size_t at = kept.find(std::string("== ") + road.name + "\n");
        ASSERT_NE(at, std::string::npos) << road.name;
        const std::size_t from = kept.find('\n', at) + 1;
        EXPECT_EQ(flyDemo(road.bursts, road.width, road.height, road.saveExists),
                  kept.substr(from, kept.find("== ", from) - from))
            << road.name;
    }
}

TEST(WordBreak, BreaksAtTheLastSpaceThatFitsAndCutsOnlyAWordLongerThanALine) {
    // The text, the width, and the lines it is broken into, joined by '|'.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"EVA OK - Marietta Vasko commencing spacewalk.  All traffic", 19,
         "EVA OK - Marietta|Vasko commencing|spacewalk.  All|traffic"},
        {"[3.92] vessel+: CKit_Eng-Marietta_Vasko (CKit)", 10,
         "[3.92]|vessel+:|CKit_Eng-M|arietta_Va|sko (CKit)"},
        {"ab cd", 5, "ab cd"},
        {"ab   cd", 4, "ab|cd"},
    };
    for (const auto& [text, width, expected] : cases) {
        std::string lines;
        for (std::string_view line : vx::breakAtSpaces(text, width)) {
            lines += (lines.empty() ? "" : "|") + std::string(line);
        }
        EXPECT_EQ(lines, expected) << text << " at " << width;
    }
}

TEST(ShortMeasure, GivesTenthsOfTheUnitOrOfItsThousandOrMillion) {
    EXPECT_EQ(vx::shortMeasure(12.34, "m") + vx::shortMeasure(4100.0, "m") +
                  vx::shortMeasure(7.6e6, "m") + vx::shortMeasure(-3.21, "m/s") +
                  vx::shortMeasure(999.9, "m/s") + vx::shortMeasure(1000.0, "m"),
              "12.3 m4.1 km7.6 Mm-3.2 m/s999.9 m/s1.0 km");
}

} // namespace
