// A host world with the colony module loaded the way the host loads it.
#pragma once

#include <string>

#include "host/Vantrix.h"
#include "sim/world/World.h"
#include "vessel/Halcyra.h"

vx::WorldOptions colonyWorldOptions();

// Creates a vessel of the colony class in orbit through the host (vvcInit, then the host's set-up
// callbacks); null when the host refuses.
halcyra* createColony(vx::World& world, const char* name, std::string* reason = nullptr);

// The crew manager's code runs inside the module only; the tests read its fields, which are the
// same bytes in both, and call the colony's callbacks as the host does.
inline VESSEL2& callbacksOf(halcyra& colony) {
    return colony;
}
