// A new, empty folder for one test, made from a pattern that ends in six X.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include "platform/WinApi.h"
#else
#include <unistd.h>
#endif

namespace vxtest {

// Creates the folder and writes its name into pattern; false when none can be made.
inline bool makeTempFolder(std::string& pattern) {
#ifdef _WIN32
    // The Windows C runtime has no mkdtemp: the process's id and a count, until one is new.
    const std::string stem = pattern.substr(0, pattern.size() - 6);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate =
            stem + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            pattern = candidate;
            return true;
        }
        if (error) {
            return false;
        }
    }
    return false;
#else
    return mkdtemp(pattern.data()) != nullptr;
#endif
}

} // namespace vxtest
