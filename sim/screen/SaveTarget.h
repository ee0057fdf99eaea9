// Where the interactive screen saves: a file beside the scenario that was loaded, never the
// loaded file itself.
#pragma once

#include <filesystem>
#include <string>

namespace vx {

// For "scenarios/demo.scn" (relative to start) start/scenarios/demo-saved.scn; for the
// built-in demo (scenario empty) start/demo-saved.scn.
std::filesystem::path saveTargetFor(const std::filesystem::path& start,
                                    const std::string& scenario);

} // namespace vx
