// Loading the module file, and the life of its vessels: created and destroyed in every way a
// host and other vessels do it.
#include <dlfcn.h>

#include "sim/validate/Checks.h"
#include "sim/world/HostStats.h"

// Given by the sanitizer's runtime in sanitized builds, absent otherwise.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace vx::validate {

namespace {

// Whether this build counts the heap in use exactly: the sanitizer's allocator does, while the
// C library's own figures count the blocks its caches keep for reuse as in use.
bool heapCounted() {
    return __sanitizer_get_current_allocated_bytes != nullptr;
}

void* loadLibrary(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        throw Finding{"the file does not load: " + std::string(why != nullptr ? why : path)};
    }
    return library;
}

std::string vesselName(const char* kind, int i) {
    return std::string(kind) + " " + std::to_string(i);
}

// Creating others of its class leaves a vessel's saved block as it was: what is its own is
// not kept module-wide.
void othersLeaveBlockAlone(CheckWorld& w) {
    w.make("Alone", w.className);
    const std::string before = w.block("Alone");
    for (int i = 0; i < 3; ++i) {
        w.make(vesselName("Other", i), w.className);
    }
    const std::string after = w.block("Alone");
    require(after == before, "creating other vessels of its class changed the block vessel "
                             "'Alone' saves: " +
                                 firstDifference(before, after));
}

int makeAndDestroy(CheckWorld& w) {
    const int n = 10 * w.strictness;
    for (int i = 0; i < n; ++i) { // one at a time
        VesselRecord* vessel = w.make(vesselName("Single", i), w.className);
        w.step(0.1);
        w.world.deleteVessel(vessel);
    }
    std::vector<VesselRecord*> mixed;
    for (int i = 0; i < n; ++i) { // interleaved: every other one goes while the rest live on
        mixed.push_back(w.make(vesselName("Mixed", i), w.className));
        if (i % 2 == 1) {
            w.world.deleteVessel(mixed[static_cast<std::size_t>(i - 1)]);
            w.step(0.1);
        }
    }
    for (auto at = mixed.rbegin(); at != mixed.rend(); ++at) {
        w.world.deleteVessel(*at); // refused for those gone already
    }
    w.step(0.1);
    // Made and deleted by another vessel from inside its step, one step apart.
    OBJHANDLE made = nullptr;
    int count = 0;
    int refused = 0;
    helperStep = [&](VESSEL2& self) {
        if (made != nullptr) {
            vapiDeleteVessel(made);
            made = nullptr;
            return;
        }
        VESSELSTATUS status{};
        self.GetStatus(status);
        status.rpos.y += 100.0;
        made = vapiCreateVessel(vesselName("Made", count++).c_str(), w.className.c_str(), status);
        refused += made == nullptr ? 1 : 0;
    };
    w.make("Maker", kHelperClass);
    w.step(0.1, 10 * w.strictness);
    helperStep = nullptr;
    require(refused == 0, "vapiCreateVessel called by another vessel made no vessel of the class");
    return 2 * n + count;
}

} // namespace

Verdict checkLoading(const CheckRun& run) {
    const std::string path = "modules/" + run.className + ".dll";
    for (int i = 0; i < run.strictness; ++i) {
        const int entered = hostStats().initLibCalls;
        void* library = loadLibrary(path);
        const bool exports = dlsym(library, "vvcInit") != nullptr && dlsym(library, "vvcExit");
        const bool initLib =
            hostStats().initLibCalls > entered && hostStats().lastInitLibModule == library;
        dlclose(library);
        require(exports, "it does not export vvcInit and vvcExit under those names (declare "
                         "them with DLLCLBK, which gives them C linkage)");
        require(initLib, "its library entry routine did not call InitLib with its own module "
                         "handle when it was loaded");
        void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (still != nullptr) {
            dlclose(still);
        }
        require(still == nullptr, "it stays loaded once unloaded, so its entry routine does not "
                                  "run on unload");
    }
    return {Outcome::Pass, "loaded and unloaded " + std::to_string(run.strictness) +
                               (run.strictness == 1 ? " time" : " times")};
}

Verdict checkLifecycle(const CheckRun& run) {
    // The module stays loaded throughout, so that what the loader itself keeps is not counted.
    void* library = loadLibrary("modules/" + run.className + ".dll");
    {
        CheckWorld w(run);
        othersLeaveBlockAlone(w);
    }
    // The same vessels made twice: what the first round leaves (module-wide state made on
    // first use, the allocator's caches) is no vessel's, what the second adds is.
    int made = 0;
    std::size_t heap[2] = {};
    for (std::size_t& after : heap) {
        {
            CheckWorld w(run);
            made = makeAndDestroy(w);
        }
        {
            CheckWorld w(run);
            std::string blocks;
            for (int i = 0; i < 5 * run.strictness; ++i) {
                blocks += w.blockText(vesselName("Loaded", i), {});
            }
            w.load(blocks);
            w.step(0.1, 3);
            for (VesselRecord* vessel : vesselsOf(w.world, run.className)) {
                if (vessel->serial % 2 == 0) {
                    w.world.deleteVessel(vessel); // the rest go with the world
                }
            }
            w.step(0.1);
            made += 5 * run.strictness;
        }
        after = heapCounted() ? __sanitizer_get_current_allocated_bytes() : 0;
    }
    dlclose(library);
    require(heap[1] <= heap[0],
            std::to_string(heap[1] - heap[0]) + " bytes of heap memory taken while its " +
                std::to_string(made) + " vessels lived were still held after all were destroyed");
    return {Outcome::Pass, std::to_string(2 * made + 4) + " vessels created and destroyed" +
                               (heapCounted() ? ", the heap back as it was"
                                              : "; the heap not measured (only a sanitized "
                                                "build counts it exactly)")};
}

} // namespace vx::validate
