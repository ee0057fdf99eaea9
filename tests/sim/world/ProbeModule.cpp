// The "Probe" vessel class: a module of the host's own tests that touches every part of the
// host a module uses and shows what it got in the transcript. Scenario lines of its own:
// MESSAGE TEXT (on its HUD), SPIN RATE (its animation's phase per second), HOARD N (allocates N
// blocks in every step). Keys: M marks the HUD with the times (shift+M clears it), L logs on
// release, G writes the debug line and C clears it in the next step, E creates "NAME-child"
// 10 m ahead, D deletes the probe, 1 passes the focus on, H allocates, K answers with the
// modifiers held (1 lshift, 2 rshift, 4 lctrl, 8 rctrl).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "host/Vantrix.h"

namespace {

// Kept by pointer by the host, so it lives as long as the library.
const unsigned int kAntennaGroups[] = {0, 1};
MGROUP_ROTATE antennaTurn(1, kAntennaGroups, 2, VECTOR3{0, 0, 0}, VECTOR3{0, 1, 0}, 6.2831855f);

class Probe final : public VESSEL2 {
public:
    Probe(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}

    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetSize(12.0);
        SetEmptyMass(1500.0);
        SetLiftCoeffFunc([](double aoa) { return 2.0 * aoa; });
        SetTouchdownPoints({0, -2, 1}, {1, -3, -1}, {-1, -2.5, -1});
        CreateDock({0, 0, 5}, {0, 0, 1}, {0, 1, 0});
        CreateDock({0, 0, -5}, {0, 0, -1}, {0, 1, 0});
        CreateAttachment(false, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}, "PRB-CHILD-LONG");
        CreateAttachment(true, {0.1, 0.2, 0.3}, {0, 0, -1}, {1, 0, 0}, "P-Ar");
        AddMesh("probe");
        const VECTOR3 antennaOffset{0, 1.5, 0};
        AddMesh("probe_antenna", &antennaOffset);
        SetMeshVisibilityMode(0, 3);
        anim_ = CreateAnimation(0.0);
        AddAnimationComponent(anim_, 0.0, 1.0, &antennaTurn);
        char line[160];
        std::snprintf(line, sizeof line, "Probe %s ready, model %d, draw %.6f", GetName(),
                      GetFlightModel(), vapiRand());
        vapiWriteLog(line);
    }

    void clbkLoadStateEx(FILEHANDLE scn, void* status) override {
        char* line = nullptr;
        while (vapiReadScenario_nextline(scn, line)) {
            if (std::strncmp(line, "MESSAGE ", 8) == 0) {
                std::snprintf(message_, sizeof message_, "%s", line + 8);
            } else if (std::strncmp(line, "SPIN ", 5) == 0) {
                spin_ = std::atof(line + 5);
            } else if (std::strncmp(line, "HOARD ", 6) == 0) {
                hoard_ = std::atoi(line + 6);
            } else {
                ParseScenarioLineEx(line, status);
            }
        }
    }

    void clbkSaveState(FILEHANDLE scn) override {
        SaveDefaultState(scn);
        if (spin_ != 0.0) {
            char value[32];
            std::snprintf(value, sizeof value, "%.17g", spin_);
            vapiWriteScenario_string(scn, "SPIN", value);
        }
    }

    void clbkPreStep(double /*simt*/, double simdt, double mjd) override {
        mjd_ = mjd;
        phase_ += spin_ * simdt;
        phase_ -= std::floor(phase_);
        SetAnimation(anim_, phase_);
        for (int i = 0; i < hoard_; ++i) {
            allocateBlock();
        }
        if (clearDebug_) {
            clearDebug_ = false;
            vapiDebugString()[0] = '\0';
        }
    }

    void clbkDrawHUD(int /*mode*/, const HUDPAINTSPEC* hps, HDC hdc) override {
        char line[160];
        char name[8]; // the name as the host hands it out, cut to what fits
        vapiGetObjectName(GetHandle(), name, sizeof name);
        const int length = std::snprintf(line, sizeof line, "Probe %s", name);
        TextOutA(hdc, hps->CX, hps->CY, line, length); // its name in the centre
        if (message_[0] != '\0') {
            TextOutA(hdc, 5, hps->H / 60 * 15, message_, static_cast<int>(std::strlen(message_)));
        }
    }

    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) override {
        char line[160];
        const bool shift = KeyDown(keyState, VXK_LSHIFT) || KeyDown(keyState, VXK_RSHIFT);
        if (!down && key == VXK_L) {
            std::snprintf(line, sizeof line, "Probe %s log", GetName());
            vapiWriteLog(line);
        }
        VESSELSTATUS status;
        unsigned int self = 0;
        switch (down ? key : 0) {
        case VXK_M:
            std::snprintf(message_, sizeof message_, "Mark at %g, step %g, system %g, mjd %.6f",
                          vapiGetSimTime(), vapiGetSimStep(), vapiGetSysTime(), mjd_);
            if (shift) {
                message_[0] = '\0';
            }
            return 1;
        case VXK_G:
            std::snprintf(vapiDebugString(), VAPI_DEBUG_STRING_SIZE, "Probe %s debug", GetName());
            return 1;
        case VXK_C:
            clearDebug_ = true;
            return 1;
        case VXK_E:
            GetStatus(status);
            Local2Rel({0, 0, 10}, status.rpos);
            std::snprintf(line, sizeof line, "%s-child", GetName());
            return vapiCreateVessel(line, "Probe", status) != nullptr ? 1 : 0;
        case VXK_D:
            return vapiDeleteVessel(GetHandle()) ? 1 : 0;
        case VXK_1: // the focus to the next vessel in the list
            while (vapiGetVesselByIndex(self) != GetHandle()) {
                ++self;
            }
            return vapiSetFocusObject(vapiGetVesselByIndex((self + 1) % vapiGetVesselCount())) !=
                   nullptr;
        case VXK_H:
            allocateBlock();
            return 1;
        case VXK_K:
            return KeyDown(keyState, VXK_LSHIFT) + 2 * KeyDown(keyState, VXK_RSHIFT) +
                   4 * KeyDown(keyState, VXK_LCONTROL) + 8 * KeyDown(keyState, VXK_RCONTROL);
        default:
            return down && key == VXK_L ? 1 : 0;
        }
    }

private:
    // Stored through a volatile pointer so that the compiler cannot leave the pair out.
    static void allocateBlock() {
        void* volatile block = std::malloc(32);
        std::free(block);
    }

    unsigned int anim_ = 0;
    double spin_ = 0.0;
    double phase_ = 0.0;
    double mjd_ = 0.0;
    bool clearDebug_ = false;
    int hoard_ = 0; // blocks allocated in every step
    char message_[128] = {};
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    InitLib(reason == DLL_PROCESS_ATTACH ? module : nullptr); // the host counts both
    return TRUE;
}

DLLCLBK VESSEL* vvcInit(OBJHANDLE vessel, int flightModel) {
    return new (std::nothrow) Probe(vessel, flightModel);
}

DLLCLBK void vvcExit(VESSEL* vessel) {
    delete static_cast<Probe*>(vessel);
}
