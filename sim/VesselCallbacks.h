// The callback side of a vessel: only objects built as VESSEL2 have one.
#pragma once

#include "host/Vessel2.h"
#include "sim/AllocationGuard.h"
#include "sim/ClassRegistry.h"
#include "sim/VesselRecord.h"

namespace vx {

inline VESSEL2* callbacksOf(const VesselRecord& vessel) {
    if (vessel.iface == nullptr || vessel.iface->Version() != 2) {
        return nullptr;
    }
    return static_cast<VESSEL2*>(vessel.iface);
}

// Where the allocations of the vessel's callbacks are counted: its class's counters.
inline CallbackAllocations& allocationsOf(const VesselRecord& vessel) {
    static CallbackAllocations classless; // vessels made without a class (never in a run)
    return vessel.vesselClass != nullptr ? vessel.vesselClass->allocations : classless;
}

} // namespace vx
