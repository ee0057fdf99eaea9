// The callback side of a vessel: only objects built as VESSEL2 have one.
#pragma once

#include "host/Vessel2.h"
#include "sim/VesselRecord.h"

namespace vx {

inline VESSEL2* callbacksOf(const VesselRecord& vessel) {
    if (vessel.iface == nullptr || vessel.iface->Version() != 2) {
        return nullptr;
    }
    return static_cast<VESSEL2*>(vessel.iface);
}

} // namespace vx
