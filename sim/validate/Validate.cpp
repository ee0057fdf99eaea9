// The parent side of vxsim validate: a root folder and a child process for each check, its
// time limit, the lines, the summary and the JUnit report.
#include "sim/validate/Validate.h"

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "sim/validate/Checks.h"

namespace vx {

namespace fs = std::filesystem;
using validate::Outcome;
using validate::Verdict;

namespace {

using Clock = std::chrono::steady_clock;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A runtime folder that holds the files wanted, and how the user would call where it lies.
struct Found {
    fs::path root; // empty when none holds them
    const char* where = "not found";
    // "FILE WHERE" for the run's first line.
    std::string shown(const char* file) const {
        return root.empty() ? where : (root / file).string() + " " + where;
    }
};

// The first of the runtime folder the module lies in, --root and the runtime folder beside
// vxsim that holds all the files.
Found findRuntime(const ValidateOptions& options, const fs::path& module,
                  std::initializer_list<const char*> files) {
    const std::pair<fs::path, const char*> places[] = {
        {module.parent_path().parent_path(), "in the module's runtime folder"},
        {options.root.empty() ? fs::path() : fs::absolute(options.root), "in --root"},
        {fs::path(options.programFolder) / "runtime", "in the runtime folder beside vxsim"}};
    for (const auto& [root, where] : places) {
        std::error_code error;
        bool all = !root.empty();
        for (const char* file : files) {
            all = all && fs::is_regular_file(root / file, error);
        }
        if (all) {
            return {root, where};
        }
    }
    return {};
}

struct Result {
    std::string check;
    std::uint64_t seed;
    Verdict verdict;
    double seconds;
    std::string again; // for a failure, the command that runs it again
};

[[noreturn]] void runChild(int pipe, const fs::path& root, const validate::CheckRun& run,
                           validate::CheckFunction check) {
    Verdict verdict;
    try {
        fs::current_path(root);
        verdict = check(run);
    } catch (const validate::Finding& finding) {
        verdict = {Outcome::Fail, finding.reason};
    } catch (const std::exception& error) {
        verdict = {Outcome::Fail, std::string("the check stopped: ") + error.what()};
    }
    // Its outcome's letter, then its text; a blocking pipe takes it whole.
    const std::string message = "PFS"[static_cast<int>(verdict.outcome)] + verdict.text;
    [[maybe_unused]] const ssize_t sent = write(pipe, message.data(), message.size());
    std::fflush(nullptr);
    _exit(0); // what the module left for the end of the process is no finding of this check
}

// Waits for the child's verdict until the time limit, then ends it.
Verdict awaitChild(pid_t child, int pipe, double timeout) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
    std::string message;
    int status = 0;
    for (char buffer[4096];;) {
        const std::chrono::duration<double, std::milli> left = deadline - Clock::now();
        pollfd wanted{pipe, POLLIN, 0};
        const int ready =
            left.count() > 0 ? poll(&wanted, 1, static_cast<int>(left.count()) + 1) : 0;
        if (ready == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return {Outcome::Fail, "not done within the time limit of " + number(timeout) +
                                       " s (--timeout); the check's process was ended"};
        }
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t got = read(pipe, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        message.append(buffer, static_cast<std::size_t>(got));
    }
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        return {Outcome::Fail, "the check's process crashed: signal " +
                                   std::to_string(WTERMSIG(status)) + " (" +
                                   strsignal(WTERMSIG(status)) + ")"};
    }
    if (message.empty()) {
        return {Outcome::Fail, "the check's process ended with exit status " +
                                   std::to_string(WEXITSTATUS(status)) +
                                   " before its verdict (its standard error says why)"};
    }
    const char* outcomes = "PFS";
    return {static_cast<Outcome>(std::strchr(outcomes, message[0]) - outcomes), message.substr(1)};
}

// Where the module under test and the runtime files it may need come from.
struct Layout {
    fs::path module;
    std::string className;
    Found crew, colony;
};

// A root folder laid out as the runtime folder, the module as modules/CLASS.dll.
fs::path layOut(const Layout& layout) {
    std::string pattern = (fs::temp_directory_path() / "vxsim-validate-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a root folder in " +
                                 fs::temp_directory_path().string() + ": " + std::strerror(errno));
    }
    const fs::path root(pattern);
    fs::create_directories(root / "config");
    fs::create_directories(root / "meshes" / "CKit");
    fs::create_directories(root / "modules");
    fs::create_symlink(layout.module, root / "modules" / (layout.className + ".dll"));
    const auto link = [&](const Found& found, const char* file) {
        if (!found.root.empty() && !fs::exists(root / file)) {
            fs::create_symlink(found.root / file, root / file);
        }
    };
    link(layout.crew, "modules/CKit.dll");
    link(layout.crew, "meshes/CKit/ver.dtf");
    link(layout.colony, "modules/halcyra.dll");
    return root;
}

Result runCheck(const Layout& layout, const validate::CheckRun& run, std::size_t check,
                double timeout) {
    const Clock::time_point start = Clock::now();
    const fs::path root = layOut(layout);
    int pipes[2];
    if (pipe(pipes) != 0) {
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        runChild(pipes[1], root, run, validate::kCheckRuns[check]);
    }
    close(pipes[1]);
    const Verdict verdict =
        child < 0 ? Verdict{Outcome::Fail, std::string("cannot start the check's process: ") +
                                               std::strerror(errno)}
                  : awaitChild(child, pipes[0], timeout);
    close(pipes[0]);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return {kValidateChecks[check], run.seed, verdict,
            std::chrono::duration<double>(Clock::now() - start).count(), ""};
}

