// What the host touches first: the library entry routine and the module's three exports,
// with the module-wide state they keep.
#include <new>

#include "host/Vantrix.h"
#include "vessel/Halcyra.h"

namespace {

// Called at unload with the module handle, when the library has one.
using ExitRoutine = void (*)(HINSTANCE module);

ExitRoutine exitRoutine = nullptr;
// 0 until GetModuleVersion has asked the host; a 0 answer is asked again next time.
int cachedModuleVersion = 0;

ExitRoutine findExitRoutine(HINSTANCE module) {
    FARPROC found = GetProcAddress(module, "ExitModule");
    if (found == nullptr) {
        found = GetProcAddress(module, "vpcDLLExit");
    }
    // Through the generic function pointer type, which any function pointer may become.
    return reinterpret_cast<ExitRoutine>(reinterpret_cast<void (*)()>(found));
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        InitLib(module);
        exitRoutine = findExitRoutine(module);
        break;
    case DLL_PROCESS_DETACH:
        if (exitRoutine != nullptr) {
            exitRoutine(module);
        }
        break;
    default:
        break;
    }
    return TRUE;
}

DLLCLBK VESSEL* vvcInit(OBJHANDLE hvessel, int flightmodel) {
    return new (std::nothrow) halcyra(hvessel, flightmodel);
}

DLLCLBK void vvcExit(VESSEL* vessel) {
    delete static_cast<halcyra*>(vessel);
}

DLLCLBK int GetModuleVersion() {
    if (cachedModuleVersion == 0) {
        cachedModuleVersion = Date2Int("Apr 25 2006");
    }
    return cachedModuleVersion;
}
