// The host's free functions: the world, its vessels, scenario files and services.
#pragma once

#include "host/Export.h"
#include "host/Geometry.h"
#include "host/Handles.h"
#include "host/VesselStatus.h"
#include "platform/WinApi.h"

class VESSEL;

// --- Module -------------------------------------------------------------------------------
// Called by a module's library entry routine when it is loaded.
VXAPI void InitLib(HINSTANCE module);
// A build date in the form "Apr 25 2006" as the number 20060425; 0 when it is not such a date.
VXAPI int Date2Int(const char* date);

// --- Vessels ------------------------------------------------------------------------------
// Creates a vessel of a class, complete before it returns; null for an empty or taken name
// or a class that cannot be loaded.
VXAPI OBJHANDLE vapiCreateVessel(const char* name, const char* className,
                                 const VESSELSTATUS& status);
// Deletes a vessel: it leaves the vessel list and the name lookup at once and is destroyed at
// the end of the current step. false for a handle that is not a live vessel.
VXAPI bool vapiDeleteVessel(OBJHANDLE vessel);
VXAPI unsigned int vapiGetVesselCount();
// The index-th live vessel in creation order, or null.
VXAPI OBJHANDLE vapiGetVesselByIndex(unsigned int index);
// The module's interface of a vessel, or null.
VXAPI VESSEL* vapiGetVesselInterface(OBJHANDLE vessel);
// Exact, case-sensitive lookup of a vessel or of the body by name; null when there is none.
VXAPI OBJHANDLE vapiGetObjectByName(const char* name);
// Copies at most size - 1 characters of the object's name and a terminator; "" when unknown.
VXAPI void vapiGetObjectName(OBJHANDLE object, char* name, int size);
// Global position of a vessel or of the body; (0, 0, 0) when unknown.
VXAPI void vapiGetGlobalPos(OBJHANDLE object, VECTOR3* pos);
// Gives the input focus to a vessel; returns the vessel that had it (null if the handle
// is not a live vessel, and the focus is then unchanged).
VXAPI OBJHANDLE vapiSetFocusObject(OBJHANDLE vessel);
VXAPI OBJHANDLE vapiGetFocusObject();

// --- Mass ---------------------------------------------------------------------------------
VXAPI double vapiGetEmptyMass(OBJHANDLE vessel);
VXAPI void vapiSetEmptyMass(OBJHANDLE vessel, double mass);

// --- Scenario files -------------------------------------------------------------------------
// Next line of the vessel's block, indentation stripped; false at the block's end. The line
// is the host's buffer and may be changed by the reader until the next call.
VXAPI bool vapiReadScenario_nextline(FILEHANDLE scn, char*& line);
// Writes the line "  ITEM VALUE" into the vessel's block.
VXAPI void vapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value);

// --- Services --------------------------------------------------------------------------------
VXAPI double vapiGetSimTime();
// Length of the current step, seconds.
VXAPI double vapiGetSimStep();
// System time in seconds.
VXAPI double vapiGetSysTime();
// Uniform in [0, 1).
VXAPI double vapiRand();
// Appends a line to the host's log.
VXAPI void vapiWriteLog(const char* line);
// The host's debug line: a writable buffer of VAPI_DEBUG_STRING_SIZE bytes.
VXAPI char* vapiDebugString();

inline constexpr int VAPI_DEBUG_STRING_SIZE = 256;
