// The colony vessel object. Its callbacks live with the concern each serves: the class set-up,
// the per-step update, the console and the scenario block.
#include "vessel/Halcyra.h"

halcyra::halcyra(OBJHANDLE hVessel, int flightModel) : VESSEL2(hVessel, flightModel) {}
