// Where the interactive screen saves: a file beside the scenario that was loaded, never the
// loaded file itself.
#pragma once

#include <filesystem>
#include <string>

namespace vx {

struct SaveTarget {
    std::filesystem::path start; // the folder vxsim was started from: a typed path's base
    std::filesystem::path file;
};

// For "scenarios/demo.scn" (relative to start) start/scenarios/demo-saved.scn; for the
// built-in demo (scenario empty) start/demo-saved.scn.
SaveTarget saveTargetFor(const std::filesystem::path& start, const std::string& scenario);

} // namespace vx
