// The crew exchange record: one person, as the vessel that carries the person next learns of
// it, through a small binary file in the host's configuration folder. Any module that uses
// the crew library may write or read these files, so the layout is fixed to the byte:
// 104 bytes, no padding, integers little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

struct CrewExchangeRecord {
    char vesselName[40]; // "CKit_" + member label, at most 38 characters, zero-terminated
    char mesh[40];       // EVA vessel's mesh, at most 38 characters; ignored in transfers
    int32_t age;         // years, 0 to 120 (written as 41 when outside)
    int32_t pulse;       // 0 to 140 (written as 60 when outside)
    int32_t supply;      // 0 to 4000 (written as 100 when outside)
    int32_t weight;      // kilograms, truncated toward zero
    int32_t reserved;    // always 0
    int32_t linkValue;   // sender's evaFileValue in the EVA file; 0 in the transfer file
};

static_assert(sizeof(CrewExchangeRecord) == 104);
static_assert(offsetof(CrewExchangeRecord, mesh) == 40);
static_assert(offsetof(CrewExchangeRecord, age) == 80);
static_assert(offsetof(CrewExchangeRecord, pulse) == 84);
static_assert(offsetof(CrewExchangeRecord, supply) == 88);
static_assert(offsetof(CrewExchangeRecord, weight) == 92);
static_assert(offsetof(CrewExchangeRecord, reserved) == 96);
static_assert(offsetof(CrewExchangeRecord, linkValue) == 100);

// Module-wide, zero at load: writers fill it and write it whole; the reader reads into it.
extern CrewExchangeRecord crewExchangeBuffer;

// Writes the buffer to a file ("wb"); false when it cannot be written (callers go on).
bool WriteCrewExchangeFile(const char* path);
// Reads one record into the buffer ("rb"); false, with the buffer unchanged, when the file
// cannot be opened or is short.
bool ReadCrewExchangeFile(const char* path);
