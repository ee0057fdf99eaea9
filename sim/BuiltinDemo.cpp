#include "sim/BuiltinDemo.h"

namespace vx {

std::string_view builtinDemoScenario() {
    return R"(# The colony alone, in a circular orbit of 7000 km radius.
BEGIN_WORLD
  TIME 0
  BODY Earth 6371000 3.986004418e14
  FOCUS Halcyra
  HUDSIZE 1024 768
END_WORLD
BEGIN_VESSEL halcyra Halcyra
  POS 7000000 0 0
  VEL 0 7546.0 0
  ORI 0 0 0
  AVEL 0 0 3.2
  STATUS FLIGHT
END_VESSEL
)";
}

std::string_view builtinDemoScript() {
    return R"(# A few steps of the colony on its own.
dt 0.1
step 5
print vessel Halcyra
print vessels
)";
}

} // namespace vx
