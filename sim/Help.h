// vxsim help TOPIC: the tables of what a script may say and what a transcript holds, printed
// from the very tables the script reader and the host use.
#pragma once

#include <cstdio>
#include <string_view>

namespace vx {

// Prints the topic ("commands", "keys" or "transcript") to out.
void printHelp(std::string_view topic, std::FILE* out);

} // namespace vx
