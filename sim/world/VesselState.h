// Changing a vessel's pose and state in one place, so that the kept scenario text of its
// orientation and spin is dropped exactly when the value really changes.
#pragma once

#include <array>

#include "host/VesselStatus.h"
#include "sim/world/HostExport.h"
#include "sim/world/VesselRecord.h"

namespace vx {

void assignRotation(VesselRecord& vessel, const MATRIX3& rotation);
void assignAngularVel(VesselRecord& vessel, const VECTOR3& avel);

// ORI and AVEL as a scenario writes them (degrees, degrees/s): the kept text form, derived
// again from the matrix or the angular velocity when that has changed since.
VXHOST_API VECTOR3 orientationDegrees(VesselRecord& vessel);
VXHOST_API VECTOR3 angularVelDegrees(VesselRecord& vessel);

VXHOST_API VESSELSTATUS statusOf(const VesselRecord& vessel, OBJHANDLE body);
// Applies position, velocity, orientation, spin, levels and FLIGHT/LANDED.
void applyStatus(VesselRecord& vessel, const VESSELSTATUS& status);

// Height above the surface at which the vessel stands on the ground: minus the lowest
// touchdown point's y, or 0 without touchdown points.
double groundClearance(const VesselRecord& vessel);
// Sets the three touchdown points and the clearance the step holds the vessel at.
void setTouchdownPoints(VesselRecord& vessel, const std::array<VECTOR3, 3>& points);

} // namespace vx
