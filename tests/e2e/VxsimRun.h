// Running vxsim the way a user does: a child process started in a folder of its own, with its
// standard streams in files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

struct Outcome {
    int status = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string readAll(const std::filesystem::path& path);
std::vector<std::string> entries(const std::filesystem::path& folder); // sorted
// Runs VXSIM_PROGRAM in start with --root root and args; scratch holds the stream files.
Outcome runVxsim(const std::filesystem::path& root, const std::filesystem::path& start,
                 const std::filesystem::path& scratch, std::vector<std::string> args,
                 const std::string& input);
std::filesystem::path makeTempFolder(const char* prefix); // fresh, for the caller to remove

} // namespace e2e
