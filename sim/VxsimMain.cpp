// vxsim: loads a scenario into the stand-in host and runs a script against it, writing the
// transcript of what happens on standard output.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/script/BuiltinDemo.h"
#include "sim/script/Script.h"
#include "sim/script/ScriptRunner.h"
#include "sim/script/StrictCheck.h"
#include "sim/script/Transcript.h"
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

struct Source {
    std::string name; // as messages show it
    std::string text;
};

bool readStream(std::FILE* in, std::string& text) {
    text.clear();
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        text.append(chunk, got);
    }
    return std::ferror(in) == 0;
}

bool readFile(const fs::path& path, std::string& text) {
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    const bool read = readStream(in, text);
    std::fclose(in);
    return read;
}

fs::path programFolder() {
#ifdef _WIN32
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    return length == 0 || length >= sizeof self ? fs::path(".")
                                                : fs::path(self, self + length).parent_path();
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path(".") : self.parent_path();
#endif
}

fs::path fromStart(const fs::path& start, const std::string& path) {
    const fs::path given(path);
    return given.is_absolute() ? given : start / given;
}

bool loadSource(const fs::path& start, const std::string& given, std::string_view builtinName,
                std::string_view builtinText, Source& source) {
    if (given.empty()) {
        source = {std::string(builtinName), std::string(builtinText)};
        return true;
    }
    source.name = given;
    if (!readFile(fromStart(start, given), source.text)) {
        std::fprintf(stderr, "%s: cannot read the file\n", given.c_str());
        return false;
    }
    return true;
}

// SCRIPT, else -e, else standard input when a scenario was named, else the demo script.
bool loadScript(const fs::path& start, const vx::VxsimOptions& options, Source& script) {
    if (!options.script.empty()) {
        return loadSource(start, options.script, {}, {}, script);
    }
    if (options.inlineScript) {
        script = {"-e", vx::inlineScriptText(*options.inlineScript)};
        return true;
    }
    if (!options.scenario.empty()) {
        script.name = "stdin";
        return readStream(stdin, script.text);
    }
    script = {std::string(vx::kBuiltinScriptName), std::string(vx::builtinDemoScript())};
    return true;
}

// The run takes place in the root folder: the modules, the crew library's files and the log.
bool enterRoot(const fs::path& root) {
    std::error_code error;
    fs::current_path(root, error);
    if (error) {
        std::fprintf(stderr, "%s: cannot enter the root folder\n", root.string().c_str());
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
int runInteractive(const vx::VxsimOptions& options, const fs::path& start, const fs::path& root,
                   const vx::ScenarioDoc& doc, const std::string& shownName) {
#ifdef VX_HAVE_CURSES
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
        std::fprintf(stderr, "--interactive: standard input and output must be a terminal\n");
        return kBadInput;
    }
    if (!enterRoot(root)) {
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
    std::string message;
    if (!world.load(doc, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    session.markSaved();
    return session.run();
#else
    (void)options, (void)start, (void)root, (void)doc, (void)shownName;
    std::fprintf(stderr, "--interactive: this build of vxsim has no terminal interface\n");
    return kBadInput;
#endif
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript and the scripts are compared byte for byte with the ones kept for every
    // platform, so no line ending is translated on the way in or out.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    vx::VxsimOptions options;
    if (auto done = vx::parseCommandLine(argc, argv, options)) {
        return *done;
    }
    std::error_code error;
    const fs::path start = fs::current_path(error);
    const fs::path root =
        options.root.empty() ? programFolder() / "runtime" : fromStart(start, options.root);

    Source scenario;
    Source script;
    if (!loadSource(start, options.scenario, vx::kBuiltinScenarioName, vx::builtinDemoScenario(),
                    scenario) ||
        (!options.interactive && !loadScript(start, options, script))) {
        return kBadInput;
    }
    vx::ScenarioDoc doc;
    std::string message;
    if (!vx::parseScenarioText(scenario.text, scenario.name, doc, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    if (options.interactive) {
        return runInteractive(options, start, root, doc, scenario.name);
    }
    std::vector<vx::Command> commands;
    if (!vx::parseScript(script.text, script.name, commands, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return kBadInput;
    }
    if (!enterRoot(root)) {
        return kBadInput;
    }

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
    vx::ScriptRunner runner(world, transcript, script.name, start);
    runner.setStrict(options.strict);
    return runner.run(commands);
}
