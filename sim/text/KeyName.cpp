#include "sim/text/KeyName.h"

#include "host/Keys.h"

namespace vx {

const NamedKey kNamedKeys[6] = {
    {"up", VXK_UP, "up arrow"},       {"down", VXK_DOWN, "down arrow"},
    {"left", VXK_LEFT, "left arrow"}, {"right", VXK_RIGHT, "right arrow"},
    {"pgup", VXK_PRIOR, "Page Up"},   {"pgdn", VXK_NEXT, "Page Down"},
};

const ModifierName kModifierNames[6] = {
    {"shift", true, false, false, false, "left Shift"},
    {"lshift", true, false, false, false, "left Shift"},
    {"rshift", false, true, false, false, "right Shift"},
    {"ctrl", false, false, true, false, "left Ctrl"},
    {"lctrl", false, false, true, false, "left Ctrl"},
    {"rctrl", false, false, false, true, "right Ctrl"},
};

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Modifier and key names are written in lower case in every example, but "Shift+E" means
// the same to whoever types it.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

constexpr std::uint32_t letterCodes[26] = {
    VXK_A, VXK_B, VXK_C, VXK_D, VXK_E, VXK_F, VXK_G, VXK_H, VXK_I, VXK_J, VXK_K, VXK_L, VXK_M,
    VXK_N, VXK_O, VXK_P, VXK_Q, VXK_R, VXK_S, VXK_T, VXK_U, VXK_V, VXK_W, VXK_X, VXK_Y, VXK_Z};
constexpr std::uint32_t digitCodes[10] = {VXK_0, VXK_1, VXK_2, VXK_3, VXK_4,
                                          VXK_5, VXK_6, VXK_7, VXK_8, VXK_9};

bool keyCode(std::string_view name, std::uint32_t& code) {
    if (name.size() == 1) {
        const char c = lower(name.front());
        if (c >= 'a' && c <= 'z') {
            code = letterCodes[c - 'a'];
            return true;
        }
        if (c >= '0' && c <= '9') {
            code = digitCodes[c - '0'];
            return true;
        }
        return false;
    }
    for (const NamedKey& k : kNamedKeys) {
        if (sameName(name, k.name)) {
            code = k.code;
            return true;
        }
    }
    return false;
}

bool holdModifier(std::string_view name, KeySpec& key) {
    for (const ModifierName& m : kModifierNames) {
        if (sameName(name, m.name)) {
            key.leftShift = key.leftShift || m.leftShift;
            key.rightShift = key.rightShift || m.rightShift;
            key.leftCtrl = key.leftCtrl || m.leftCtrl;
            key.rightCtrl = key.rightCtrl || m.rightCtrl;
            return true;
        }
    }
    return false;
}

} // namespace

bool parseKeySpec(std::string_view text, KeySpec& key) {
    KeySpec parsed;
    parsed.text = text;
    std::string_view rest = text;
    for (std::size_t plus = rest.find('+'); plus != std::string_view::npos; plus = rest.find('+')) {
        if (!holdModifier(rest.substr(0, plus), parsed))
            return false;
        rest.remove_prefix(plus + 1);
    }
    if (!keyCode(rest, parsed.code))
        return false;
    key = std::move(parsed);
    return true;
}

} // namespace vx
