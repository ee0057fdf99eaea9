// The checks as a child process runs them, inside a root folder laid out for the run, and the
// world they share the making of.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace vx::validate {

enum class Outcome { Pass, Fail, Skip };

struct Verdict {
    Outcome outcome = Outcome::Pass;
    std::string text; // what was done, or why it failed or was skipped
};

// Thrown by a check at its first finding.
struct Finding {
    std::string reason;
};
inline void require(bool holds, const std::string& reason) {
    if (!holds) {
        throw Finding{reason};
    }
}

// What a check knows of its run. The root folder it runs in holds modules/CLASS.dll (the file
// under test), and when they were found the crew runtime and the colony.
struct CheckRun {
    std::string className;
    int strictness = 5;
    std::uint64_t seed = 1;
    bool crewRuntime = false; // modules/CKit.dll and meshes/CKit/ver.dtf
    bool colony = false;      // modules/halcyra.dll
};

// What runs each check, in the order kValidateChecks names them.
using CheckFunction = Verdict (*)(const CheckRun& run);
Verdict checkLoading(const CheckRun& run);
Verdict checkLifecycle(const CheckRun& run);
Verdict checkCallbacks(const CheckRun& run);
Verdict checkAllocations(const CheckRun& run);
Verdict checkRoundTrip(const CheckRun& run);
Verdict checkCrewPoint(const CheckRun& run);
Verdict checkTiming(const CheckRun& run);
inline constexpr CheckFunction kCheckRuns[] = {checkLoading,     checkLifecycle, checkCallbacks,
                                               checkAllocations, checkRoundTrip, checkCrewPoint,
                                               checkTiming};

// The helper class the checks register in every world: a vessel of no module whose pre-step
// runs the check's hook, so that a check can act from inside a step as a module would.
inline constexpr const char* kHelperClass = "ValidateHelper";
extern std::function<void(VESSEL2& self)> helperStep;

// A world in the current folder: no gravity, warnings dropped, the helper class registered.
// Every failure it meets is thrown as a Finding.
class CheckWorld {
public:
    explicit CheckWorld(const CheckRun& run);
    World world;

    // A vessel at rest, 1 km from the last one made, refused or not made being a finding.
    VesselRecord* make(const std::string& name, const std::string& className);
    void step(double dt, int count = 1);
    // Loads a scenario text, or vessel blocks alone (the world without gravity then).
    void load(const std::string& scenario);
    // The vessel's block as the world saves it, BEGIN_VESSEL to END_VESSEL.
    std::string block(const std::string& name);
    // A vessel with the given own (non-host) lines, as a scenario holds it.
    std::string blockText(const std::string& name, const std::vector<std::string>& lines);

    std::string className;
    int strictness;
    int steps = 0; // taken so far
    std::mt19937_64 random;
    double unit() { return static_cast<double>(random() >> 11) * 0x1.0p-53; }

private:
    double placed_ = 0.0;
};

std::vector<std::string> linesOf(const std::string& text);
// The first line where two scenario texts differ, and the vessel block it lies in.
std::string firstDifference(const std::string& first, const std::string& again);

// The class's vessels alive now.
std::vector<VesselRecord*> vesselsOf(const World& world, const std::string& className);

} // namespace vx::validate
