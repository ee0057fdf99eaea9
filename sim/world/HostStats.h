// Counters of host calls that leave no other trace, for tests of a module's entry points.
#pragma once

#include "sim/world/HostExport.h"

namespace vx {

struct HostStats {
    int date2IntCalls = 0;
    int initLibCalls = 0;
    void* lastInitLibModule = nullptr; // the HINSTANCE of the latest InitLib
};

// The process-wide counters; they are not reset when a world ends.
VXHOST_API HostStats& hostStats();

} // namespace vx
