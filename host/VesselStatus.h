// The host's state record of one vessel: what VESSEL::GetStatus fills and what
// vapiCreateVessel and VESSEL::DefSetState apply.
#pragma once

#include "host/Geometry.h"
#include "host/Handles.h"

enum : int {
    VESSELSTATUS_FLIGHT = 0, // free flight
    VESSELSTATUS_LANDED = 1  // at rest on the reference body
};

struct VESSELSTATUS {
    VECTOR3 rpos;    // position relative to the reference body, global frame, m
    VECTOR3 rvel;    // velocity relative to the reference body, global frame, m/s
    VECTOR3 vrot;    // angular velocity in the vessel's own frame, rad/s
    MATRIX3 rrot;    // orientation: turns vessel-frame vectors into the global frame
    double fuel;     // fuel level, 0 to 1
    double engMain;  // main engine level, 0 to 1
    double engHover; // hover engine level, 0 to 1
    OBJHANDLE rbody; // reference body; null stands for the world's one body
    int status;      // VESSELSTATUS_FLIGHT or VESSELSTATUS_LANDED
};
