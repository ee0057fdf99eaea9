// Keyboard scan codes, as the host passes them to VESSEL2::clbkConsumeBufferedKey, and the
// key-state array that comes with them: 256 bytes indexed by code, bit 0x80 set while down.
#pragma once

#include <cstdint>

enum : std::uint32_t {
    VXK_1 = 0x02,
    VXK_2 = 0x03,
    VXK_3 = 0x04,
    VXK_4 = 0x05,
    VXK_5 = 0x06,
    VXK_6 = 0x07,
    VXK_7 = 0x08,
    VXK_8 = 0x09,
    VXK_9 = 0x0A,
    VXK_0 = 0x0B,
    VXK_Q = 0x10,
    VXK_W = 0x11,
    VXK_E = 0x12,
    VXK_R = 0x13,
    VXK_T = 0x14,
    VXK_Y = 0x15,
    VXK_U = 0x16,
    VXK_I = 0x17,
    VXK_O = 0x18,
    VXK_P = 0x19,
    VXK_LCONTROL = 0x1D,
    VXK_A = 0x1E,
    VXK_S = 0x1F,
    VXK_D = 0x20,
    VXK_F = 0x21,
    VXK_G = 0x22,
    VXK_H = 0x23,
    VXK_J = 0x24,
    VXK_K = 0x25,
    VXK_L = 0x26,
    VXK_LSHIFT = 0x2A,
    VXK_Z = 0x2C,
    VXK_X = 0x2D,
    VXK_C = 0x2E,
    VXK_V = 0x2F,
    VXK_B = 0x30,
    VXK_N = 0x31,
    VXK_M = 0x32,
    VXK_RSHIFT = 0x36,
    VXK_RCONTROL = 0x9D,
    VXK_UP = 0xC8,
    VXK_PRIOR = 0xC9,
    VXK_LEFT = 0xCB,
    VXK_RIGHT = 0xCD,
    VXK_DOWN = 0xD0,
    VXK_NEXT = 0xD1
};

// Size of the key-state array.
inline constexpr int VXK_STATE_SIZE = 256;

// True when the key with this code is held in the key-state array.
inline bool KeyDown(const char* keyState, std::uint32_t code) {
    return (static_cast<unsigned char>(keyState[code & 0xFF]) & 0x80) != 0;
}

// True when either Shift or either Ctrl key is held.
inline bool ShiftOrCtrlDown(const char* keyState) {
    return KeyDown(keyState, VXK_LSHIFT) || KeyDown(keyState, VXK_RSHIFT) ||
           KeyDown(keyState, VXK_LCONTROL) || KeyDown(keyState, VXK_RCONTROL);
}
