// Running vxsim the way a user does: a child process started in a folder of its own, with its
// standard streams in files.
#pragma once

#include <filesystem>
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

inline std::string readAll(const std::filesystem::path& path) {
    return vxtest::readFile(path);
}
std::vector<std::string> entries(const std::filesystem::path& folder); // sorted
// Runs VXSIM_PROGRAM in start with --root root and args; scratch holds the stream files.
Outcome runVxsim(const std::filesystem::path& root, const std::filesystem::path& start,
                 const std::filesystem::path& scratch, std::vector<std::string> args,
                 const std::string& input);
// A fresh folder under the system's temporary folder, for the caller to remove.
inline std::filesystem::path makeTempFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
    return vxtest::makeTempFolder(pattern) ? std::filesystem::path(pattern) : "";
}

} // namespace e2e
