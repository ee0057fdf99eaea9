#include "tests/e2e/VxsimRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

// With exec, the status is vxsim's own and a signal that ends it no exit; every word is quoted.
e2e::Outcome e2e::runVxsim(const std::filesystem::path& root, const std::filesystem::path& start,
                           const std::filesystem::path& scratch, std::vector<std::string> args,
                           const std::string& input) {
    std::ofstream(scratch / "stdin", std::ios::binary) << input;
    const std::string streams = (scratch / "std").string();
    args.insert(args.begin(), {VXSIM_PROGRAM, "--root", root.string()});
    std::string command = "cd '" + start.string() + "' && exec";
    for (std::string& arg : args) {
        for (std::size_t at = 0; (at = arg.find('\'', at)) != std::string::npos; at += 4) {
            arg.replace(at, 1, "'\\''");
        }
        command += " '" + arg + "'";
    }
    command += " <'" + streams + "in' >'" + streams + "out' 2>'" + streams + "err'";
    const int status = std::system(command.c_str());
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            readAll(scratch / "stdout"), readAll(scratch / "stderr")};
}
