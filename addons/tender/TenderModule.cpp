// The library's entry routine and the host's exports for the class "Tender".
#include <new>

#include "addons/tender/Tender.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitLib(module);
    }
    return TRUE;
}

DLLCLBK VESSEL* vvcInit(OBJHANDLE vessel, int flightModel) {
    return new (std::nothrow) tender::Tender(vessel, flightModel);
}

DLLCLBK void vvcExit(VESSEL* vessel) {
    delete static_cast<tender::Tender*>(vessel);
}

DLLCLBK int GetModuleVersion() {
    return Date2Int("Apr 25 2006");
}
