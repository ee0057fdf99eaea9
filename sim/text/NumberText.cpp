#include "sim/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vx {

namespace {

// A leading '+' is what a writer types for a positive offset; from_chars knows only '-'.
// One sign at most: "+-1" stays refused.
bool dropPlus(std::string_view& text) {
    if (text.empty() || text.front() != '+')
        return true;
    text.remove_prefix(1);
    return !text.empty() && text.front() != '-' && text.front() != '+';
}

} // namespace

std::string formatNumber(double value) {
    std::string out;
    appendNumber(out, value);
    return out;
}

void appendNumber(std::string& out, double value) {
    // The longest shortest-form double ("-2.2250738585072014e-308") has 24 characters.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendVector(std::string& out, const VECTOR3& v) {
    appendNumber(out, v.x);
    out += ' ';
    appendNumber(out, v.y);
    out += ' ';
    appendNumber(out, v.z);
}

bool parseNumber(std::string_view text, double& value) {
    return readNumber(text, value) == NumberRead::Read;
}

NumberRead readNumber(std::string_view text, double& value) {
    if (!dropPlus(text) || text.empty())
        return NumberRead::NotANumber;
    // from_chars also reads "inf" and "nan"; a position or a time never holds them.
    const char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (first != '.' && (first < '0' || first > '9'))
        return NumberRead::NotANumber;
    double parsed = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (result.ptr != end ||
        (result.ec != std::errc{} && result.ec != std::errc::result_out_of_range))
        return NumberRead::NotANumber;
    if (result.ec == std::errc::result_out_of_range || !std::isfinite(parsed))
        return NumberRead::OutOfRange;
    value = parsed;
    return NumberRead::Read;
}

bool parseInteger(std::string_view text, long long& value) {
    return readInteger(text, value) == NumberRead::Read;
}

NumberRead readInteger(std::string_view text, long long& value) {
    if (!dropPlus(text) || text.empty())
        return NumberRead::NotANumber;
    long long parsed = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed, 10);
    if (result.ptr != end)
        return NumberRead::NotANumber;
    if (result.ec == std::errc::result_out_of_range)
        return NumberRead::OutOfRange;
    if (result.ec != std::errc{})
        return NumberRead::NotANumber;
    value = parsed;
    return NumberRead::Read;
}

} // namespace vx
