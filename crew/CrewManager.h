// The crew manager: the roster of the people aboard a vessel, its airlock and seat limit,
// and the vessel's empty mass kept in step with the crew. One lives by value inside every
// vessel that carries people; it allocates nothing and has no virtual operations.
#pragma once

#include <cstdint>

#include "crew/CrewLink.h"
#include "host/Vantrix.h"

// One roster slot.
struct CrewRecord {
    char name[40];  // at most 25 characters: ASCII letters, digits and spaces only
    int32_t age;    // years, 1 to 140
    int32_t pulse;  // beats per minute, 0 to 180; 0 marks a casualty
    double weight;  // kilograms, a whole number from 5 to 300
    char miscId[8]; // tag such as "Capt", at most 4 characters, may be empty
};

// Size of the roster: no seat limit is ever above it.
inline constexpr int kRosterSize = 100;

struct CrewManager {
    CrewRecord roster[kRosterSize]; // members in slots 0 .. crewCount-1, in no order
    uint32_t readyFlags;            // 1: initialised, 2: airlock defined; ready when 3
    int32_t crewCount;              // members aboard, 0 .. maxSeats
    int32_t maxSeats;               // seat limit, 1 .. 100
    double crewMass;                // sum of the members' weights; all of it is in the empty mass
    int32_t loadedLineCount;        // -1 until the first scenario line, then crew lines taken
    int32_t airlockStateCopy;       // 1 open, 0 closed, -1 not published
    int32_t evaSupply;              // handed to every EVA vessel; never changed
    char evaMesh[151];              // mesh of EVA vessels, at most 150 characters
    VECTOR3 evaExitPosition;        // where a person leaving on foot appears, vessel frame, m
    VECTOR3 evaExitRotation;        // turn applied to the EVA vessel, radians
    char emptyText[2];              // "", what failed text queries return
    char lastLeftName[50];          // who last left by EVA or transfer, at most 49 characters
    char lastArrivedName[50];       // who last came aboard, at most 25 characters
    OBJHANDLE vesselHandle;         // the own vessel
    int32_t linkIndex;              // this manager's record in the crew link table, 0 .. 99
    double warningUntil;            // system time until which the version warning runs
    int32_t libraryOutdated;        // 1 when the crew library is older than 2.0 or unreadable

    // --- Set-up, in the order a vessel calls it ------------------------------------------------
    // 1 initialised; -1 null handle or no vessel interface; -999 crew library file missing.
    int32_t InitCrewManager(OBJHANDLE vessel);
    // state 1 open, 0 closed; the box in the vessel's frame. 1 accepted (now ready), 0 refused.
    int32_t DefineAirlockShape(uint32_t state, float xmin, float xmax, float ymin, float ymax,
                               float zmin, float zmax);
    int32_t SetMembersPosRotOffset(VECTOR3 position, VECTOR3 rotation); // 1 set, 0 refused
    int32_t SetMaxSeats(int32_t seats);                                 // 1 set, 0 refused
    int32_t SetEvaMesh(const char* mesh);                               // 1 set, 0 refused

    // --- Roster ----------------------------------------------------------------------------------
    // Out-of-range values are clamped; 1 added, 0 refused (not ready, full, null name).
    int32_t AddCrewMember(const char* name, int32_t age, int32_t pulse, int32_t weight,
                          const char* miscId);
    // The first member of that name (ASCII case ignored); the last slot moves into the gap.
    int32_t RemoveCrewMember(const char* name); // 1 removed, 0 refused or not found

    // --- Queries: refusals give -1, an empty text, or 0 for the count --------------------------
    int32_t GetCrewCount() const;
    const char* GetCrewNameBySlot(int32_t slot) const;
    int32_t GetCrewAgeBySlot(int32_t slot) const;
    const char* GetCrewMiscIdBySlot(int32_t slot) const;
    int32_t SetCrewPulseBySlot(int32_t slot, int32_t pulse); // pulse clamped to 0..130
    int32_t GetCrewAgeByName(const char* name) const;
    // Null when the name is null or the manager is not ready.
    const char* GetCrewMiscIdByName(const char* name) const;
    const char* GetLastArrivedName() const { return lastArrivedName; }
    const char* GetLastLeftName() const { return lastLeftName; }

    // --- Airlock ---------------------------------------------------------------------------------
    int32_t SetAirlockState(uint32_t state); // 1 done (even if the state was refused), -1 not ready
    int32_t GetAirlockState();               // 1 open, 0 closed, -1 not ready or not published

    // --- Scenario lines ("CKITCREW") -------------------------------------------------------------
    int32_t SaveCrewState(FILEHANDLE scenario) const; // 1 lines written, 0 nothing written
    // 1 when the line was a crew line and its member was added. The first line offered, of
    // whatever kind, replaces the default roster by an empty one.
    int32_t ParseCrewScenarioLine(const char* line);

    // --- Leaving and arriving -------------------------------------------------------------------
    // Sends a member out by name: on foot, or into the vessel docked at the transfer dock.
    // 2 transferred, 1 gone on EVA, 0 empty roster, -1 own airlock closed, -2 docked airlocks
    // all closed, -3 docked vessel full, -4 bad or unknown name, -5 docked vessel has no crew
    // point, -6 not ready or the vessel was not created.
    int32_t EvaCrewMember(const char* name);
    // Sets currentEvaMesh from the profession table for the member's tag.
    void ChooseEvaMesh(const char* miscId);
    // Takes in a walking member in the airlock (1) or a member transferred to this vessel (2);
    // 0 nothing this step, -1 not ready. Called once per step.
    int32_t ProcessArrivals();

    // --- Crew library version --------------------------------------------------------------------
    // Shows the error line while not ready, else runs the armed 20-second warning on the
    // host's debug line. Called once per step with the add-on's display name.
    // Inline up to the test that ends it on nearly every step.
    void WarnUserIfOutdated(const char* addonName) {
        if (readyFlags == kCrewReady && !(warningUntil > 0.0)) {
            return; // not armed, or already run: the host's line belongs to others
        }
        ShowVersionWarning(addonName);
    }

    // The index of the first member of that name, or -1 (also for names over 39 characters).
    int32_t FindCrewSlot(const char* name) const;
    bool IsReady() const { return readyFlags == kCrewReady; }
    // This manager's crew link record.
    CrewLinkRecord& Link() const { return crewLinkTable[linkIndex]; }

    static constexpr uint32_t kCrewInitialised = 1;
    static constexpr uint32_t kCrewAirlockDefined = 2;
    static constexpr uint32_t kCrewReady = kCrewInitialised | kCrewAirlockDefined;

private:
    // The rest of WarnUserIfOutdated, once the line may have to be written.
    void ShowVersionWarning(const char* addonName);
    // Moves the vessel's empty mass from carrying crewMass to carrying newCrewMass; the
    // structure's own mass is read anew, so changes made elsewhere survive.
    void MoveCrewMass(double newCrewMass) const;
    void RepublishSeats() const;
};

// 1 when the crew library's module file can be opened, else -999.
int32_t CrewLibraryPresent();
// Turns every byte of a name that is not an ASCII letter or digit into a space, in place.
void SanitizeCrewName(char* name);
