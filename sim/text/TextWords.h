// Lines and blank-separated words, as the scenario and script readers cut their input.
// Blanks are spaces and tabs; a CR before a line's end is the mark of a file written on
// Windows and belongs to no word.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::text {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view trimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return s.substr(i);
}

inline std::string_view trimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && (isBlank(s[n - 1]) || s[n - 1] == '\r'))
        --n;
    return s.substr(0, n);
}

inline std::string_view trim(std::string_view s) {
    return trimRight(trimLeft(s));
}

// Text from an input as a message shows it: control bytes escaped ("\x1b"), so that nothing
// quoted acts on the user's terminal, and a long text cut, with its length given.
inline std::string shown(std::string_view text) {
    constexpr std::size_t kShownBytes = 80;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) {
            constexpr char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > kShownBytes) {
        out += "... (";
        out += std::to_string(text.size());
        out += " bytes in all)";
    }
    return out;
}

// A word as a refusal quotes it: 'two', shown as above. Built by appending: GCC 12 at -O3
// sees a false overlap in "'" + std::string(word).
inline std::string quoted(std::string_view word) {
    std::string out(1, '\'');
    out += shown(word);
    out += '\'';
    return out;
}

// Serves a text line by line, without the '\n', counting from 1.
class LineReader {
public:
    // A UTF-8 byte-order mark, which editors on Windows put before the first line, is no
    // part of it.
    explicit LineReader(std::string_view text) : rest_(text) {
        if (rest_.starts_with("\xEF\xBB\xBF"))
            rest_.remove_prefix(3);
    }

    bool next(std::string_view& line) {
        if (done_)
            return false;
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            // A final '\n' ends the last line; it does not start an empty one.
            if (rest_.empty() && number_ > 0)
                return false;
            line = rest_;
            done_ = true;
        } else {
            line = rest_.substr(0, end);
            rest_.remove_prefix(end + 1);
        }
        ++number_;
        return true;
    }
    int number() const { return number_; }

private:
    std::string_view rest_;
    int number_ = 0;
    bool done_ = false;
};

// Takes words off the front of a line; what is left is the "rest of the line" that some
// statements read as one name.
class WordReader {
public:
    explicit WordReader(std::string_view line) : rest_(trim(line)) {}

    // The next word, or empty when the line is used up.
    std::string_view next() {
        std::size_t end = 0;
        while (end < rest_.size() && !isBlank(rest_[end]))
            ++end;
        const std::string_view word = rest_.substr(0, end);
        rest_ = trimLeft(rest_.substr(end));
        return word;
    }
    std::string_view rest() const { return rest_; }
    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

} // namespace vx::text
