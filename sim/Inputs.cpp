#include "sim/Inputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "sim/script/BuiltinDemo.h"
#include "sim/script/Script.h"
#include "sim/text/Bounds.h"
#include "sim/text/TextFile.h"
#include "sim/text/TextWords.h"

#ifdef _WIN32
#include <io.h>

#include "platform/WinApi.h"
#define VX_STDIN_IS_TERMINAL (_isatty(_fileno(stdin)) != 0)
#else
#include <unistd.h>
#define VX_STDIN_IS_TERMINAL (isatty(STDIN_FILENO) != 0)
#endif

namespace vx {

namespace fs = std::filesystem;

namespace {

// "GIVEN: cannot read the file" and where it was looked for, when that is not what was given.
// Built by appending: GCC 12 at -O3 sees a false overlap in " " + std::string.
std::string cannotRead(const std::string& given, const fs::path& path) {
    std::string out = text::shown(given);
    out += ": cannot read the file";
    if (path.string() != given) {
        out += ' ';
        out += text::shown(path.string());
    }
    return out;
}

// A file the user named, within the bounds of what it is to hold.
bool readFile(const fs::path& path, const std::string& given, const TextBounds& bounds,
              std::string& text, std::string hint = {}) {
    std::error_code notFolder;
    if (fs::is_directory(path, notFolder)) {
        std::fprintf(stderr, "%s: it is a folder\n", cannotRead(given, path).c_str());
        return false;
    }
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    if (in == nullptr) {
        const int code = errno;
        std::fprintf(stderr, "%s (%s)%s\n", cannotRead(given, path).c_str(), std::strerror(code),
                     code == ENOENT ? hint.c_str() : "");
        return false;
    }
    std::string error;
    const bool read = readBoundedText(in, text::shown(given), bounds, text, error);
    std::fclose(in);
    if (!read) {
        std::fprintf(stderr, "%s\n", error.c_str());
    }
    return read;
}

} // namespace

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

bool readScenario(const fs::path& start, const fs::path& root, const std::string& given,
                  Source& scenario) {
    if (given.empty()) {
        scenario = {std::string(kBuiltinScenarioName), std::string(builtinDemoScenario())};
        return true;
    }
    scenario.name = given;
    std::string hint;
    std::error_code ignored;
    const fs::path inRoot = root / "scenarios" / fs::path(given).filename();
    if (fs::is_regular_file(inRoot, ignored)) {
        hint = "; the root folder holds ";
        hint += text::shown(inRoot.string());
        hint += ": name that";
    }
    return readFile(fromStart(start, given), given, bounds::kScenarioText, scenario.text, hint);
}

ScriptFrom scriptSource(const VxsimOptions& options) {
    if (!options.script.empty()) {
        return ScriptFrom::File;
    }
    if (options.inlineScript) {
        return ScriptFrom::Inline;
    }
    if (options.scenario.empty()) {
        return ScriptFrom::Demo;
    }
    return VX_STDIN_IS_TERMINAL ? ScriptFrom::Typed : ScriptFrom::Input;
}

bool readScript(const fs::path& start, const VxsimOptions& options, Source& script) {
    const TextBounds& bounds = bounds::kScriptText;
    std::string error;
    switch (scriptSource(options)) {
    case ScriptFrom::File:
        script.name = options.script;
        return readFile(fromStart(start, options.script), options.script, bounds, script.text);
    case ScriptFrom::Inline:
        script = {"-e", inlineScriptText(*options.inlineScript)};
        break;
    case ScriptFrom::Input:
    case ScriptFrom::Typed:
        script.name = "stdin";
        if (!readBoundedText(stdin, script.name, bounds, script.text, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        return true;
    case ScriptFrom::Demo:
        script = {std::string(kBuiltinScriptName), std::string(builtinDemoScript())};
        return true;
    }
    if (!checkBoundedText(script.text, script.name, bounds, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

} // namespace vx
