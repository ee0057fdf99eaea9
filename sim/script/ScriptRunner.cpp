#include "sim/script/ScriptRunner.h"

#include <cmath>
#include <cstdio>

#include "sim/script/Printers.h"
#include "sim/script/StrictCheck.h"
#include "sim/world/VesselState.h"

namespace vx {

ScriptRunner::ScriptRunner(World& world, Transcript& out, std::string source,
                           std::filesystem::path startFolder)
    : world_(world), out_(out), source_(std::move(source)), startFolder_(std::move(startFolder)) {}

int ScriptRunner::run(const std::vector<Command>& commands) {
    for (const Command& command : commands) {
        std::string reason;
        if (!execute(command, reason)) {
            std::fprintf(stderr, "%s:%d: %s\n", source_.c_str(), command.line, reason.c_str());
            return 2;
        }
        if (strict_ &&
            !strictCheckPasses(world_.classes(), source_ + ":" + std::to_string(command.line))) {
            return kStrictFailed;
        }
        if (quit_) {
            break;
        }
    }
    return expectFailed_ ? 1 : 0;
}

VesselRecord* ScriptRunner::vessel(const std::string& name, const char* command,
                                   std::string& reason) {
    VesselRecord* found = world_.findVessel(name);
    if (found == nullptr) {
        reason = std::string(command) + ": no vessel named '" + name + "'";
    }
    return found;
}

void ScriptRunner::runSteps(long long count) {
    for (long long i = 0; i < count; ++i) {
        world_.step(dt_);
    }
}

void ScriptRunner::expect(const Command& command) {
    const bool hud = command.expect == ExpectWhat::Hud;
    const std::string got = hud ? world_.hudText() : std::string(world_.debugText());
    if (got != command.text) {
        std::fprintf(stderr, "%s:%d: expect %s: wanted \"%s\", got \"%s\"\n", source_.c_str(),
                     command.line, hud ? "hud" : "debug", command.text.c_str(), got.c_str());
        expectFailed_ = true;
    }
}

bool ScriptRunner::execute(const Command& command, std::string& reason) {
    switch (command.kind) {
    case CommandKind::Dt:
        dt_ = command.seconds;
        return true;
    case CommandKind::Step:
        runSteps(command.count);
        return true;
    case CommandKind::Run:
        if (dt_ <= 0.0) {
            reason = "run: the step length is 0 (set one with dt)";
            return false;
        }
        // Counted up front: adding dt up would overshoot by a step on rounding.
        runSteps(static_cast<long long>(std::ceil(command.seconds / dt_ - 1e-9)));
        return true;
    case CommandKind::Key:
        world_.pressKey(command.key);
        return true;
    case CommandKind::Focus: {
        VesselRecord* target = vessel(command.name, "focus", reason);
        if (target != nullptr) {
            world_.setFocus(target);
        }
        return target != nullptr;
    }
    case CommandKind::Place: {
        VesselRecord* target = vessel(command.name, "place", reason);
        VesselRecord* ref = target != nullptr ? vessel(command.other, "place", reason) : nullptr;
        if (ref != nullptr) {
            world_.place(target, ref, command.position);
        }
        return ref != nullptr;
    }
    case CommandKind::Dock: {
        VesselRecord* a = vessel(command.name, "dock", reason);
        VesselRecord* b = a != nullptr ? vessel(command.other, "dock", reason) : nullptr;
        if (b == nullptr) {
            return false;
        }
        if (!world_.dock(a, static_cast<unsigned int>(command.port), b,
                         static_cast<unsigned int>(command.otherPort), reason)) {
            reason = "dock: " + reason;
            return false;
        }
        return true;
    }
    case CommandKind::Undock: {
        VesselRecord* a = vessel(command.name, "undock", reason);
        if (a == nullptr) {
            return false;
        }
        if (!world_.undock(a, static_cast<unsigned int>(command.port), reason)) {
            reason = "undock: " + reason;
            return false;
        }
        return true;
    }
    case CommandKind::Create: {
        VESSELSTATUS status{};
        status.rrot = MATRIX3{1, 0, 0, 0, 1, 0, 0, 0, 1};
        if (const VesselRecord* focus = world_.focus()) {
            status = statusOf(*focus, &world_.body());
        }
        std::string why;
        if (world_.createVessel(command.name, command.className, status, &why) == nullptr) {
            reason = "create: " + command.className + " " + command.name + " refused: " + why;
            return false;
        }
        return true;
    }
    case CommandKind::Delete: {
        VesselRecord* target = vessel(command.name, "delete", reason);
        if (target != nullptr) {
            world_.deleteVessel(target);
        }
        return target != nullptr;
    }
    case CommandKind::Save: {
        const std::filesystem::path file(command.file);
        const std::filesystem::path path = file.is_absolute() ? file : startFolder_ / file;
        if (!world_.save(path.string(), command.file, reason)) {
            reason = "save: " + reason;
            return false;
        }
        return true;
    }
    case CommandKind::Print:
        return printCommand(world_, command, out_, reason);
    case CommandKind::Expect:
        expect(command);
        return true;
    case CommandKind::Quit:
        quit_ = true;
        return true;
    }
    return true;
}

} // namespace vx
