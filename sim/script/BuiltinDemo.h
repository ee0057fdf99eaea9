// The scenario and script vxsim runs when it is given none.
#pragma once

#include <string_view>

namespace vx {

std::string_view builtinDemoScenario();
std::string_view builtinDemoScript();

// Names the built-in texts go by in messages.
inline constexpr std::string_view kBuiltinScenarioName = "demo.scn";
inline constexpr std::string_view kBuiltinScriptName = "demo.script";

} // namespace vx
