// The docking ship "Tender": a small ship with a four-seat cabin on the same crew manager as
// the colony, so that crew can cross between the two through their docks.
#pragma once

#include <cstdint>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"

namespace tender {

inline constexpr int kDefaultSeats = 4;
inline constexpr int kMessageSize = 128;        // the HUD line, terminator included
inline constexpr double kMessageSeconds = 30.0; // how long an answer stays on the HUD
// Crew lines held while the block is read: no seat limit takes more than the roster holds.
inline constexpr int kKeptLineCount = kRosterSize;
// A kept line, terminator included; a longer crew line goes to the host's parser as it is.
inline constexpr int kKeptLineSize = 256;

class Tender final : public VESSEL2 {
public:
    Tender(OBJHANDLE vessel, int flightModel);

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPostCreation() override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) override;
    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) override;

    // The HUD line, for writing; each new answer is shown for the full time.
    char* Message() {
        messageTimer = kMessageSeconds;
        return message;
    }

    CrewManager crew{};        // blank until the crew is set up; stays blank with NOCREW
    bool crewSetUp = false;    // the set-up below has run (once per vessel)
    bool noCrew = false;       // NOCREW: no crew manager, so no crew point is published
    bool airlockOpen = true;   // the airlock state the crew is set up with
    int seats = kDefaultSeats; // seat limit, 1 .. the roster size
    bool blockRead = false;    // the block had at least one line: its crew lines are the roster
    int keptLineCount = 0;     // crew lines kept from the block, 0 .. kKeptLineCount
    char keptLines[kKeptLineCount][kKeptLineSize] = {}; // the kept crew lines, in file order
    char message[kMessageSize] = {};                    // the last answer, always terminated
    double messageTimer = 0.0;                          // seconds the HUD line is still shown
    std::int32_t selectedSlot = 0;                      // roster slot selected for EVA or transfer

private:
    // Sets the crew manager up as the block (or its absence) asks, then offers it the kept
    // crew lines; those it refuses (or all of them after NOCREW) go on to the host's parser
    // with status. Runs once; later calls do nothing.
    void setUpCrew(void* status);
    // Claims the tender's own scenario lines; false for any other line.
    bool parseOwnLine(const char* line);
    void sendSelectedMember();
    void showSelection(bool next);
};

} // namespace tender
