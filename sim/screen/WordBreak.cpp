#include "sim/screen/WordBreak.h"

#include <algorithm>

namespace vx {

std::vector<std::string_view> breakAtSpaces(std::string_view text, int width) {
    const std::size_t room = static_cast<std::size_t>(std::max(width, 1));
    std::vector<std::string_view> lines;
    for (std::string_view rest = text;;) {
        if (rest.size() <= room) {
            lines.push_back(rest);
            return lines;
        }
        // A space just past the line's end still lets the whole line be words.
        const std::size_t space = rest.rfind(' ', room);
        const std::size_t wordEnd =
            space == std::string_view::npos ? space : rest.find_last_not_of(' ', space);
        if (wordEnd == std::string_view::npos) {
            lines.push_back(rest.substr(0, room));
            rest.remove_prefix(room);
        } else {
            lines.push_back(rest.substr(0, wordEnd + 1));
            rest.remove_prefix(space);
        }
        const std::size_t next = rest.find_first_not_of(' ');
        if (next == std::string_view::npos) {
            return lines;
        }
        rest.remove_prefix(next);
    }
}

} // namespace vx
