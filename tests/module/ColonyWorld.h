// A host world with the colony module loaded the way the host loads it, and the module's
// exports as the host sees them.
#pragma once

#include <string>

#include "host/Vantrix.h"
#include "sim/World.h"
#include "vessel/Halcyra.h"

// The module file, held open by the test for as long as this object lives; the host's own
// load of the same file shares the one loaded copy and its module-wide state.
class HalcyraModule {
public:
    HalcyraModule();
    ~HalcyraModule();
    HalcyraModule(const HalcyraModule&) = delete;
    HalcyraModule& operator=(const HalcyraModule&) = delete;

    void* handle() const { return handle_; }
    void* symbol(const char* name) const;
    VesselInitFunc init() const;
    VesselExitFunc exit() const;
    ModuleVersionFunc version() const;

private:
    void* handle_ = nullptr;
};

vx::WorldOptions colonyWorldOptions();

// A state in orbit, as a scenario would give it.
VESSELSTATUS orbitStatus();

// Creates a vessel of the colony class through the host (vvcInit, then the host's set-up
// callbacks); null when the host refuses.
halcyra* createColony(vx::World& world, const char* name, std::string* reason = nullptr);
