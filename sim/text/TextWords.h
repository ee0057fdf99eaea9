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

// A word as a refusal quotes it: 'two'. Built by appending: GCC 12 at -O3 sees a false
// overlap in "'" + std::string(word).
inline std::string quoted(std::string_view word) {
    std::string out;
    out.reserve(word.size() + 2);
    out += '\'';
    out += word;
    out += '\'';
    return out;
}

// Serves a text line by line, without the '\n', counting from 1.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}

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
