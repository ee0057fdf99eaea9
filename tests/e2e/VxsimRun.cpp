#include "tests/e2e/VxsimRun.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace e2e {

namespace fs = std::filesystem;

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Outcome runVxsim(const fs::path& root, const fs::path& start, const fs::path& scratch,
                 std::vector<std::string> args, const std::string& input) {
    std::ofstream(scratch / "stdin", std::ios::binary) << input;
    args.insert(args.begin(), {VXSIM_PROGRAM, "--root", root.string()});
    std::string command = "cd '" + start.string() + "' && exec";
    for (std::string& arg : args) {
        for (std::size_t at = 0; (at = arg.find('\'', at)) != std::string::npos; at += 4) {
            arg.replace(at, 1, "'\\''"); // a quote ends the quoted word, stands, and reopens it
        }
        command += " '" + arg + "'";
    }
    const std::string streams = (scratch / "std").string();
    // exec: the status is vxsim's own, and a signal that ends it is no exit.
    const int status = std::system(
        (command + " <'" + streams + "in' >'" + streams + "out' 2>'" + streams + "err'").c_str());
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            readAll(scratch / "stdout"), readAll(scratch / "stderr")};
}

} // namespace e2e
