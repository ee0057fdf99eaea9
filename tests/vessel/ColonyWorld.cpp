#include "tests/vessel/ColonyWorld.h"

vx::WorldOptions colonyWorldOptions() {
    vx::WorldOptions options;
    options.moduleFolder = HALCYRA_MODULE_FOLDER;
    options.logFile = MODULE_TEST_LOG;
    return options;
}

halcyra* createColony(vx::World& world, const char* name, std::string* reason) {
    VESSELSTATUS orbit{};
    orbit.rpos = {7000000.0, 0.0, 0.0};
    orbit.rvel = {0.0, 7546.0, 0.0};
    orbit.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    orbit.status = VESSELSTATUS_FLIGHT;
    vx::VesselRecord* record = world.createVessel(name, "halcyra", orbit, reason);
    // What vvcInit returned is the object's VESSEL base.
    return record != nullptr ? static_cast<halcyra*>(vapiGetVesselInterface(record)) : nullptr;
}
