// A fresh root folder laid out as the host's runtime folder, entered for the life of the
// object, so that a test's exchange files and log never reach another test or the build.
#pragma once

#include <filesystem>
#include <string>

namespace vxtest {

class TestRoot {
public:
    // What modules/ holds: the build's modules (linked, or copied where the loader needs real
    // files), or only an empty CKit.dll, which is all the crew manager's presence check reads.
    enum class Modules { Build, PresenceOnly };

    explicit TestRoot(Modules modules = Modules::Build);
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Files by a path relative to the root, forward slashes.
    void write(const std::string& relative, const std::string& content) const;
    std::string read(const std::string& relative) const;
    void remove(const std::string& relative) const;

private:
    std::filesystem::path started_;
    std::filesystem::path path_;
};

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

} // namespace vxtest
