// The folder a run takes place in: the simulator's installation folder, where the modules'
// relative paths resolve and the crew library keeps its exchange files in config/. Entering it
// makes sure it can hold a run, and holds it for this run alone: two runs on one root would
// overwrite each other's exchange files.
#pragma once

#include <filesystem>
#include <string>

namespace vx {

class RootFolder {
public:
    RootFolder() = default;
    // Lets go of the root; the system does the same however the process ends.
    ~RootFolder();
    RootFolder(const RootFolder&) = delete;
    RootFolder& operator=(const RootFolder&) = delete;

    // Checks that root is a folder this process can write, creates its config/ when missing,
    // takes the root for this run and changes into it. False, with a message naming the
    // folder and the reason, when the run cannot take place there.
    bool enter(const std::filesystem::path& root, std::string& error);

    // The warning a root without the crew library's module file gets, or empty.
    static std::string missingCrewLibrary();

private:
#ifdef _WIN32
    void* lock_ = nullptr; // a lock file nobody else may open, deleted when it is closed
#else
    int lock_ = -1; // the root folder itself, locked
#endif
};

} // namespace vx
