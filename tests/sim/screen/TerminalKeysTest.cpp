#include "sim/screen/TerminalKeys.h"

#include <curses.h>
#include <gtest/gtest.h>

#include <string>

#include "host/Keys.h"

namespace {

struct KeyCase {
    const char* what;
    int code;
    std::uint32_t scanCode;
    bool shift;
    bool ctrl;
    const char* text; // as the log shows it
};

class TerminalKeyForTheVessel : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TerminalKeyForTheVessel, CarriesItsScanCodeAndModifiers) {
    vx::ModifiedKeyCodes modified;
    modified.ctrl[0] = 600;      // up
    modified.ctrlShift[5] = 601; // Page Down
    const KeyCase& c = GetParam();
    const vx::TerminalKey key = vx::translateTerminalKey(c.code, modified);
    ASSERT_EQ(key.action, vx::TerminalAction::VesselKey) << c.what;
    EXPECT_EQ(key.key.code, c.scanCode) << c.what;
    EXPECT_EQ(key.key.leftShift, c.shift) << c.what;
    EXPECT_EQ(key.key.leftCtrl, c.ctrl) << c.what;
    EXPECT_FALSE(key.key.rightShift || key.key.rightCtrl) << c.what;
    EXPECT_EQ(key.key.text, c.text) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TerminalKeyForTheVessel,
    ::testing::Values(KeyCase{"Letter", 'e', VXK_E, false, false, "e"},
                      KeyCase{"Capital", 'E', VXK_E, true, false, "shift+e"},
                      KeyCase{"CtrlLetter", 1, VXK_A, false, true, "ctrl+a"},
                      KeyCase{"CtrlSNotFlowControl", 19, VXK_S, false, true, "ctrl+s"},
                      KeyCase{"Digit", '1', VXK_1, false, false, "1"},
                      KeyCase{"ShiftedDigit", '!', VXK_1, true, false, "shift+1"},
                      KeyCase{"ShiftedZero", ')', VXK_0, true, false, "shift+0"},
                      KeyCase{"Arrow", KEY_DOWN, VXK_DOWN, false, false, "down"},
                      KeyCase{"ShiftArrow", KEY_SR, VXK_UP, true, false, "shift+up"},
                      KeyCase{"Page", KEY_PPAGE, VXK_PRIOR, false, false, "pgup"},
                      KeyCase{"ShiftPage", KEY_SNEXT, VXK_NEXT, true, false, "shift+pgdn"},
                      KeyCase{"CtrlArrow", 600, VXK_UP, false, true, "ctrl+up"},
                      KeyCase{"CtrlShiftPage", 601, VXK_NEXT, true, true, "shift+ctrl+pgdn"}),
    [](const ::testing::TestParamInfo<KeyCase>& param) { return std::string(param.param.what); });

struct CommandCase {
    const char* what;
    int code;
    vx::TerminalAction action;
};

class TerminalKeyForTheScreen : public ::testing::TestWithParam<CommandCase> {};

TEST_P(TerminalKeyForTheScreen, IsTheScreensOwnOrNothing) {
    const CommandCase& c = GetParam();
    EXPECT_EQ(vx::translateTerminalKey(c.code, {}).action, c.action) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TerminalKeyForTheScreen,
    ::testing::Values(CommandCase{"Tab", 9, vx::TerminalAction::NextFocus},
                      CommandCase{"BackTab", KEY_BTAB, vx::TerminalAction::PreviousFocus},
                      CommandCase{"F2", KEY_F(2), vx::TerminalAction::Save},
                      CommandCase{"F5", KEY_F(5), vx::TerminalAction::Undock},
                      CommandCase{"F6", KEY_F(6), vx::TerminalAction::Dock},
                      CommandCase{"F10", KEY_F(10), vx::TerminalAction::Quit},
                      CommandCase{"CtrlQ", 17, vx::TerminalAction::Quit},
                      CommandCase{"Plus", '+', vx::TerminalAction::Faster},
                      CommandCase{"Minus", '-', vx::TerminalAction::Slower},
                      CommandCase{"Resize", KEY_RESIZE, vx::TerminalAction::Resize},
                      CommandCase{"Return", 13, vx::TerminalAction::None},
                      CommandCase{"LineFeed", 10, vx::TerminalAction::None},
                      CommandCase{"Tilde", '~', vx::TerminalAction::None},
                      CommandCase{"F1", KEY_F(1), vx::TerminalAction::None},
                      CommandCase{"UnknownCtrlArrowCode", 0, vx::TerminalAction::None}),
    [](const ::testing::TestParamInfo<CommandCase>& param) {
        return std::string(param.param.what);
    });

} // namespace
