// The Spacedock console: six keys and the one HUD line that answers them. Shift and Ctrl
// belong to the host's own key bindings, so E, 1, 2 and A are left to the host while either is
// held; the information keys S and C answer whatever is held.
#include <cstdio>
#include <cstring>

#include "host/Vantrix.h"
#include "vessel/Halcyra.h"

namespace {

// Longest roster name the console asks about, with room to spare for a terminator.
constexpr int kAskedNameSize = 64;

} // namespace

void halcyra::SendSelectedMember() {
    // A copy: a successful departure rearranges the roster slot the name came from.
    char asked[kAskedNameSize];
    std::snprintf(asked, sizeof asked, "%s", crew.GetCrewNameBySlot(selectedSlot));
    const int32_t result = crew.EvaCrewMember(asked);
    char* message = GetHudMessageBuffer();
    switch (result) {
    case -6:
        std::snprintf(message, kHudMessageSize, "%s", "Misc error with CKIT - Please reinstall.");
        break;
    case -5:
        std::snprintf(message, kHudMessageSize, "%s",
                      "Error: Docked ship do not use CKIT 2.0.  Please ask author to add it.");
        break;
    case -4:
        std::snprintf(message, kHudMessageSize,
                      "Error: No one by this name in Spacedock area.  Repeat, %s please report "
                      "to information kiosk...",
                      asked);
        break;
    case -3:
        std::snprintf(message, kHudMessageSize, "%s",
                      "Error: Docked ship is already full.  Please contact the appropriate "
                      "personnel already aboard.");
        break;
    case -2:
        std::snprintf(message, kHudMessageSize, "%s",
                      "Error: Docked ship's airlock is closed.  Unable to board.");
        break;
    case -1:
        std::snprintf(message, kHudMessageSize, "%s", "Error: Airlock is closed.  Unable to EVA.");
        break;
    case 0:
        std::snprintf(message, kHudMessageSize, "%s",
                      "Error: No qualified personnel in Spacedock area.  Unable to EVA.");
        break;
    case 1:
        std::snprintf(message, kHudMessageSize,
                      "EVA OK - %s commencing spacewalk.  All traffic, be advised.",
                      crew.GetLastLeftName());
        selectedSlot = 0;
        break;
    case 2:
        std::snprintf(message, kHudMessageSize,
                      "Airlock pressure stable - %s is boarding the docked ship.  Caution, tow "
                      "line ends at airlock inner door...",
                      crew.GetLastLeftName());
        selectedSlot = 0;
        break;
    default:
        // The crew manager gives no other answer; the line keeps its last text.
        break;
    }
}

void halcyra::ShowSelection(bool next) {
    const int32_t count = crew.GetCrewCount();
    if (count == 0) {
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize, "%s",
                      "No personnel available in Spacedock area - Please add to roster.  Trams "
                      "to Hab Section are standing by.");
        return;
    }
    if (next && selectedSlot < count - 1) {
        ++selectedSlot;
    } else if (!next && selectedSlot > 0) {
        --selectedSlot;
    }
    const char* miscId = crew.GetCrewMiscIdBySlot(selectedSlot);
    const char* name = crew.GetCrewNameBySlot(selectedSlot);
    const int32_t age = crew.GetCrewAgeBySlot(selectedSlot);
    // The two keys were worded apart from the start, and users know them that way.
    if (next) {
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize,
                      "Position %i  %s \"%s\" aged %i Selected for EVA or Transfer - Press "
                      "\"E\" to EVA.",
                      selectedSlot, miscId, name, age);
    } else {
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize,
                      "Slot %i %s \"%s\" aged %i Selected for EVA or Transfer, please press "
                      "\"E\" to EVA",
                      selectedSlot, miscId, name, age);
    }
}

int halcyra::clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) {
    if (!down) {
        return 0;
    }
    switch (key) {
    case VXK_E:
    case VXK_1:
    case VXK_2:
    case VXK_A:
        if (ShiftOrCtrlDown(keyState)) {
            return 0;
        }
        break;
    case VXK_S:
    case VXK_C:
        break;
    default:
        return 0;
    }

    switch (key) {
    case VXK_E:
        SendSelectedMember();
        break;
    case VXK_1:
        ShowSelection(true);
        break;
    case VXK_2:
        ShowSelection(false);
        break;
    case VXK_A: {
        crew.SetAirlockState(crew.GetAirlockState() == 0 ? 1 : 0);
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize, "%s",
                      crew.GetAirlockState() == 1 ? "Airlock is now open"
                                                  : "Airlock is now closed");
        break;
    }
    case VXK_S: {
        const int32_t count = crew.GetCrewCount();
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize,
                      "Currently %i personnel available in %s Spacedock, with %i positions "
                      "available.",
                      count, GetName(), kSpacedockSeats - count);
        break;
    }
    default: // VXK_C
        crew.SetEvaMesh("mmu");
        std::snprintf(GetHudMessageBuffer(), kHudMessageSize, "%s", "Mesh changed");
        break;
    }
    return 1;
}

void halcyra::clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) {
    VESSEL2::clbkDrawHUD(mode, hps, hdc);
    if (hudMessageTimer > 0.0) {
        const int y = (hps != nullptr ? hps->H / 60 : 0) * 15;
        TextOutA(hdc, 5, y, hudMessage, static_cast<int>(std::strlen(hudMessage)));
        hudMessageTimer -= vapiGetSimStep();
        if (hudMessageTimer < 0.0) {
            hudMessageTimer = 0.0;
        }
    }
}
