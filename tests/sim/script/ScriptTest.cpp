#include "sim/script/Script.h"

#include <gtest/gtest.h>

#include "host/Keys.h"

namespace {

using vx::Command;
using vx::CommandKind;
using vx::PrintWhat;

std::vector<Command> parseOk(std::string_view text) {
    std::vector<Command> commands;
    std::string error;
    EXPECT_TRUE(vx::parseScript(text, "script.vxs", commands, error)) << error;
    return commands;
}

TEST(Script, ReadsEveryCommandWithItsArguments) {
    const std::vector<Command> c = parseOk("dt 0.05\nstep\nstep 0\nrun 2.5\nkey shift+E\n"
                                           "focus CKit_Capt Vasko\n"
                                           "place CKit_Vasko Halcyra -3 3.5 1e2\n"
                                           "dock Halcyra 0 Tender 1\nundock Halcyra 2\n"
                                           "create CKit CKit_Capt-Governer Vasko\n"
                                           "delete Big Tender\nsave saved.scn\n"
                                           "print vessel Big Tender\nprint lift Halcyra -12.5\n"
                                           "print vessels\nquit\n");
    ASSERT_EQ(c.size(), 16u);
    const CommandKind kinds[] = {
        CommandKind::Dt,     CommandKind::Step,   CommandKind::Step,   CommandKind::Run,
        CommandKind::Key,    CommandKind::Focus,  CommandKind::Place,  CommandKind::Dock,
        CommandKind::Undock, CommandKind::Create, CommandKind::Delete, CommandKind::Save,
        CommandKind::Print,  CommandKind::Print,  CommandKind::Print,  CommandKind::Quit};
    for (std::size_t i = 0; i < c.size(); ++i) {
        EXPECT_EQ(c[i].kind, kinds[i]) << i;
        EXPECT_EQ(c[i].line, static_cast<int>(i) + 1);
    }
    EXPECT_EQ(c[0].seconds, 0.05);
    EXPECT_EQ(c[1].count, 1);
    EXPECT_EQ(c[2].count, 0);
    EXPECT_EQ(c[3].seconds, 2.5);
    EXPECT_EQ(c[4].key.code, VXK_E);
    EXPECT_EQ(c[5].name, "CKit_Capt Vasko");
    EXPECT_EQ(c[6].name + "|" + c[6].other, "CKit_Vasko|Halcyra");
    EXPECT_EQ(c[6].position.x, -3.0);
    EXPECT_EQ(c[6].position.y, 3.5);
    EXPECT_EQ(c[6].position.z, 100.0);
    EXPECT_EQ(c[7].name + "|" + c[7].other, "Halcyra|Tender");
    EXPECT_EQ(c[7].port, 0);
    EXPECT_EQ(c[7].otherPort, 1);
    EXPECT_EQ(c[8].port, 2);
    EXPECT_EQ(c[9].className + "|" + c[9].name, "CKit|CKit_Capt-Governer Vasko");
    EXPECT_EQ(c[10].name, "Big Tender");
    EXPECT_EQ(c[11].file, "saved.scn");
    EXPECT_EQ(c[12].print, PrintWhat::Vessel);
    EXPECT_EQ(c[12].name, "Big Tender");
    EXPECT_EQ(c[13].print, PrintWhat::Lift);
    EXPECT_EQ(c[13].name, "Halcyra");
    EXPECT_EQ(c[13].degrees, -12.5);
    EXPECT_EQ(c[14].print, PrintWhat::Vessels);
}

TEST(Script, CommentsAreCutExceptInsideTheTextOfExpect) {
    const std::vector<Command> c = parseOk("# demo\r\n\n   \t\n  # indented\n"
                                           "step 2 # two steps\r\n"
                                           "focus Ship#2\n"
                                           "focus Ship\t#2\n"
                                           "expect hud\n"
                                           "expect hud  Slot #2 # kept  \r\n"
                                           "  expect   debug EVA OK - Vasko.  All traffic\n");
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[0].line, 5);
    EXPECT_EQ(c[0].count, 2);
    EXPECT_EQ(c[1].name, "Ship#2");
    EXPECT_EQ(c[2].name, "Ship");
    EXPECT_EQ(c[3].expect, vx::ExpectWhat::Hud);
    EXPECT_EQ(c[3].text, "");
    EXPECT_EQ(c[4].text, " Slot #2 # kept  ");
    EXPECT_EQ(c[5].expect, vx::ExpectWhat::Debug);
    EXPECT_EQ(c[5].text, "EVA OK - Vasko.  All traffic");
}

