// The crew link record: what a vessel publishes to every other vessel about its airlock and
// its free seats, and the crew attachment point "CKit" that carries it. The point's three
// vectors hold nine numbers; their layout is shared by every vessel that carries people, so
// readers in other modules can rely on it:
//   position  (xmin, xmax, ymin)   of the airlock box, vessel frame, metres
//   direction (ymax, zmin, zmax)
//   rotation  (airlock state 0/1, auxiliary count, free seats)
#pragma once

#include <cstdint>

#include "host/Vantrix.h"

struct CrewLinkRecord {
    uint32_t transferDock;       // own dock whose docked vessel an EVA examines; always 0
    OBJHANDLE arrivedVessel;     // the arriving walking-crew vessel, or null
    int32_t deleteOnDetect;      // arrival intake flag; 0 from the airlock definition on
    VESSEL* vessel;              // own vessel interface; null leaves the record unbound
    double pollTimer;            // seconds accumulated towards the next arrival poll
    OBJHANDLE vesselHandle;      // own vessel
    ATTACHMENTHANDLE attachment; // the crew point; null until the airlock is first defined
    int32_t evaOnly;             // EVA mode switch; nothing sets it
    int32_t airlockDefined;      // 1 once an airlock definition was accepted
    uint32_t airlockState;       // 0 closed, 1 open; nothing else is ever stored
    float airlockBox[6];         // xmin, xmax, ymin, ymax, zmin, zmax
    char arrivalName[40];        // arriving vessel's name: 5-character prefix, then the member
    int32_t arrivalAge;          // last arrival's age, years
    int32_t arrivalPulse;        // last arrival's pulse, beats per minute
    int32_t arrivalWeight;       // last arrival's weight, kilograms
    int32_t auxiliaryCount;      // second published count: 1000 until first republished, then 0
    int32_t freeSeats;           // seat limit minus the crew aboard
    int32_t evaFileValue;        // copied into the EVA exchange file; nothing sets it

    // Clears the record for a new owner and binds it to the vessel: 1 bound, -999 crew
    // library missing, -1 null handle or no vessel interface.
    int32_t LinkReset(OBJHANDLE vesselHandle);

    // Publishing. Each returns 1 on success and -1 when refused, leaving the record as it was.
    int32_t LinkDefineAirlock(uint32_t state, float xmin, float xmax, float ymin, float ymax,
                              float zmin, float zmax);
    int32_t LinkSetAirlockState(uint32_t state);
    int32_t LinkSetAuxiliaryCount(int32_t count);
    int32_t LinkSetFreeSeats(int32_t count);
    // Free seats published by the vessel docked at an own dock; -1 when nothing is docked
    // there, it publishes no crew point, or the own airlock is not yet defined.
    int32_t LinkReadDockedFreeSeats(uint32_t dock) const;
    // The stored airlock state, or -1 while the point is not published.
    int32_t LinkGetAirlockState() const;

    // The arrival intake's accessors.
    void LinkGetArrivalName(char* destination, int32_t maximum) const;
    int32_t LinkGetArrivalAge() const { return arrivalAge; }
    int32_t LinkGetArrivalPulse() const { return arrivalPulse; }
    int32_t LinkGetArrivalWeight() const { return arrivalWeight; }
    OBJHANDLE LinkGetArrivedVessel() const { return arrivedVessel; }
    // -1 (nothing stored) until the airlock is defined, else 1.
    int32_t LinkSetDeleteOnDetect(int32_t flag);

    // Creates the vessel that carries a leaving member: on foot outside the own airlock (1),
    // or, with a vessel docked at transferDock, a transfer vessel in its airlock (2; 3 when
    // the host gives no interface for it). -1 the docked vessel has no crew point, -2 all its
    // crew points are closed, -3 the own or the docked vessel's interface is missing.
    int32_t CreateEvaVessel(const char* label, int32_t age, int32_t supply, int32_t pulse,
                            int32_t weight, const char* mesh, VECTOR3 exitPosition,
                            VECTOR3 exitRotation);
    // The transfer route of CreateEvaVessel, for the vessel docked at transferDock.
    int32_t CreateTransferVessel(OBJHANDLE docked, const char* label, int32_t age, int32_t supply,
                                 int32_t pulse, int32_t weight, VECTOR3 exitRotation);
    // Polls for arrivals every 0.25 s of simulation time: 1 a walking member is in the
    // airlock, 2 a transfer vessel for this vessel was read, 0 nothing or not yet time, -3 no
    // vessel interface or handle.
    int32_t ScanForArrivals();

private:
    void Publish() const;
};

// Records in the module-wide table; a record is never handed back.
inline constexpr int32_t kCrewLinkCount = 100;

// Module-wide: one record per crew manager initialised in this run of the module, and how
// many have been handed out (never decreasing).
extern CrewLinkRecord crewLinkTable[kCrewLinkCount];
extern int32_t crewLinkCounter;

// Module-wide mesh name of the next EVA vessel; "ckit/ckit" until a departure sets it.
extern char currentEvaMesh[200];

// Turns a vessel by three angles (radians) in its own frame.
void ApplyEvaRotation(VECTOR3 angles, OBJHANDLE vessel);

// Finds the first point for children of a vessel whose id is exactly "CKit" (all five bytes);
// with openOnly, the first such point whose airlock is open. Null when there is none.
ATTACHMENTHANDLE FindCrewPoint(const VESSEL& vessel, bool openOnly);
