// The colony vessel object. Until its definition, console and scenario block exist, each
// callback keeps the host's default behaviour.
#include "vessel/Halcyra.h"

halcyra::halcyra(OBJHANDLE hVessel, int flightModel) : VESSEL2(hVessel, flightModel) {}

void halcyra::clbkSetClassCaps(FILEHANDLE cfg) {
    VESSEL2::clbkSetClassCaps(cfg);
}

void halcyra::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
}

void halcyra::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    VESSEL2::clbkLoadStateEx(scn, status);
}

void halcyra::clbkPreStep(double simt, double simdt, double mjd) {
    VESSEL2::clbkPreStep(simt, simdt, mjd);
}

void halcyra::clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) {
    VESSEL2::clbkDrawHUD(mode, hps, hdc);
}

int halcyra::clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) {
    return VESSEL2::clbkConsumeBufferedKey(key, down, keyState);
}