TEST(Script, KeyNamesMapToScanCodesAndModifiers) {
    struct Case {
        const char* text;
        std::uint32_t code;
        int mods; // 1 left shift, 2 right shift, 4 left ctrl, 8 right ctrl
    };
    const Case cases[] = {
        {"e", VXK_E, 0},
        {"Z", VXK_Z, 0},
        {"0", VXK_0, 0},
        {"9", VXK_9, 0},
        {"up", VXK_UP, 0},
        {"down", VXK_DOWN, 0},
        {"left", VXK_LEFT, 0},
        {"right", VXK_RIGHT, 0},
        {"pgup", VXK_PRIOR, 0},
        {"pgdn", VXK_NEXT, 0},
        {"shift+E", VXK_E, 1},
        {"lshift+s", VXK_S, 1},
        {"rshift+c", VXK_C, 2},
        {"ctrl+2", VXK_2, 4},
        {"lctrl+up", VXK_UP, 4},
        {"rctrl+a", VXK_A, 8},
        {"Shift+rctrl+PgDn", VXK_NEXT, 9},
    };
    for (const Case& c : cases) {
        vx::KeySpec key;
        ASSERT_TRUE(vx::parseKeySpec(c.text, key)) << c.text;
        EXPECT_EQ(key.code, c.code) << c.text;
        const int mods = (key.leftShift ? 1 : 0) | (key.rightShift ? 2 : 0) |
                         (key.leftCtrl ? 4 : 0) | (key.rightCtrl ? 8 : 0);
        EXPECT_EQ(mods, c.mods) << c.text;
        EXPECT_EQ(key.text, c.text);
    }
    for (const char* text :
         {"", "shift", "shift+", "+E", "alt+E", "shift++E", "E+shift", "F1", "pageup"}) {
        vx::KeySpec key;
        EXPECT_FALSE(vx::parseKeySpec(text, key)) << "'" << text << "'";
    }
}

TEST(Script, RefusalsNameTheCommandAndTheBadArgument) {
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
        {"dock Halcyra 3000000000 Tender 0\n", "1: dock: A's PORT '3000000000' is too large"},
        {"undock Halcyra\n", "1: undock: missing PORT"},
        {"save my file.scn\n", "1: save: unexpected 'file.scn' after FILE"},
        {"print weather\n",
         "1: print: 'weather' is not one of time, hud, debug, vessels, scenario, vessel or lift"},
        {"print time now\n", "1: print: unexpected 'now' after time"},
        {"print lift Big Tender 5\n", "1: print: DEGREES 'Tender' is not a number"},
        {"expect\n", "1: expect: missing hud or debug"},
        {"expect hudtext\n", "1: expect: 'hudtext' is neither hud nor debug"},
        {"quit now\n", "1: quit: unexpected 'now'"},
    };
    for (const auto& [text, error] : cases) {
        std::vector<Command> commands;
        std::string got;
        EXPECT_FALSE(vx::parseScript(text, "script.vxs", commands, got)) << text;
        EXPECT_EQ(got, std::string("script.vxs:") + error) << text;
    }
}

TEST(Script, InlineCommandsKeepTheirPlaceAsLines) {
    EXPECT_EQ(vx::inlineScriptText("a; b ;c"), "a\nb\nc\n");
    EXPECT_EQ(vx::inlineScriptText("step;;quit"), "step\n\nquit\n");
    std::vector<Command> commands;
    std::string error;
    EXPECT_FALSE(vx::parseScript(vx::inlineScriptText("step; step two"), "-e", commands, error));
    EXPECT_EQ(error, "-e:2: step: 'two' is not a whole number");
}

} // namespace
