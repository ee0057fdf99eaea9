// Reading a scenario or a script whole, within the bounds its format sets: a file that goes on
// past them, or a line longer than a line may be, is refused as soon as it is seen, so that no
// input (a device that never ends, a file of one endless line) costs more than the bounds.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vx {

struct TextBounds {
    std::size_t fileBytes; // the most a file may hold
    std::size_t lineBytes; // the most one line may hold, its line ending left out
    const char* what;      // "scenario", "script": for the message
};

// Reads in from where it stands to its end. On refusal returns false with error
// "SOURCE:LINE: reason"; on a read error "SOURCE: reason". Nothing is kept of a refused file.
bool readBoundedText(std::FILE* in, const std::string& source, const TextBounds& bounds,
                     std::string& text, std::string& error);
// The same bounds for a text already at hand (a script given on the command line).
bool checkBoundedText(std::string_view text, const std::string& source, const TextBounds& bounds,
                      std::string& error);

} // namespace vx
