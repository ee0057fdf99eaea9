// Key names as scripts and the screen write them: a letter, a digit, or up, down, left,
// right, pgup, pgdn, each with the modifiers held with it ("shift+E", "rctrl+a"). The tables
// here are what the reader reads and what `vxsim help keys` shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// A key as a script names it: one key and the modifiers held with it.
struct KeySpec {
    std::uint32_t code = 0; // scan code of the key
    bool leftShift = false;
    bool rightShift = false;
    bool leftCtrl = false;
    bool rightCtrl = false;
    std::string text; // as written in the script ("shift+E"), for the transcript
};

// Reads a key name ("E", "shift+E", "rctrl+a", "pgup"); false when it is not one. Names are
// read without regard to case.
bool parseKeySpec(std::string_view text, KeySpec& key);

struct NamedKey {
    const char* name;   // as written in a script
    std::uint32_t code; // the scan code sent
    const char* what;   // the key on a keyboard
};
// The keys with a name of more than one character; letters and digits name themselves.
extern const NamedKey kNamedKeys[6];

struct ModifierName {
    const char* name; // as written before a '+'
    bool leftShift;   // which modifiers it holds
    bool rightShift;
    bool leftCtrl;
    bool rightCtrl;
    const char* what;
};
extern const ModifierName kModifierNames[6];

} // namespace vx
