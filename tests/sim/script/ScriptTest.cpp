// The script reader: comments, the text of expect, key names, inline commands, and the line and
// reason of every refusal. What each command does is vxsim's every-command transcript.
#include "sim/script/Script.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace {

TEST(Script, CommentsAreCutExceptInsideTheTextOfExpect) {
    std::vector<vx::Command> c;
    std::string error;
    ASSERT_TRUE(vx::parseScript("\xEF\xBB\xBF# demo\r\n\n   \t\n  # indented\nstep 2 # two\r\n"
                                "focus Ship#2\nfocus Ship\t#2\nexpect hud\nexpect hud  Slot #2 # "
                                "kept  \r\n  expect   debug EVA OK - Vasko.  All\n"
                                "dock \"Big Tender\" 0 \"A B\" 1\nfocus \"Big  Tender\"\n",
                                "script.vxs", c, error));
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ(c[0].line * 10 + c[0].count, 52);
    EXPECT_EQ(c[1].name + "|" + c[2].name + "|" + c[3].text + "|" + c[4].text + "|" + c[5].text +
                  "|" + c[6].name + "|" + c[6].other + "|" + c[7].name,
              "Ship#2|Ship|| Slot #2 # kept  |EVA OK - Vasko.  All|Big Tender|A B|Big  Tender");
    EXPECT_EQ(vx::inlineScriptText("step; step two;;quit"), "step\nstep two\n\nquit\n");
}

TEST(Script, KeyNamesGiveScanCodesAndTheModifiersHeld) {
    std::string got; // scan code / modifiers held: 1 left shift, 2 right, 4 left ctrl, 8 right
    for (const char* text :
         {"e", "Z", "0", "9", "up", "down", "left", "right", "pgup", "PgDn", "shift+a", "lshift+s",
          "rshift+c", "ctrl+2", "lctrl+up", "rctrl+a", "Shift+RCtrl+m"}) {
        vx::KeySpec key;
        EXPECT_TRUE(vx::parseKeySpec(text, key) && key.text == text) << text;
        char code[16];
        std::snprintf(code, sizeof code, "%X/%d ", key.code,
                      key.leftShift + 2 * key.rightShift + 4 * key.leftCtrl + 8 * key.rightCtrl);
        got += code;
    }
    EXPECT_EQ(got,
              "12/0 2C/0 B/0 A/0 C8/0 D0/0 CB/0 CD/0 C9/0 D1/0 1E/1 1F/1 2E/2 3/4 C8/4 1E/8 32/9 ");
    for (const char* text : {"", "shift", "shift+", "+E", "alt+E", "shift++E", "E+shift", "F1"}) {
        vx::KeySpec key;
        EXPECT_FALSE(vx::parseKeySpec(text, key)) << "'" << text << "'";
    }
}

TEST(Script, RefusalsNameTheLineTheCommandAndTheBadArgument) {
    const std::pair<const char*, const char*> cases[] = {
        {"step\n\njump 3\n", "3: unknown command 'jump' (vxsim help commands lists them)"},
        {"dt\n", "1: dt: missing SECONDS"},
        {"dt -0.1\n", "1: dt: '-0.1' is out of range, 0 .. 1e6 s"},
        {"step 1000000001\n", "1: step: '1000000001' is out of range, 0 .. 1000000000"},
        {"run 1e11\n", "1: run: '1e11' is out of range, more than 0, up to 1e10 s"},
        {"place A B 1 2 -1e14\n", "1: place: Z '-1e14' is out of range, -1e13 .. 1e13 m"},
        {"step two\n", "1: step: 'two' is not a whole number"},
        {"run 0\n", "1: run: '0' must be greater than 0"},
        {"run 1e400\n", "1: run: '1e400' is out of range, more than 0, up to 1e10 s"},
        {"dock \"Big Tender 0 A 1\n", "1: dock: A has no closing '\"'"},
        {"undock \"Big\"0\n", "1: undock: A: a blank must follow the closing '\"'"},
        {"focus \"Big\" Tender\n", "1: focus: unexpected 'Tender' after NAME"},
        {"fly\x1b[2J\n", "1: unknown command 'fly\\x1b[2J' (vxsim help commands lists them)"},
        {"key alt+E\n", "1: key: 'alt+E' is not a key (vxsim help keys lists them)"},
        {"focus # nobody\n", "1: focus: missing NAME"},
        {"create CKit\n", "1: create: missing NAME"},
        {"place A B 1 y 3\n", "1: place: Y 'y' is not a number"},
        {"place A B 1 2 3 4\n", "1: place: unexpected '4' after Z"},
        {"dock Halcyra 0 Tender\n", "1: dock: missing B's PORT"},
        {"dock Halcyra 0 Tender -1\n", "1: dock: B's PORT '-1' is out of range, 0 .. 2147483647"},
        {"dock Halcyra 2147483648 Tender 0\n",
         "1: dock: A's PORT '2147483648' is out of range, 0 .. 2147483647"},
        {"save my file.scn\n", "1: save: unexpected 'file.scn' after FILE"},
        {"print weather\n",
         "1: print: 'weather' is not one of time, hud, debug, vessels, scenario, vessel or lift"},
        {"print time now\n", "1: print: unexpected 'now' after time"},
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
