// Runs a checked script against the world, command by command.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/script/Script.h"
#include "sim/script/Transcript.h"
#include "sim/world/World.h"

namespace vx {

class ScriptRunner {
public:
    // source names the script in messages; relative save paths are taken from startFolder.
    ScriptRunner(World& world, Transcript& out, std::string source,
                 std::filesystem::path startFolder);

    // After every command, a module's allocation inside a callback stops the run with 1.
    void setStrict(bool strict) { strict_ = strict; }

    // 0 when every command ran and every expect held, 1 when an expect failed, 2 when a
    // command could not be carried out (the run stops there, message on standard error),
    // kInterrupted when an interrupt stopped it.
    int run(const std::vector<Command>& commands);
    // Whether a quit command has run.
    bool quitting() const { return quit_; }

private:
    // False with a reason when the command cannot be carried out.
    bool execute(const Command& command, std::string& reason);
    // False with a reason when a step cannot be taken; stops early on an interrupt.
    bool runSteps(const Command& command, long long count, std::string& reason);
    void expect(const Command& command);
    VesselRecord* vessel(const std::string& name, const char* command, std::string& reason);

    World& world_;
    Transcript& out_;
    std::string source_;
    std::filesystem::path startFolder_;
    double dt_ = 0.1;
    bool expectFailed_ = false;
    bool quit_ = false;
    bool strict_ = false;
};

} // namespace vx
