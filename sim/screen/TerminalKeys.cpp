#include "sim/screen/TerminalKeys.h"

#include <curses.h>

#include <cstring>
#include <string>

namespace vx {

namespace {

constexpr int kTab = 9;
constexpr int kCtrlC = 3;
constexpr int kCtrlQ = 17;
constexpr int kLineFeed = 10;
constexpr int kReturn = 13;

// The shifted digits of a US keyboard, from 0 to 9.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

TerminalKey vesselKey(const std::string& text) {
    TerminalKey key;
    if (parseKeySpec(text, key.key)) {
        key.action = TerminalAction::VesselKey;
    }
    return key;
}

TerminalKey action(TerminalAction what) {
    TerminalKey key;
    key.action = what;
    return key;
}

// The keys of ModifiedKeyCodes, as the terminal description and as a script names them.
constexpr const char* kCapabilities[ModifiedKeyCodes::kKeys] = {"kUP",  "kDN",  "kLFT",
                                                                "kRIT", "kPRV", "kNXT"};
constexpr const char* kModifiedNames[ModifiedKeyCodes::kKeys] = {"up",    "down", "left",
                                                                 "right", "pgup", "pgdn"};

struct NamedCode {
    int code;
    const char* text;
};

int codeOf(const char* capability) {
    const int code = key_defined(capability);
    return code > 0 ? code : 0;
}

} // namespace

ModifiedKeyCodes lookUpModifiedKeys() {
    ModifiedKeyCodes codes;
    for (int i = 0; i < ModifiedKeyCodes::kKeys; ++i) {
        // The terminal description's names: 5 for Ctrl, 6 for Ctrl and Shift.
        codes.ctrl[i] = codeOf((std::string(kCapabilities[i]) + "5").c_str());
        codes.ctrlShift[i] = codeOf((std::string(kCapabilities[i]) + "6").c_str());
    }
    return codes;
}

TerminalKey translateTerminalKey(int code, const ModifiedKeyCodes& modified) {
    if (code >= 'a' && code <= 'z') {
        return vesselKey(std::string(1, static_cast<char>(code)));
    }
    if (code >= 'A' && code <= 'Z') {
        return vesselKey("shift+" + std::string(1, static_cast<char>(code - 'A' + 'a')));
    }
    if (code >= '0' && code <= '9') {
        return vesselKey(std::string(1, static_cast<char>(code)));
    }
    if (code > 0 && code < 128) {
        if (const char* digit = std::strchr(kShiftedDigits, code)) {
            return vesselKey("shift+" +
                             std::string(1, static_cast<char>('0' + (digit - kShiftedDigits))));
        }
    }
    switch (code) {
    case kTab:
        return action(TerminalAction::NextFocus);
    case KEY_BTAB:
        return action(TerminalAction::PreviousFocus);
    case kCtrlC:
    case kCtrlQ:
    case KEY_F(10):
        return action(TerminalAction::Quit);
    case KEY_F(2):
        return action(TerminalAction::Save);
    case KEY_F(5):
        return action(TerminalAction::Undock);
    case KEY_F(6):
        return action(TerminalAction::Dock);
    case '+':
        return action(TerminalAction::Faster);
    case '-':
        return action(TerminalAction::Slower);
    case KEY_RESIZE:
        return action(TerminalAction::Resize);
    case kLineFeed:
    case kReturn:
        return {};
    default:
        break;
    }
    // Ctrl with a letter arrives as the letter's place in the alphabet.
    if (code >= 1 && code <= 26) {
        return vesselKey("ctrl+" + std::string(1, static_cast<char>('a' + code - 1)));
    }
    static const NamedCode kPlain[] = {
        {KEY_UP, "up"},
        {KEY_DOWN, "down"},
        {KEY_LEFT, "left"},
        {KEY_RIGHT, "right"},
        {KEY_PPAGE, "pgup"},
        {KEY_NPAGE, "pgdn"},
        {KEY_SR, "shift+up"},
        {KEY_SF, "shift+down"},
        {KEY_SLEFT, "shift+left"},
        {KEY_SRIGHT, "shift+right"},
        {KEY_SPREVIOUS, "shift+pgup"},
        {KEY_SNEXT, "shift+pgdn"},
    };
    for (const NamedCode& named : kPlain) {
        if (code == named.code) {
            return vesselKey(named.text);
        }
    }
    for (int i = 0; i < ModifiedKeyCodes::kKeys; ++i) {
        if (modified.ctrl[i] != 0 && code == modified.ctrl[i]) {
            return vesselKey(std::string("ctrl+") + kModifiedNames[i]);
        }
        if (modified.ctrlShift[i] != 0 && code == modified.ctrlShift[i]) {
            return vesselKey(std::string("shift+ctrl+") + kModifiedNames[i]);
        }
    }
    return {};
}

} // namespace vx
