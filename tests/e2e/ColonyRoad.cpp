// One of the colony's roads as a user plays it: vxsim ARGS in a root of its own whose crew library
// version reads VERSION, the script as CMake hands it over, command by command. The transcript
// must be KEPT.expected (unless KEPT is "-"), and a kept KEPT-saved.scn what the run saved; with
// reload, its saved.scn must load and save unchanged.  KEPT VERSION reload|- ARGS [-e COMMANDS]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/VxsimRun.h"

static bool same(const char* what, const std::string& got, const std::string& kept) {
    if (got != kept) {
        std::fprintf(stderr, "%s differs from the kept one; it is:\n%s\n", what, got.c_str());
    }
    return got == kept;
}

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 4; i < argc; ++i) {
        if (args.size() > 1 && args[args.size() - 2] == "-e") {
            args.back() += std::string(";") + argv[i];
        } else {
            args.push_back(argv[i]);
        }
    }
    const vxtest::TestRoot root;
    root.write("meshes/CKit/ver.dtf", std::string(argv[2]) + "\n");
    const auto vxsim = [&root](const std::vector<std::string>& with) {
        const e2e::Outcome run = e2e::runVxsim(root.path(), root.path(), root.path(), with, "");
        std::fprintf(stderr, "%s", run.err.c_str());
        return run;
    };
    const e2e::Outcome run = vxsim(args);
    bool ok = same("the exit status", std::to_string(run.status), "0");
    if (ok && std::string(argv[3]) == "reload") {
        vxsim({"saved.scn", "-e", "save again.scn"});
        ok = same("saved.scn saved again", root.read("again.scn"), root.read("saved.scn"));
    }
    const std::string kept = argv[1], saved = kept + "-saved.scn";
    if (kept != "-") {
        ok = same("the transcript", run.out, vxtest::readFile(kept + ".expected")) && ok;
    }
    if (std::filesystem::exists(saved)) {
        const std::string name = std::filesystem::path(saved).filename().string();
        ok = same("the save", root.read(name), vxtest::readFile(saved)) && ok;
    }
    return ok ? 0 : 1;
}
