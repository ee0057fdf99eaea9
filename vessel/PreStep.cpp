// Every step: the habitat turns, arriving crew are announced, a hard landing is reported and
// the crew manager may warn about an outdated crew library.
#include <cstdio>

#include "host/Vantrix.h"
#include "vessel/HabitatAnimation.h"
#include "vessel/Halcyra.h"

namespace {

// Sinking faster than this while touching the ground is a landing no one aboard survives.
constexpr double kFatalSinkRate = -3.0;

} // namespace

void halcyra::clbkPreStep(double /*simt*/, double simdt, double /*mjd*/) {
    fastRotationPhase = AdvanceRotationPhase(fastRotationPhase, kFastRotationRate, simdt);
    SetAnimation(fastRotationAnim, fastRotationPhase);
    slowRotationPhase = AdvanceRotationPhase(slowRotationPhase, kSlowRotationRate, simdt);
    SetAnimation(slowRotationAnim, slowRotationPhase);

    const int32_t arrival = crew.ProcessArrivals();
    if (arrival == 1 || arrival == 2) {
        const char* name = crew.GetLastArrivedName();
        const char* miscId = crew.GetCrewMiscIdByName(name);
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize,
                      "%s \"%s\" aged %i has entered the Colony - Zero-G tow lines to the "
                      "Central Hub are available in the Green Area...",
                      miscId != nullptr ? miscId : "", name, crew.GetCrewAgeByName(name));
    }

    if (GroundContact()) {
        VECTOR3 airspeed{0, 0, 0};
        GetHorizonAirspeedVector(airspeed);
        if (airspeed.y < kFatalSinkRate) {
            for (int32_t slot = 0; slot < crew.GetCrewCount(); ++slot) {
                crew.SetCrewPulseBySlot(slot, 0);
            }
            std::snprintf(GetHudMessageBuffer(), kHudMessageSize, "%s",
                          "Orbital Drop Operation successful.  Tabulating casualty rates and "
                          "mushroom cloud height...");
        }
    }

    crew.WarnUserIfOutdated("Halcyra Colony");
}
