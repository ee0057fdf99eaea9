#include "sim/world/ModuleLibrary.h"

#ifdef _WIN32
#include "platform/WinApi.h"
#else
#include <dlfcn.h>
#endif

namespace vx {

ModuleLibrary::~ModuleLibrary() {
    close();
}

#ifdef _WIN32

bool ModuleLibrary::open(const std::string& path, std::string& reason) {
    close();
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        reason = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    handle_ = reinterpret_cast<void*>(module);
    return true;
}

void* ModuleLibrary::symbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void ModuleLibrary::close() {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
    }
}

#else

bool ModuleLibrary::open(const std::string& path, std::string& reason) {
    close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        reason = why != nullptr ? why : "cannot load " + path;
        return false;
    }
    return true;
}

void* ModuleLibrary::symbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return dlsym(handle_, name);
}

void ModuleLibrary::close() {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

#endif

} // namespace vx
