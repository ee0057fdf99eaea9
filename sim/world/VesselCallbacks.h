// The callback side of a vessel: only objects built as VESSEL2 have one.
#pragma once

#include <cstdint>

#include "host/Vessel2.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/ClassRegistry.h"
#include "sim/world/VesselRecord.h"

namespace vx {

inline VESSEL2* callbacksOf(const VesselRecord& vessel) {
    if (vessel.iface == nullptr || vessel.iface->Version() != 2) {
        return nullptr;
    }
    return static_cast<VESSEL2*>(vessel.iface);
}

// The step callbacks an object has of its own, as the bits below. An object that keeps the
// host's empty default of one is not called for it: a class that overrides nothing costs the
// step nothing but its motion. Where this build cannot tell, both bits are set.
inline constexpr std::uint8_t kPreStepHook = 1;
inline constexpr std::uint8_t kPostStepHook = 2;
VXHOST_API std::uint8_t stepHooksOf(const VESSEL2& object);

// Where the allocations of the vessel's callbacks are counted: its class's counters.
inline CallbackAllocations& allocationsOf(const VesselRecord& vessel) {
    static CallbackAllocations classless; // vessels made without a class (never in a run)
    return vessel.vesselClass != nullptr ? vessel.vesselClass->allocations : classless;
}

} // namespace vx
