// One of the colony's roads as a user plays it, for ctest: vxsim with ARGS in a root folder of
// its own whose crew library version file reads VERSION, the script after -e handed over
// command by command as CMake hands over a list. The transcript must be KEPT.expected, and a
// KEPT-saved.scn kept beside it what the run saved, unless KEPT is "-"; with "reload", the
// run's saved.scn must load and save again unchanged.
//   colony_road KEPT VERSION reload|- ARGS... [-e COMMANDS...]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/VxsimRun.h"
#include "tests/support/TestRoot.h"

namespace {

bool same(const char* what, const std::string& got, const std::string& kept) {
    if (got != kept) {
        std::fprintf(stderr, "%s differs from the kept one; it is:\n%s\n", what, got.c_str());
    }
    return got == kept;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
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
    bool ok = same("vxsim's exit status", std::to_string(run.status), "0");
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
