// One loaded module file: the platform's dynamic loader behind a small interface.
#pragma once

#include <string>

namespace vx {

class ModuleLibrary {
public:
    ModuleLibrary() = default;
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // Loads the file, resolving every symbol now and keeping them to this library; false
    // with a reason when it cannot.
    bool open(const std::string& path, std::string& reason);
    // An export by name, or null.
    void* symbol(const char* name) const;
    void close();

private:
    void* handle_ = nullptr;
};

} // namespace vx
