// The script reader: comments, the text of expect, key names, inline commands, and the line and
// reason of every refusal. What each command does is vxsim's every-command transcript.
#include "sim/script/Script.h"

#include <gtest/gtest.h>

#include "host/Keys.h"

namespace {

TEST(Script, CommentsAreCutExceptInsideTheTextOfExpect) {
    std::vector<vx::Command> c;
    std::string error;
    ASSERT_TRUE(vx::parseScript("# demo\r\n\n   \t\n  # indented\nstep 2 # two\r\nfocus Ship#2\n"
                                "focus Ship\t#2\nexpect hud\nexpect hud  Slot #2 # kept  \r\n"
                                "  expect   debug EVA OK - Vasko.  All\n",
                                "script.vxs", c, error));
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[0].line * 10 + c[0].count, 52);
    EXPECT_EQ(c[1].name + "|" + c[2].name + "|" + c[3].text + "|" + c[4].text + "|" + c[5].text,
              "Ship#2|Ship|| Slot #2 # kept  |EVA OK - Vasko.  All");
    EXPECT_EQ(c[5].expect, vx::ExpectWhat::Debug);
    EXPECT_EQ(vx::inlineScriptText("step; step two;;quit"), "step\nstep two\n\nquit\n");
}

TEST(Script, KeyNamesGiveScanCodesAndTheModifiersHeld) {
    const std::tuple<const char*, std::uint32_t, int> cases[] = {{"e", VXK_E, 0},
                                                                 {"Z", VXK_Z, 0},
                                                                 {"0", VXK_0, 0},
                                                                 {"9", VXK_9, 0},
                                                                 {"up", VXK_UP, 0},
                                                                 {"down", VXK_DOWN, 0},
                                                                 {"left", VXK_LEFT, 0},
                                                                 {"right", VXK_RIGHT, 0},
                                                                 {"pgup", VXK_PRIOR, 0},
                                                                 {"PgDn", VXK_NEXT, 0},
                                                                 {"shift+E", VXK_E, 1},
                                                                 {"lshift+s", VXK_S, 1},
                                                                 {"rshift+c", VXK_C, 2},
                                                                 {"ctrl+2", VXK_2, 4},
                                                                 {"lctrl+up", VXK_UP, 4},
                                                                 {"rctrl+a", VXK_A, 8},
                                                                 {"Shift+RCtrl+m", VXK_M, 9}};
    for (const auto& [text, code, mods] : cases) {
        vx::KeySpec key;
        ASSERT_TRUE(vx::parseKeySpec(text, key)) << text;
        EXPECT_EQ(key.code, code) << text;
        EXPECT_EQ(key.leftShift + 2 * key.rightShift + 4 * key.leftCtrl + 8 * key.rightCtrl, mods)
            << text;
        EXPECT_EQ(key.text, text);
    }
    for (const char* text : {"", "shift", "shift+", "+E", "alt+E", "shift++E", "E+shift", "F1"}) {
        vx::KeySpec key;
        EXPECT_FALSE(vx::parseKeySpec(text, key)) << "'" << text << "'";
    }
}

TEST(Script, RefusalsNameTheLineTheCommandAndTheBadArgument) {
    const std::pair<const char*, const char*> cases[] = {
        {"step\n\njump 3\n", "3: unknown command 'jump'"},
        {"dt\n", "1: dt: missing SECONDS"},
        {"dt -0.1\n", "1: dt: '-0.1' must not be negative"},
        {"dt nan\n", "1: dt: 'nan' is not a number"},
        {"dt 0.1 0.2\n", "1: dt: unexpected '0.2' after SECONDS"},
        {"step two\n", "1: step: 'two' is not a whole number"},
        {"step -1\n", "1: step: '-1' must not be negative"},
        {"run 0\n", "1: run: '0' must be greater than 0"},
        {"key alt+E\n", "1: key: 'alt+E' is not a key"},
        {"focus # nobody\n", "1: focus: missing NAME"},
        {"create CKit\n", "1: create: missing NAME"},
        {"place A B 1 y 3\n", "1: place: Y 'y' is not a number"},
        {"place A B 1 2 3 4\n", "1: place: unexpected '4' after Z"},
        {"dock Halcyra 0 Tender\n", "1: dock: missing B's PORT"},
        {"dock Halcyra 0 Tender -1\n", "1: dock: B's PORT '-1' must not be negative"},
        {"dock Halcyra 2147483648 Tender 0\n", "1: dock: A's PORT '2147483648' is too large"},
        {"undock Halcyra\n", "1: undock: missing PORT"},
        {"save my file.scn\n", "1: save: unexpected 'file.scn' after FILE"},
        {"print\n", "1: print: missing what to print (time, hud, debug, vessels, scenario, "
                    "vessel or lift)"},
        {"print weather\n",
         "1: print: 'weather' is not one of time, hud, debug, vessels, scenario, vessel or lift"},
        {"print time now\n", "1: print: unexpected 'now' after time"},
        {"print vessel\n", "1: print: missing NAME"},
        {"print lift Big Tender 5\n", "1: print: DEGREES 'Tender' is not a number"},
        {"expect\n", "1: expect: missing hud or debug"},
        {"expect hudtext\n", "1: expect: 'hudtext' is neither hud nor debug"},
        {"quit now\n", "1: quit: unexpected 'now'"},
    };
    for (const auto& [text, want] : cases) {
        std::vector<vx::Command> commands;
        std::string error;
        EXPECT_FALSE(vx::parseScript(text, "script.vxs", commands, error)) << text;
        EXPECT_EQ(error, std::string("script.vxs:") + want) << text;
    }
}

} // namespace
