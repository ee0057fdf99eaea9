// VESSEL2: VESSEL plus the callbacks the host makes to a vessel. A module derives its class
// from VESSEL2 and overrides the callbacks it needs; the others keep the host's defaults.
// No virtual destructor: a derived object is destroyed through its own type.
#pragma once

#include <cstdint>

#include "host/Hud.h"
#include "host/Vessel.h"
#include "platform/WinApi.h"

class VXAPI VESSEL2 : public VESSEL {
public:
    explicit VESSEL2(OBJHANDLE hVessel, int flightModel = 1);
    ~VESSEL2();

    // The callbacks, in the order of the host's callback table.

    // Once, right after creation: the class defines itself. cfg is the class's configuration
    // file, null when there is none. Default: nothing.
    virtual void clbkSetClassCaps(FILEHANDLE cfg);
    // Writes the vessel's block of a scenario. Default: SaveDefaultState.
    virtual void clbkSaveState(FILEHANDLE scn);
    // Reads the vessel's block; status goes to ParseScenarioLineEx. Default: every line to
    // ParseScenarioLineEx.
    virtual void clbkLoadStateEx(FILEHANDLE scn, void* status);
    // Applies a VESSELSTATUS given at creation. Default: DefSetState.
    virtual void clbkSetStateEx(const void* status);
    // Once the vessel (and, when loading, every vessel of the scenario) exists. Default: nothing.
    virtual void clbkPostCreation();
    // Every step before motion. Default: nothing.
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    // Every step after motion. Default: nothing.
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    // HUD redraw of the focus vessel. Default: the host's own HUD elements.
    virtual void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc);
    // A buffered key event; returns 1 when the vessel used the key. Default: 0.
    virtual int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState);
};
