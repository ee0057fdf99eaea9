// What a key read from the terminal means on the interactive screen: a key for the focus
// vessel (with the Shift and Ctrl it was typed with), or one of the screen's own commands.
#pragma once

#include <string>

#include "sim/text/KeyName.h"

namespace vx {

enum class TerminalAction {
    None,      // a key that means nothing here
    VesselKey, // key goes to the focus vessel
    NextFocus,
    PreviousFocus,
    Save,
    Undock, // the focus vessel's docks are all released
    Dock,   // the closest pair of free ports, the focus vessel's and another's
    Faster, // time acceleration 1, 10, 100
    Slower,
    Quit,
    Resize,
};

struct TerminalKey {
    TerminalAction action = TerminalAction::None;
    KeySpec key; // for VesselKey
};

// The codes the terminal's description gives the Ctrl (and Ctrl+Shift) arrows and Page keys;
// they have no fixed values, so the screen looks them up once and hands them in. In the order
// up, down, left, right, Page Up, Page Down; 0 where the terminal has none.
struct ModifiedKeyCodes {
    static constexpr int kKeys = 6;
    int ctrl[kKeys] = {};
    int ctrlShift[kKeys] = {};
};

// Looks the codes up in the running terminal's description (after the screen is set up).
ModifiedKeyCodes lookUpModifiedKeys();

// Translates one code as the terminal library's key reader returns it.
TerminalKey translateTerminalKey(int code, const ModifiedKeyCodes& modified);

} // namespace vx
