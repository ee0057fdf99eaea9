// The crew manager: the roster of the people aboard a vessel, its airlock and seat limit,
// and the vessel's empty mass kept in step with the crew. One lives by value inside every
// vessel that carries people; it allocates nothing and has no virtual operations.
#pragma once

#include <cstdint>

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
};
