// The library entry routine on systems that are not Windows. Windows calls a module's DllMain
// when it loads and unloads the library; here a constructor and a destructor, linked into every
// module, do the same, with the module's own dlopen handle as its HINSTANCE.
#ifndef _WIN32
#include <dlfcn.h>

#include "platform/WinApi.h"

// Defined by each module with the signature Windows calls.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace {

HINSTANCE ownHandle = nullptr;

// Any address inside this library names it to dladdr. Asking dlopen for a library that is
// already loaded gives its handle and one more reference, which is handed back at once: the
// handle stays valid for as long as the library is loaded.
HINSTANCE findOwnHandle() {
    Dl_info info{};
    if (dladdr(&ownHandle, &info) == 0 || info.dli_fname == nullptr) {
        return nullptr;
    }
    void* handle = dlopen(info.dli_fname, RTLD_NOLOAD | RTLD_NOW);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle;
}

__attribute__((constructor)) void processAttach() {
    ownHandle = findOwnHandle();
    DllMain(ownHandle, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void processDetach() {
    DllMain(ownHandle, DLL_PROCESS_DETACH, nullptr);
}

} // namespace
#endif
