// Running vxsim as a user does: a child process in a folder of its own, its streams in files.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/MakeTempFolder.h"
#include "tests/support/TestRoot.h"

namespace e2e {

struct Outcome {
    int status = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline constexpr auto readAll = &vxtest::readFile;
inline std::vector<std::string> entries(const std::filesystem::path& folder) { // sorted
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return {names.begin(), names.end()};
}
inline std::filesystem::path makeTempFolder(const char* prefix) { // for the caller to remove
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
    return vxtest::makeTempFolder(pattern) ? std::filesystem::path(pattern) : "";
}

// Runs VXSIM_PROGRAM in start with --root root and args; scratch holds the stream files.
Outcome runVxsim(const std::filesystem::path& root, const std::filesystem::path& start,
                 const std::filesystem::path& scratch, std::vector<std::string> args,
                 const std::string& input);

} // namespace e2e
