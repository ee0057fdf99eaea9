// Numbers as the host writes and reads them in scenario files, scripts and transcripts.
#pragma once

#include <string>
#include <string_view>

#include "host/Geometry.h"

namespace vx {

// Shortest text that reads back to exactly the same double ("3900000000579", "0.1", "-4").
std::string formatNumber(double value);
void appendNumber(std::string& out, double value);
// "x y z", each number in its shortest form.
void appendVector(std::string& out, const VECTOR3& v);

// The whole text must be one finite decimal number (sign, digits, point, exponent); no
// leading or trailing blanks.
bool parseNumber(std::string_view text, double& value);
// The same, telling a number too large or too small for a double ("1e400") from no number.
enum class NumberRead { Read, NotANumber, OutOfRange };
NumberRead readNumber(std::string_view text, double& value);
// The whole text must be one decimal integer with an optional sign.
bool parseInteger(std::string_view text, long long& value);
NumberRead readInteger(std::string_view text, long long& value);

} // namespace vx
