// A host world with the colony module loaded the way the host loads it, and the module's
// exports as the host sees them.
#pragma once

#include <string>

#include "host/Vantrix.h"
#include "sim/world/World.h"
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

// The crew manager's code runs inside the module only; the tests read its fields, which are the
// same bytes in both, and reach the colony's behaviour through its callbacks and through the
// host, as any other vessel would.
inline VESSEL2& callbacksOf(halcyra& colony) {
    return colony;
}
// The slot of the first member of that name, or -1.
int rosterSlot(const halcyra& colony, const char* name);
// The airlock state the colony publishes on its crew point: 1 open, 0 closed, -1 no point.
int publishedAirlock(const halcyra& colony);
