// Text helpers of the crew manager. Names and tags are compared the way people read them:
// ASCII letters without regard to case, every other byte exactly.
#pragma once

#include <cstddef>
#include <cstring>

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

// Whether text begins with the first length bytes of prefix, compared as strncmp compares
// them: a terminator in both ends the comparison early, so text is never read past its end.
inline bool StartsWithBytes(const char* text, const char* prefix, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] != prefix[i]) {
            return false;
        }
        if (text[i] == '\0') {
            return true;
        }
    }
    return true;
}

// Whether an attachment point's id is exactly pointId, terminator included and case-sensitively:
// an id that only begins with it, or differs in case, names another point. The comparison
// stops at the id's terminator, since a shorter id may end its memory there.
inline bool IsPointId(const char* id, const char* pointId) {
    return id != nullptr && std::strcmp(id, pointId) == 0;
}

// Copies at most maxLength bytes of text, each from byte turned into to, and a terminator:
// destination needs room for maxLength + 1 bytes.
inline void CopyReplacingByte(char* destination, const char* text, std::size_t maxLength, char from,
                              char to) {
    std::size_t i = 0;
    for (; i < maxLength && text[i] != '\0'; ++i) {
        destination[i] = text[i] == from ? to : text[i];
    }
    destination[i] = '\0';
}
