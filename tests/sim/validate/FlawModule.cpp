// The class of the validator's tests: a small ship with a crew cabin, built once for each of
// the faults below, of which each build has exactly one.
//   FAULT_ALLOC   allocates in every step
//   FAULT_KEY     crashes on right Ctrl+K
//   FAULT_SAVE    saves its step count but does not read it back
//   FAULT_BOX     publishes an airlock box whose x minimum lies above its maximum
//   FAULT_INTAKE  never takes anyone in
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"

namespace {

class Flaw final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;

    void clbkSetClassCaps(FILEHANDLE) override {
        crew_.InitCrewManager(GetHandle());
        crew_.DefineAirlockShape(1, -2, 2, -2, 2, -2, 2);
        crew_.SetMaxSeats(100);
#ifdef FAULT_BOX
        SetAttachmentParams(GetAttachmentHandle(false, 0), {2, -2, -2}, {2, -2, 2}, {1, 0, 100});
#endif
    }

    void clbkPreStep(double, double, double) override {
        ++steps_;
#ifdef FAULT_ALLOC
        void* volatile block = std::malloc(16);
        std::free(block);
#endif
#ifndef FAULT_INTAKE
        crew_.ProcessArrivals();
#endif
    }

    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* state) override {
#ifdef FAULT_KEY
        if (down && key == VXK_K && KeyDown(state, VXK_RCONTROL)) {
            std::abort();
        }
#endif
        return down && key == VXK_K && ShiftOrCtrlDown(state) ? 1 : 0;
    }

    void clbkSaveState(FILEHANDLE scn) override {
        SaveDefaultState(scn);
        char value[16];
        std::snprintf(value, sizeof value, "%d", steps_);
        vapiWriteScenario_string(scn, "STEPS", value);
        crew_.SaveCrewState(scn);
    }

    void clbkLoadStateEx(FILEHANDLE scn, void* status) override {
        char* line = nullptr;
        while (vapiReadScenario_nextline(scn, line)) {
#ifndef FAULT_SAVE
            if (std::strncmp(line, "STEPS ", 6) == 0) {
                steps_ = static_cast<int>(std::strtol(line + 6, nullptr, 10));
                continue;
            }
#endif
            if (crew_.ParseCrewScenarioLine(line) != 1) {
                ParseScenarioLineEx(line, status);
            }
        }
    }

private:
    CrewManager crew_{};
    int steps_ = 0;
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitLib(module);
    }
    return TRUE;
}

DLLCLBK VESSEL* vvcInit(OBJHANDLE vessel, int flightModel) {
    return new (std::nothrow) Flaw(vessel, flightModel);
}

DLLCLBK void vvcExit(VESSEL* vessel) {
    delete static_cast<Flaw*>(vessel);
}
