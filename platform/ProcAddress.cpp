// GetProcAddress on systems that are not Windows. A module's HINSTANCE is its own dlopen
// handle. dlsym on a handle also searches the libraries the module depends on, whereas
// Windows looks only at the module's own export table, so a symbol found in another object
// does not count.
#include <dlfcn.h>
#include <link.h>

#include "platform/WinApi.h"

FARPROC GetProcAddress(HMODULE module, const char* name) {
    // A null handle would make dlsym search the whole process.
    if (module == nullptr || name == nullptr) {
        return nullptr;
    }
    void* symbol = dlsym(module, name);
    if (symbol == nullptr) {
        return nullptr;
    }
    link_map* ownMap = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &ownMap) != 0 || ownMap == nullptr) {
        return nullptr;
    }
    Dl_info info{};
    link_map* symbolMap = nullptr;
    if (dladdr1(symbol, &info, reinterpret_cast<void**>(&symbolMap), RTLD_DL_LINKMAP) == 0 ||
        symbolMap != ownMap) {
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}
