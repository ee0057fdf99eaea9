// Text helpers of the crew manager. Names and tags are compared the way people read them:
// ASCII letters without regard to case, every other byte exactly.
#pragma once

#include <cstddef>

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameTextIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (AsciiLower(*a) != AsciiLower(*b)) {
            return false;
        }
        if (*a == '\0') {
            return true;
        }
    }
}

// Turns every occurrence of one byte into another, in place, up to the terminator.
inline void ReplaceByte(char* text, char from, char to) {
    for (; *text != '\0'; ++text) {
        if (*text == from) {
            *text = to;
        }
    }
}
