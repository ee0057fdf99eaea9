// VESSEL2: the host's default behaviour of every callback a class does not override.
#include "host/Vapi.h"
#include "host/Vessel2.h"

VESSEL2::VESSEL2(OBJHANDLE hVessel, int flightModel) : VESSEL(hVessel, flightModel) {
    version_ = 2;
}

VESSEL2::~VESSEL2() = default;

void VESSEL2::clbkSetClassCaps(FILEHANDLE /*cfg*/) {}

void VESSEL2::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
}

void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        ParseScenarioLineEx(line, status);
    }
}

void VESSEL2::clbkSetStateEx(const void* status) {
    DefSetState(static_cast<const VESSELSTATUS*>(status));
}

void VESSEL2::clbkPostCreation() {}

void VESSEL2::clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}

void VESSEL2::clbkPostStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}

// The stand-in host has no HUD elements of its own: a frame holds what the vessel draws.
void VESSEL2::clbkDrawHUD(int /*mode*/, const HUDPAINTSPEC* /*hps*/, HDC /*hdc*/) {}

int VESSEL2::clbkConsumeBufferedKey(std::uint32_t /*key*/, bool /*down*/, char* /*keyState*/) {
    return 0;
}
