// The library's entry routine and the host's exports for the class "CKit".
#include <new>

#include "addons/ckit/CrewWalker.h"
#include "host/Vantrix.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitLib(module);
    }
    return TRUE;
}

DLLCLBK VESSEL* vvcInit(OBJHANDLE vessel, int flightModel) {
    return new (std::nothrow) ckit::CrewWalker(vessel, flightModel);
}

DLLCLBK void vvcExit(VESSEL* vessel) {
    delete static_cast<ckit::CrewWalker*>(vessel);
}

DLLCLBK int GetModuleVersion() {
    return Date2Int("Apr 25 2006");
}
