// Vessel classes by name: those registered from code, and those found as module files
// (modules/<class>.dll below the working folder), each loaded once per run.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "host/Module.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/HostExport.h"

namespace vx {

class ModuleLibrary;

struct VesselClass {
    std::string name;
    VesselInitFunc init = nullptr;
    VesselExitFunc exit = nullptr;
    std::unique_ptr<ModuleLibrary> library;  // null for a class registered from code
    mutable CallbackAllocations allocations; // what its callbacks allocated in this run
};

class VXHOST_API ClassRegistry {
public:
    explicit ClassRegistry(std::string moduleFolder = "modules");
    ~ClassRegistry();
    ClassRegistry(const ClassRegistry&) = delete;
    ClassRegistry& operator=(const ClassRegistry&) = delete;

    // A class of the caller's own; replaces a registered class of the same name.
    void add(std::string_view name, VesselInitFunc init, VesselExitFunc exit);
    // The class, loading its module on first use; null with a reason when there is none.
    // A failed load is not remembered, so a module file that appears later is found.
    const VesselClass* find(std::string_view name, std::string* reason = nullptr);
    // The module file a class is looked for in.
    std::string modulePath(std::string_view name) const;
    // Unloads every module; the classes are gone afterwards.
    void clear();

    // Everything the classes' callbacks allocated so far.
    std::uint64_t moduleAllocations() const {
        std::uint64_t sum = 0;
        for (const auto& entry : classes_) {
            sum += entry.second->allocations.total();
        }
        return sum;
    }
    // visit(className, callback, count) for each callback of a class that allocated.
    template <class Visit> void forEachAllocation(Visit visit) const {
        for (const auto& [name, vesselClass] : classes_) {
            for (int i = 0; i < kGuardedCallbackCount; ++i) {
                if (vesselClass->allocations.count[i] != 0) {
                    visit(name, static_cast<GuardedCallback>(i), vesselClass->allocations.count[i]);
                }
            }
        }
    }

private:
    std::string moduleFolder_;
    std::map<std::string, std::unique_ptr<VesselClass>, std::less<>> classes_;
};

} // namespace vx
