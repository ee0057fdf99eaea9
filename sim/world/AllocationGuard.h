// Heap allocations made while a module's callback runs, counted per vessel class and per
// callback, so that a module that promises to allocate nothing after its vessel exists can be
// held to it. The host's own work on a module's behalf (creating a vessel, a log line, scenario
// text) is not the module's and is left out.
#pragma once

#include <cstdint>

#include "sim/world/HostExport.h"

namespace vx {

// The callbacks whose allocations are counted.
enum class GuardedCallback : std::uint8_t {
    PreStep,
    PostStep,
    Key,
    DrawHud,
    LoadState,
    SaveState,
};
inline constexpr int kGuardedCallbackCount = 6;

// The callback's name as a module writes it ("clbkPreStep").
VXHOST_API const char* guardedCallbackName(GuardedCallback callback);

// What one class's callbacks allocated; never reset during a run.
struct CallbackAllocations {
    std::uint64_t count[kGuardedCallbackCount] = {}; // allocations, indexed by GuardedCallback
    std::uint64_t total() const {
        std::uint64_t sum = 0;
        for (std::uint64_t n : count) {
            sum += n;
        }
        return sum;
    }
};

// False where this build cannot see allocations (Windows builds): nothing is ever counted.
VXHOST_API bool allocationGuardAvailable();

// Open for exactly the length of one call into a module. Scopes nest: a callback inside host
// work inside a callback counts for the innermost.
class VXHOST_API ModuleCallScope {
public:
    ModuleCallScope(CallbackAllocations& into, GuardedCallback callback);
    ~ModuleCallScope();
    ModuleCallScope(const ModuleCallScope&) = delete;
    ModuleCallScope& operator=(const ModuleCallScope&) = delete;

private:
    std::uint64_t* saved_; // the counter that was live before this scope
};

// Open while a host service does work that allocates for its own records; the callback that
// called the service counts nothing meanwhile.
class VXHOST_API HostWorkScope {
public:
    HostWorkScope();
    ~HostWorkScope();
    HostWorkScope(const HostWorkScope&) = delete;
    HostWorkScope& operator=(const HostWorkScope&) = delete;

private:
    std::uint64_t* saved_; // the counter that was live before this scope
};

} // namespace vx
