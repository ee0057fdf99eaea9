// vxsim's print command: time, HUD, debug line, the vessel list, the scenario, one vessel,
// and a vessel's lift coefficient.
#pragma once

#include <string>

#include "sim/script/Script.h"
#include "sim/script/Transcript.h"
#include "sim/world/World.h"

namespace vx {

// Prints what command asks for; false with a reason when it names a vessel that is not there.
bool printCommand(World& world, const Command& command, Transcript& out, std::string& reason);

// One vessel, a "key value" pair a line.
void printVessel(VesselRecord& vessel, Transcript& out);

} // namespace vx
