#include "tests/e2e/VxsimRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

namespace fs = std::filesystem;

namespace {

bool redirect(const fs::path& path, int fd, int flags) {
    const int opened = open(path.c_str(), flags, 0644);
    return opened >= 0 && dup2(opened, fd) == fd;
}

} // namespace

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    args.insert(args.begin(), {VXSIM_PROGRAM, "--root", root.string()});
    const fs::path in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
    std::ofstream(in, std::ios::binary) << input;
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (chdir(start.c_str()) != 0 || !redirect(in, 0, O_RDONLY) ||
            !redirect(out, 1, O_WRONLY | O_CREAT | O_TRUNC) ||
            !redirect(err, 2, O_WRONLY | O_CREAT | O_TRUNC)) {
            _exit(127);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    Outcome run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    run.out = readAll(out);
    run.err = readAll(err);
    return run;
}

fs::path makeTempFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

} // namespace e2e
