// The working folder a fuzz target runs in: a fresh temporary folder laid out as the host's
// root, so that the crew library's relative paths resolve and nothing outside is touched.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace fuzzroot {

inline void MakeFolder(const char* path) {
    if (mkdir(path, 0700) != 0) {
        std::abort();
    }
}

// Writes the whole file or stops the process: a target that cannot lay out its input tests
// nothing.
inline void WriteFile(const char* path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr || (size != 0 && std::fwrite(data, size, 1, file) != 1)) {
        std::abort();
    }
    std::fclose(file);
}

// Changes into a new folder named after prefix ("/tmp/fuzz-NAME-XXXXXX") holding config/,
// config/CKITIdConfig/ and meshes/CKit/. With a module folder, modules/ is a link to it;
// without one, modules/ holds an empty crew library module file, which is all a crew manager
// looks for.
inline void Enter(const char* prefix, const char* moduleFolder = nullptr) {
    char folder[64];
    if (std::snprintf(folder, sizeof folder, "%s-XXXXXX", prefix) >=
            static_cast<int>(sizeof folder) ||
        mkdtemp(folder) == nullptr || chdir(folder) != 0) {
        std::abort();
    }
    MakeFolder("config");
    MakeFolder("config/CKITIdConfig");
    MakeFolder("meshes");
    MakeFolder("meshes/CKit");
    if (moduleFolder != nullptr) {
        if (symlink(moduleFolder, "modules") != 0) {
            std::abort();
        }
    } else {
        MakeFolder("modules");
        WriteFile("modules/CKit.dll", "", 0);
    }
}

} // namespace fuzzroot
