// What a vessel module exports for the host: its entry points, looked up by these names.
#pragma once

#include "host/Handles.h"

class VESSEL;

// Creates the object of one vessel of the class; null when it cannot.
using VesselInitFunc = VESSEL* (*)(OBJHANDLE vessel, int flightModel);
// Destroys an object that the same module's VesselInitFunc returned; null does nothing.
using VesselExitFunc = void (*)(VESSEL* vessel);
// The module's build date as a number (20060425).
using ModuleVersionFunc = int (*)();

inline constexpr char kVesselInitExport[] = "vvcInit";
inline constexpr char kVesselExitExport[] = "vvcExit";
inline constexpr char kModuleVersionExport[] = "GetModuleVersion";
