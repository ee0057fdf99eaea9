// The profession mesh table: which mesh a person's EVA vessel wears, chosen by the person's
// tag. Filled once per module life from the names of the crew identity files, then from the
// built-in entries; read by the EVA.
#pragma once

#include <cstdint>

inline constexpr int32_t kProfessionCapacity = 255; // places in each column
inline constexpr int32_t kProfessionKeySize = 5;    // up to 4 characters and the terminator
inline constexpr int32_t kProfessionTextSize = 25;  // up to 24 characters and the terminator
// The scan of identity files stops once the table holds this many entries.
inline constexpr int32_t kIdentityScanLimit = 253;

// Module-wide, all zero at module load. Entries 0 .. identityCount-1 are in use; an empty
// mesh name ends the table for the lookup.
extern char professionKeys[kProfessionCapacity][kProfessionKeySize];
extern char professionMeshes[kProfessionCapacity][kProfessionTextSize];
extern char professionNames[kProfessionCapacity][kProfessionTextSize];
extern int32_t identityCount;

// Splits an identity file name "MESH-PROFESSION-KEY.rest" into its parts: the mesh name
// "ckit/MESH" (MESH at most 18 characters), the profession cut to 24 characters and the key
// (2 to 4 characters). Returns false, with the outputs unspecified, for a name to skip.
bool ParseIdentityFileName(const char* fileName, char key[kProfessionKeySize],
                           char meshName[kProfessionTextSize],
                           char profession[kProfessionTextSize]);

// Fills the table: entry 0, the identity files in the order the search returns them, then
// the built-ins unless the files gave more than 13 entries. Called once per module life.
void LoadCrewIdentityConfig();
