// Creating the vessel that carries a person away: both ways of leaving name, create and turn
// it the same way.
#pragma once

#include "host/Vantrix.h"

// Room for a crew vessel's name: at most 38 characters, then a number of up to three digits
// when the name is taken.
inline constexpr int kCrewVesselNameSize = 48;
// The longest a crew vessel name is built to, before any number is appended.
inline constexpr int kCrewVesselNameLength = 38;

// Creates a vessel of the crew library's class from a state: spaces in the name become
// underscores, a taken name gets the first free number from 1 to 399 appended (399 when all
// are taken), and the new vessel is turned by the exit rotation. The new vessel, or null.
OBJHANDLE CreateCrewVessel(const char* name, const VESSELSTATUS& state, VECTOR3 exitRotation);
