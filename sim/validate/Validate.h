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
    "Checks, in this order (S is the strictness, 1 to 10, default 5):\n"
    "  loading      the file loads and unloads S times: it exports vvcInit and vvcExit under\n"
    "               those names, its entry routine calls InitLib with its own handle on load,\n"
    "               and it leaves the process on unload\n"
    "  lifecycle    10*S vessels created and destroyed one at a time, 10*S interleaved, 5*S\n"
    "               from a scenario, 5*S made and deleted by another vessel's vapiCreateVessel;\n"
    "               a vessel's saved block unchanged by others of its class; in sanitized\n"
    "               builds, the heap as it was once all are destroyed (the second time round)\n"
    "  callbacks    2+S/2 vessels: S steps of each of 0, 1e-9, 1e-3, 0.1, 1, 100 and 1e4 s;\n"
    "               every key code 1 to 255 pressed and released alone and with each modifier\n"
    "               (from S 4 each pair, from S 8 all of them), a step after each; the HUD at\n"
    "               1x1, 2x2, 1x16384, 16384x1, 16384x16384 and 2*S sizes from the seed; the\n"
    "               focus moved off and on S times. Nothing may crash, hang or leave the bounds\n"
    "  allocations  from S 5 (skipped below, and where the host cannot count allocations): no\n"
    "               allocation in any callback over 20*S steps, every key without modifiers, a\n"
    "               save and a load of 1+S/5 vessels\n"
    "  roundtrip    1+S/3 vessels stepped 10*S times, saved, loaded into a fresh world and saved\n"
    "               again give the same text; an empty block, unknown lines and S blocks of its\n"
    "               own lines at the line length bound are taken\n"
    "  crewpoint    when the class publishes a \"CKit\" point (skipped otherwise, and without\n"
    "               the crew runtime): its nine numbers well formed (no box minimum above its\n"
    "               maximum, a state of 0 or 1, whole free seats from 0); with a dock, a colony\n"
    "               docked there sends a member across; a transfer vessel named for it is taken\n"
    "               in and its exchange file removed; walkers at S places strictly inside its\n"
    "               box are taken in; each within the 0.25 s poll and one step, taking a seat\n"
    "  timing       the mean cost of a call, over 200*S calls of each of clbkPreStep,\n"
    "               clbkPostStep, clbkConsumeBufferedKey and clbkDrawHUD, against 20 ms / S, and\n"
    "               over 50*S saves and creations against 40 ms / S (medians of ten batches)\n"
    "Each check runs in a process of its own, with a root folder of its own and a time limit\n"
    "(--timeout). modules/CKit.dll and meshes/CKit/ver.dtf, the crew runtime, and\n"
    "modules/halcyra.dll, the colony, come from the runtime folder the module lies in (its\n"
    "folder's parent), from --root, or from the runtime folder beside vxsim, the first that has\n"
    "them. Exit status: 0 all passed, 1 a check failed, 2 bad usage. Windows builds refuse:\n"
    "they cannot fork.";

// Runs the battery and prints a line per check and a closing summary; the exit status.
int runValidate(const ValidateOptions& options);

} // namespace vx
