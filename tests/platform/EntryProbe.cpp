// A library built the way modules are, whose entry routine reports each call to the program
// that loads it.
#include "host/Export.h"
#include "platform/WinApi.h"

// Defined by the test program.
extern "C" void recordEntryCall(HINSTANCE module, DWORD reason);

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    recordEntryCall(module, reason);
    return TRUE;
}

DLLCLBK int probeExport() {
    return 42;
}

extern "C" int probeHidden() {
    return 7;
}
