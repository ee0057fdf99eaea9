// vxsim validate: one vessel module through a battery of checks, each in a child process of
// its own, so that a crash or a hang is a finding rather than the end of the run.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

struct ValidateOptions {
    std::string module;        // the module file, as the user gave it
    std::string className;     // empty: the module file's name without its extension
    int strictness = 5;        // 1 .. 10: counts rise and bounds tighten with it
    std::uint64_t seed = 1;    // the first run's seed; repeats take the next ones
    int repeat = 1;            // runs of the whole battery
    double timeout = 60.0;     // seconds a check may take before it is ended and failed
    std::string report;        // JUnit XML file, or empty
    std::string root;          // where else to look for the crew runtime and the colony
    std::string only;          // one check by name, or empty for all
    std::string programFolder; // vxsim's own folder: its runtime/ is looked in last
};

// The checks' names, in the order they run, and what each does at strictness S.
inline constexpr const char* kValidateChecks[] = {
    "loading", "lifecycle", "callbacks", "allocations", "roundtrip", "crewpoint", "timing"};
inline constexpr const char* kValidateHelp =
    "Checks, in order; S is the strictness (default 5):\n"
    "  loading      loaded and unloaded S times: vvcInit and vvcExit exported by those names,\n"
    "               InitLib called with its own handle on load, the library gone on unload\n"
    "  lifecycle    twice over, 10*S vessels made and destroyed one at a time, 10*S interleaved,\n"
    "               5*S from a scenario, 5*S by another vessel's vapiCreateVessel; a vessel's\n"
    "               block unchanged by others; in sanitized builds, no heap left the second time\n"
    "  callbacks    2+S/2 vessels: S steps of 0, 1e-9, 1e-3, 0.1, 1, 100 and 1e4 s; key codes\n"
    "               1-255 alone and with each modifier (from S 4 pairs, from S 8 all), a step\n"
    "               after each; the HUD from 1x1 to 16384x16384 and 2*S sizes from the seed;\n"
    "               the focus off and on S times. No crash, hang or step out of bounds\n"
    "  allocations  from S 5: no allocation in a callback over 20*S steps, every unmodified key,\n"
    "               a save and a load (skipped below S 5, or where the host cannot count them)\n"
    "  roundtrip    1+S/3 vessels stepped 10*S times, saved, loaded and saved again: the same\n"
    "               text; an empty block, unknown lines, S blocks of its lines made long taken\n"
    "  crewpoint    with a \"CKit\" point and the crew runtime: its nine numbers well formed; a\n"
    "               docked colony's member, a transfer vessel and walkers at S places inside\n"
    "               its airlock box taken in within the 0.25 s poll and a step, a seat each\n"
    "  timing       mean cost of a call over 200*S calls of each step, key and HUD callback,\n"
    "               bound 20 ms / S, and of 50*S saves and creations, bound 40 ms / S\n"
    "Each check runs in a process of its own in a root folder of its own, within --timeout.\n"
    "The crew runtime (modules/CKit.dll, meshes/CKit/ver.dtf) and the colony\n"
    "(modules/halcyra.dll) come from the module's runtime folder (its folder's parent), --root\n"
    "or vxsim's runtime folder. Exit status: 0 all passed, 1 a check failed, 2 bad usage.\n"
    "Windows builds refuse: they cannot fork.";

// Runs the battery and prints a line per check and a closing summary; the exit status.
int runValidate(const ValidateOptions& options);

} // namespace vx
