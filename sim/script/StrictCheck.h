// vxsim --strict: a module that allocates inside one of its callbacks fails the run, with a
// line naming the class and the callback.
#pragma once

#include <string_view>

#include "sim/world/ClassRegistry.h"

namespace vx {

// The exit status of a run that a module's allocation failed.
inline constexpr int kStrictFailed = 1;

// True when no callback of any class allocated; otherwise writes one line per class and
// callback to standard error, "WHERE: strict: class 'NAME' allocated N times in CALLBACK".
bool strictCheckPasses(const ClassRegistry& classes, std::string_view where);

} // namespace vx
