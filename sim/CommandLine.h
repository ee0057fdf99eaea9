// vxsim's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/validate/Validate.h"

namespace vx {

struct VxsimOptions {
    std::string root;         // empty: the runtime folder beside the program
    std::uint64_t seed = 1;   // vapiRand's generator
    bool wallclock = false;   // vapiGetSysTime from the real clock
    int flightModel = 1;      // passed to every vvcInit
    bool strict = false;      // a module's allocation inside a callback fails the run
    bool interactive = false; // the full-screen terminal interface, in real time
    std::string scenario;     // empty: the built-in demo scenario
    std::string script;       // empty: -e, standard input or the built-in demo script
    std::optional<std::string> inlineScript; // -e 'CMD; CMD'
    std::string helpTopic;                   // vxsim help TOPIC: commands, keys or transcript
    bool validating = false;                 // vxsim validate MODULE ...
    ValidateOptions validate;
};

// Reads the command line into options. Returns an exit status when vxsim is done already
// (0 after --help or --version, 2 for bad usage, with the message written), or nothing to go
// on.
std::optional<int> parseCommandLine(int argc, char** argv, VxsimOptions& options);

} // namespace vx
