// vxsim: loads a scenario into the stand-in host and runs a script against it, writing the
// transcript of what happens on standard output.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/Help.h"
#include "sim/Inputs.h"
#include "sim/RootFolder.h"
#include "sim/script/Interrupt.h"
#include "sim/script/Script.h"
#include "sim/script/ScriptRunner.h"
#include "sim/script/StrictCheck.h"
#include "sim/script/Transcript.h"
#include "sim/text/Bounds.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"

#ifdef VX_HAVE_CURSES
#include <unistd.h>

#include "sim/screen/InteractiveSession.h"
#include "sim/screen/SaveTarget.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/WinApi.h"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kBadInput = 2;

// The run takes place in the root folder: the modules, the crew library's files and the log.
bool enterRoot(vx::RootFolder& folder, const fs::path& root) {
    std::string error;
    if (!folder.enter(root, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

vx::WorldOptions worldOptionsFrom(const vx::VxsimOptions& options, bool wallclock) {
    vx::WorldOptions world;
    world.seed = options.seed;
    world.wallclock = wallclock;
    world.flightModel = options.flightModel;
    return world;
}

// vxsim --interactive: the loaded world on the terminal until the user quits.
int runInteractive(const vx::VxsimOptions& options, const fs::path& start,
                   const vx::ScenarioDoc& doc, const std::string& shownName) {
#ifdef VX_HAVE_CURSES
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
        std::fprintf(stderr, "--interactive: standard input and output must be a terminal\n");
        return kBadInput;
    }
    vx::World world(worldOptionsFrom(options, true));
    vx::InteractiveSession session(world, vx::saveTargetFor(start, options.scenario), shownName);
    world.setEventSink([&session](double simt, std::string_view kind, std::string_view text) {
        session.event(simt, kind, text);
    });
    // Warnings would land on the screen; they go to the log panel instead.
    world.setWarningSink([&session, &world](std::string_view message) {
        session.event(world.simTime(), "warning", message);
    });
    if (const std::string missing = vx::RootFolder::missingCrewLibrary(); !missing.empty()) {
        session.event(world.simTime(), "warning", missing);
    }
    std::string message;
    if (!world.load(doc, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    session.markSaved();
    return session.run();
#else
    (void)options, (void)start, (void)doc, (void)shownName;
    std::fprintf(stderr, "--interactive: this build of vxsim has no terminal interface\n");
    return kBadInput;
#endif
}

// A script typed at a terminal: each command runs as its line is entered.
int runTyped(vx::ScriptRunner& runner) {
    std::fputs("vxsim: type script commands, one a line; each runs when entered. Ctrl-D ends "
               "(vxsim help commands lists them).\n",
               stderr);
    int status = 0;
    char line[vx::bounds::kScriptText.lineBytes + 2];
    for (int number = 1; !runner.quitting(); ++number) {
        std::fputs("> ", stderr);
        std::fflush(stderr);
        if (std::fgets(line, sizeof line, stdin) == nullptr) {
            break;
        }
        vx::Command command;
        std::string error;
        switch (vx::parseScriptLine(line, "stdin", number, command, error)) {
        case vx::ScriptLine::Refused:
            std::fprintf(stderr, "%s\n", error.c_str()); // a typing slip: the next line may mend it
            continue;
        case vx::ScriptLine::Empty:
            continue;
        case vx::ScriptLine::Command:
            break;
        }
        const int ran = runner.run({command});
        if (ran == vx::kInterrupted) {
            return ran;
        }
        status = ran == 1 ? 1 : status;
    }
    std::fputc('\n', stderr);
    return status;
}

int run(int argc, char** argv) {
    vx::VxsimOptions options;
    if (auto done = vx::parseCommandLine(argc, argv, options)) {
        return *done;
    }
    if (!options.helpTopic.empty()) {
        vx::printHelp(options.helpTopic, stdout);
        return 0;
    }
    if (options.validating) {
#ifdef VX_HAVE_VALIDATE
        options.validate.programFolder = vx::programFolder().string();
        if (options.validate.root.empty()) {
            options.validate.root = options.root; // vxsim --root DIR validate ... says the same
        }
        return vx::runValidate(options.validate);
#else
        std::fprintf(stderr, "vxsim validate: not in this build: each check runs in a process "
                             "of its own, which this system cannot fork\n");
        return kBadInput;
#endif
    }
    std::error_code error;
    const fs::path start = fs::current_path(error);
    const fs::path rootPath =
        options.root.empty() ? vx::programFolder() / "runtime" : vx::fromStart(start, options.root);
    // Before anything is read or loaded: a run that cannot take place there changes nothing.
    vx::RootFolder root;
    if (!enterRoot(root, rootPath)) {
        return kBadInput;
    }

    vx::Source scenario;
    vx::Source script;
    const bool typed = !options.interactive && vx::scriptSource(options) == vx::ScriptFrom::Typed;
    if (!vx::readScenario(start, rootPath, options.scenario, scenario) ||
        (!options.interactive && !typed && !vx::readScript(start, options, script))) {
        return kBadInput;
    }
    vx::ScenarioDoc doc;
    std::string message;
    if (!vx::parseScenarioText(scenario.text, scenario.name, doc, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    if (options.interactive) {
        return runInteractive(options, start, doc, scenario.name);
    }
    std::vector<vx::Command> commands;
    if (!typed && !vx::parseScript(script.text, script.name, commands, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    if (const std::string missing = vx::RootFolder::missingCrewLibrary(); !missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
    }

    vx::watchForInterrupt();
    vx::World world(worldOptionsFrom(options, options.wallclock));
    vx::Transcript transcript(stdout);
    world.setEventSink([&transcript](double simt, std::string_view kind, std::string_view text) {
        transcript.event(simt, kind, text);
    });
    if (!world.load(doc, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    if (options.strict) {
        if (!vx::allocationGuardAvailable()) {
            std::fprintf(stderr, "--strict: this build of the host cannot count allocations\n");
            return kBadInput;
        }
        if (!vx::strictCheckPasses(world.classes(), scenario.name)) {
            return vx::kStrictFailed;
        }
    }
    vx::ScriptRunner runner(world, transcript, typed ? "stdin" : script.name, start);
    runner.setStrict(options.strict);
    return typed ? runTyped(runner) : runner.run(commands);
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript and the scripts are compared byte for byte with the ones kept for every
    // platform, so no line ending is translated on the way in or out.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Whatever was saved before is whole: a save replaces its file only once it is written.
        std::fprintf(stderr, "vxsim: out of memory; the run stopped there\n");
        return kBadInput;
    }
}
