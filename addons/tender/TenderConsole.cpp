// The tender's keys and HUD line: the colony's crew keys (1, 2, E, A, refused while Shift or
// Ctrl is held) with short answers of the tender's own.
#include <cstdio>
#include <cstring>

#include "addons/tender/Tender.h"

namespace tender {

namespace {

// What the tender says when the crew manager will not let a member go.
const char* RefusalText(int32_t result) {
    switch (result) {
    case 0:
        return "Tender: nobody aboard";
    case -1:
        return "Tender: airlock closed";
    case -2:
        return "Tender: the docked ship's airlock is closed";
    case -3:
        return "Tender: the docked ship is full";
    case -4:
        return "Tender: no one by that name aboard";
    case -5:
        return "Tender: the docked ship takes no crew";
    default:
        return "Tender: crew library not ready";
    }
}

} // namespace

void Tender::sendSelectedMember() {
    char asked[kKeptLineSize];
    std::snprintf(asked, sizeof asked, "%s", crew.GetCrewNameBySlot(selectedSlot));
    const int32_t result = crew.EvaCrewMember(asked);
    if (result == 1) {
        std::snprintf(Message(), kMessageSize, "Tender: %s out on EVA", crew.GetLastLeftName());
    } else if (result == 2) {
        std::snprintf(Message(), kMessageSize, "Tender: %s crossed into the docked ship",
                      crew.GetLastLeftName());
    } else {
        std::snprintf(Message(), kMessageSize, "%s", RefusalText(result));
        return;
    }
    selectedSlot = 0;
}

void Tender::showSelection(bool next) {
    const int32_t count = crew.GetCrewCount();
    if (count == 0) {
        std::snprintf(Message(), kMessageSize, "%s", "Tender: nobody aboard");
        return;
    }
    if (next && selectedSlot < count - 1) {
        ++selectedSlot;
    } else if (!next && selectedSlot > 0) {
        --selectedSlot;
    }
    std::snprintf(Message(), kMessageSize, "Tender: slot %i %s selected", selectedSlot,
                  crew.GetCrewNameBySlot(selectedSlot));
}

int Tender::clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) {
    if (!down || (key != VXK_E && key != VXK_1 && key != VXK_2 && key != VXK_A) ||
        ShiftOrCtrlDown(keyState)) {
        return 0;
    }
    if (noCrew) {
        std::snprintf(Message(), kMessageSize, "%s", "Tender: no crew cabin");
        return 1;
    }
    switch (key) {
    case VXK_E:
        sendSelectedMember();
        break;
    case VXK_1:
        showSelection(true);
        break;
    case VXK_2:
        showSelection(false);
        break;
    default: // VXK_A
        crew.SetAirlockState(crew.GetAirlockState() == 0 ? 1 : 0);
        std::snprintf(Message(), kMessageSize, "%s",
                      crew.GetAirlockState() == 1 ? "Tender: airlock open"
                                                  : "Tender: airlock closed");
        break;
    }
    return 1;
}

void Tender::clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) {
    VESSEL2::clbkDrawHUD(mode, hps, hdc);
    if (messageTimer <= 0.0 || hps == nullptr) {
        return;
    }
    TextOutA(hdc, 5, hps->H / 60 * 15, message, static_cast<int>(std::strlen(message)));
    messageTimer -= vapiGetSimStep();
    if (messageTimer < 0.0) {
        messageTimer = 0.0;
    }
}

} // namespace tender
