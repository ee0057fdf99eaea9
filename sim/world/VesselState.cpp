#include "sim/world/VesselState.h"

#include <algorithm>

#include "sim/world/Math3.h"

namespace vx {

void assignRotation(VesselRecord& vessel, const MATRIX3& rotation) {
    if (!sameBits(vessel.rot, rotation)) {
        vessel.rot = rotation;
        vessel.oriKnown = false;
    }
}

void assignAngularVel(VesselRecord& vessel, const VECTOR3& avel) {
    if (!sameBits(vessel.avel, avel)) {
        vessel.avel = avel;
        vessel.avelKnown = false;
    }
    // Any bit set, not a length above 0: a spin too small to square still reaches the turn.
    MotionState& motion = vessel.motion();
    if (avel.x != 0.0 || avel.y != 0.0 || avel.z != 0.0) {
        motion.flags |= kMotionMayTurn;
    } else {
        motion.flags &= static_cast<std::uint8_t>(~kMotionMayTurn);
    }
}

VECTOR3 orientationDegrees(VesselRecord& vessel) {
    if (!vessel.oriKnown) {
        vessel.oriDegrees = eulerDegreesFromRotation(vessel.rot);
        vessel.oriKnown = true;
    }
    return vessel.oriDegrees;
}

VECTOR3 angularVelDegrees(VesselRecord& vessel) {
    if (!vessel.avelKnown) {
        vessel.avelDegrees = {radiansToDegrees(vessel.avel.x), radiansToDegrees(vessel.avel.y),
                              radiansToDegrees(vessel.avel.z)};
        vessel.avelKnown = true;
    }
    return vessel.avelDegrees;
}

VESSELSTATUS statusOf(const VesselRecord& vessel, OBJHANDLE body) {
    VESSELSTATUS status{};
    status.rpos = vessel.pos();
    status.rvel = vessel.vel();
    status.vrot = vessel.avel;
    status.rrot = vessel.rot;
    status.fuel = vessel.fuel;
    status.engMain = vessel.engMain;
    status.engHover = vessel.engHover;
    status.rbody = body;
    status.status = vessel.status();
    return status;
}

void applyStatus(VesselRecord& vessel, const VESSELSTATUS& status) {
    vessel.pos() = status.rpos;
    vessel.vel() = status.rvel;
    assignAngularVel(vessel, status.vrot);
    assignRotation(vessel, status.rrot);
    vessel.fuel = status.fuel;
    vessel.engMain = status.engMain;
    vessel.engHover = status.engHover;
    vessel.status() =
        status.status == VESSELSTATUS_LANDED ? VESSELSTATUS_LANDED : VESSELSTATUS_FLIGHT;
    vessel.ground() =
        vessel.status() == VESSELSTATUS_LANDED ? GroundPhase::Landed : GroundPhase::Free;
}

double groundClearance(const VesselRecord& vessel) {
    if (!vessel.def.hasTouchdownPoints) {
        return 0.0;
    }
    const auto& pts = vessel.def.touchdownPoints;
    return -std::min({pts[0].y, pts[1].y, pts[2].y});
}

void setTouchdownPoints(VesselRecord& vessel, const std::array<VECTOR3, 3>& points) {
    vessel.def.touchdownPoints = points;
    vessel.def.hasTouchdownPoints = true;
    vessel.motion().clearance = groundClearance(vessel);
}

} // namespace vx
