// Key names as scripts and the screen write them: a letter, a digit, or up, down, left,
// right, pgup, pgdn, each with the modifiers held with it ("shift+E", "rctrl+a").
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

// Reads a key name ("E", "shift+E", "rctrl+a", "pgup"); false when it is not one.
bool parseKeySpec(std::string_view text, KeySpec& key);

} // namespace vx
