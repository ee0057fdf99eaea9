#include "sim/script/ScriptRunner.h"

#include <cmath>
#include <cstdio>

#include "sim/script/Interrupt.h"
#include "sim/script/Printers.h"
#include "sim/script/Progress.h"
#include "sim/script/StrictCheck.h"
#include "sim/text/Bounds.h"
#include "sim/text/NumberText.h"
#include "sim/text/TextWords.h"
#include "sim/world/VesselState.h"

namespace vx {

ScriptRunner::ScriptRunner(World& world, Transcript& out, std::string source,
                           std::filesystem::path startFolder)
    : world_(world), out_(out), source_(std::move(source)), startFolder_(std::move(startFolder)) {}

int ScriptRunner::run(const std::vector<Command>& commands) {
    for (const Command& command : commands) {
        std::string reason;
        const bool done = !interrupted() && execute(command, reason);
        if (interrupted()) {
            std::fprintf(stderr,
                         "%s:%d: interrupted at T = %.2f s; the transcript is whole up to there\n",
                         source_.c_str(), command.line, world_.simTime());
            return kInterrupted;
        }
        if (!done) {
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
        reason = std::string(command) + ": no vessel named " + text::quoted(name);
    }
    return found;
}

bool ScriptRunner::runSteps(const Command& command, long long count, std::string& reason) {
    Progress progress(source_ + ":" + std::to_string(command.line), count);
    for (long long i = 0; i < count && !interrupted(); ++i) {
        if (!world_.step(dt_)) {
            reason = "step " + std::to_string(i + 1) + " of " + std::to_string(count) + ": " +
                     world_.stepError();
            return false;
        }
        progress.update(i + 1, world_.simTime());
    }
    return true;
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
        return runSteps(command, command.count, reason);
    case CommandKind::Run: {
        if (dt_ <= 0.0) {
            reason = "run: the step length is 0 (set one with dt)";
            return false;
        }
        // Counted up front: adding dt up would overshoot by a step on rounding.
        const double steps = std::ceil(command.seconds / dt_ - 1e-9);
        if (steps > bounds::kSteps.high) {
            reason = "run: " + formatNumber(command.seconds) + " s in steps of " +
                     formatNumber(dt_) + " s would be " + formatNumber(steps) +
                     " steps, more than the " +
                     std::to_string(static_cast<long long>(bounds::kSteps.high)) +
                     " one command may run";
            return false;
        }
        return runSteps(command, static_cast<long long>(steps), reason);
    }
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
