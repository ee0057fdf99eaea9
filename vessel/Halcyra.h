// The colony vessel: the host's VESSEL2 plus the Spacedock's roster and console state.
#pragma once

#include <cstdint>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"

// The HUD status line: up to 255 characters and a terminating zero.
inline constexpr int kHudMessageSize = 256;
// How long a new HUD message is shown, seconds of simulation time.
inline constexpr double kHudMessageSeconds = 30.0;
// Seats of the Spacedock: the crew manager's limit, and the figure the console counts from.
inline constexpr int kSpacedockSeats = 50;

// VESSEL2 has no virtual destructor: a halcyra is destroyed through its own type only.
class halcyra final : public VESSEL2 {
public:
    halcyra(OBJHANDLE hVessel, int flightModel);

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) override;
    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) override;

    // Creates the two habitat rotations and notes their ids.
    void DefineAnimations();
    // Key E: sends the selected member out and shows the crew manager's answer.
    void SendSelectedMember();
    // Keys 1 (next) and 2 (previous): moves the selection within the roster and shows it.
    void ShowSelection(bool next);

    // The HUD line, for writing: every text shown there is written through this, so each new
    // message is shown for the full time from the moment it is written.
    char* GetHudMessageBuffer() {
        hudMessageTimer = kHudMessageSeconds;
        return hudMessage;
    }

    std::uint32_t fastRotationAnim = 0; // animation of the seven fast habitat groups
    std::uint32_t slowRotationAnim = 0; // animation of the one slow group
    double fastRotationPhase = 0.0;     // state of fastRotationAnim, 0..1
    double slowRotationPhase = 0.0;     // state of slowRotationAnim, 0..1
    CrewManager crew{};                 // blank (all zero) until clbkSetClassCaps sets it up
    char hudMessage[kHudMessageSize] = {};
    double hudMessageTimer = 0.0;  // seconds the HUD line is still shown; 0 hides it
    std::int32_t selectedSlot = 0; // roster slot selected on the Spacedock console
};
