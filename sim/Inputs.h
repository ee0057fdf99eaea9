// What a run reads before anything loads: the scenario and the script, each from where the
// user named it and within the bounds of what it may hold. A refusal names the file as the
// user gave it, where it was looked for, and the operating system's reason.
#pragma once

#include <filesystem>
#include <string>

#include "sim/CommandLine.h"

namespace vx {

struct Source {
    std::string name; // as messages show it
    std::string text;
};

// The scenario SCENARIO names, taken from the folder vxsim started in; the built-in demo when
// none is named. A missing file whose name the root's scenarios/ holds gets that hint.
bool readScenario(const std::filesystem::path& start, const std::filesystem::path& root,
                  const std::string& given, Source& scenario);

// Where the script comes from: SCRIPT, else -e, else standard input when a scenario was
// named, else the built-in demo script. Typed: standard input is a terminal, and the script
// is to be read line by line as the user types it.
enum class ScriptFrom { File, Inline, Input, Typed, Demo };
ScriptFrom scriptSource(const VxsimOptions& options);

// Reads the script whole (not for ScriptFrom::Typed).
bool readScript(const std::filesystem::path& start, const VxsimOptions& options, Source& script);

// The folder the program file is in.
std::filesystem::path programFolder();
// A path as the user gave it, taken from the folder vxsim started in.
std::filesystem::path fromStart(const std::filesystem::path& start, const std::string& path);

} // namespace vx