// A word of a command line as a shell reads it back.
std::string shellWord(const std::string& word) {
    if (word.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+=:,") ==
        std::string::npos) {
        return word;
    }
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string xml(const std::string& text) {
    std::string out;
    for (char c : text) {
        const char* entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : nullptr;
        out += entity != nullptr ? entity : std::string(1, c >= 0 && c < ' ' ? '?' : c);
    }
    return out;
}

void writeReport(std::FILE* file, const std::string& className, const std::vector<Result>& results,
                 const int counts[3], double seconds) {
    std::fprintf(file,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"vxsim validate "
                 "%s\" tests=\"%zu\" failures=\"%d\" skipped=\"%d\" errors=\"0\" time=\"%.3f\">\n",
                 xml(className).c_str(), results.size(), counts[1], counts[2], seconds);
    for (const Result& result : results) {
        std::fprintf(file, "  <testcase classname=\"%s\" name=\"%s seed %llu\" time=\"%.3f\"",
                     xml(className).c_str(), result.check.c_str(),
                     static_cast<unsigned long long>(result.seed), result.seconds);
        const std::string text = xml(result.verdict.text);
        if (result.verdict.outcome == Outcome::Pass) {
            std::fputs("/>\n", file);
        } else if (result.verdict.outcome == Outcome::Skip) {
            std::fprintf(file, ">\n    <skipped message=\"%s\"/>\n  </testcase>\n", text.c_str());
        } else {
            std::fprintf(file,
                         ">\n    <failure message=\"%s\">reproduce: %s</failure>\n  </testcase>\n",
                         text.c_str(), xml(result.again).c_str());
        }
    }
    std::fputs("</testsuite>\n", file);
}

} // namespace

int runValidate(const ValidateOptions& options) {
    const Clock::time_point start = Clock::now();
    std::error_code error;
    const fs::path module = fs::absolute(options.module, error);
    if (error || !fs::is_regular_file(module, error)) {
        std::fprintf(stderr, "vxsim validate: %s: no such module file\n", options.module.c_str());
        return 2;
    }
    const std::string className =
        options.className.empty() ? module.stem().string() : options.className;
    if (className.empty() || className.find_first_of("/\\ ") != std::string::npos) {
        std::fprintf(stderr,
                     "vxsim validate: '%s' cannot be a class name (give one with --class)\n",
                     className.c_str());
        return 2;
    }
    std::FILE* report = nullptr;
    if (!options.report.empty() && (report = std::fopen(options.report.c_str(), "w")) == nullptr) {
        std::fprintf(stderr, "vxsim validate: cannot write the report %s: %s\n",
                     options.report.c_str(), std::strerror(errno));
        return 2;
    }
    const Layout layout{module, className,
                        findRuntime(options, module, {"modules/CKit.dll", "meshes/CKit/ver.dtf"}),
                        findRuntime(options, module, {"modules/halcyra.dll"})};
    std::printf("validate %s (%s) at strictness %d: crew runtime %s, colony %s\n",
                className.c_str(), options.module.c_str(), options.strictness,
                layout.crew.shown("modules/CKit.dll").c_str(),
                layout.colony.shown("modules/halcyra.dll").c_str());
    validate::CheckRun run{className, options.strictness, options.seed, !layout.crew.root.empty(),
                           !layout.colony.root.empty()};
    static constexpr const char* kOutcomes[] = {"PASS", "FAIL", "SKIP"};
    std::vector<Result> results;
    int counts[3] = {};
    int status = 0;
    try {
        for (int repeat = 0; repeat < options.repeat; ++repeat, ++run.seed) {
            for (std::size_t i = 0; i < std::size(kValidateChecks); ++i) {
                const char* check = kValidateChecks[i];
                if (!options.only.empty() && options.only != check) {
                    continue;
                }
                Result& result = results.emplace_back(runCheck(layout, run, i, options.timeout));
                const int outcome = static_cast<int>(result.verdict.outcome);
                ++counts[outcome];
                if (result.verdict.outcome == Outcome::Fail) {
                    result.again =
                        "vxsim validate " + shellWord(options.module) + " --class " +
                        shellWord(className) + " --strictness " +
                        std::to_string(options.strictness) + " --only " + check + " --seed " +
                        std::to_string(run.seed) +
                        (options.root.empty() ? "" : " --root " + shellWord(options.root)) +
                        (options.timeout == ValidateOptions{}.timeout
                             ? ""
                             : " --timeout " + number(options.timeout));
                }
                std::printf("%s %s (seed %llu) %.2f s: %s%s%s\n", kOutcomes[outcome], check,
                            static_cast<unsigned long long>(run.seed), result.seconds,
                            result.verdict.text.c_str(),
                            result.again.empty() ? "" : "; reproduce: ", result.again.c_str());
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& failure) { // the machine's, not the module's
        std::fprintf(stderr, "vxsim validate: %s\n", failure.what());
        status = 2;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("validate %s: %d passed, %d failed, %d skipped in %.2f s\n", className.c_str(),
                counts[0], counts[1], counts[2], seconds);
    if (report != nullptr) {
        writeReport(report, className, results, counts, seconds);
        std::fclose(report);
    }
    return status != 0 ? status : counts[1] == 0 ? 0 : 1;
}

} // namespace vx
