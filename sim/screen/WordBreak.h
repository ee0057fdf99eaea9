// Text broken into lines for a panel of the interactive screen, the way a person reads it.
#pragma once

#include <string_view>
#include <vector>

namespace vx {

// Lines of at most width characters (at least one line), broken at the last space that fits;
// a word longer than a line is cut where the line ends. The spaces at a break are dropped.
std::vector<std::string_view> breakAtSpaces(std::string_view text, int width);

} // namespace vx
