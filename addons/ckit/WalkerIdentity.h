// Who a vessel of the walking-crew class is: what its name says it is, and the person it
// carries, learnt from the EVA exchange file written just before it was created.
#pragma once

#include <cstddef>

namespace ckit {

// What a vessel's name makes of it.
enum class WalkerKind {
    Person,   // "CKit_" + member label: a person walking, with a crew data point of its own
    Transfer, // "CKitT" + receiver: a person on the way across; the sender adds the data point
    Plain     // anything else: only the class's own point for parents
};

WalkerKind ClassifyWalker(const char* name);

inline constexpr std::size_t kMeshNameSize = 40; // 38 characters as the record holds them

// One person's data as the walking vessel keeps it.
struct WalkerIdentity {
    int age;                  // years, as the record or the scenario gave it
    int pulse;                // beats per minute, as given
    int weight;               // kilograms, as given
    char mesh[kMeshNameSize]; // mesh name, never empty, always terminated
    std::size_t labelLength;  // characters of the name after "CKit_" that are the label
                              // (a collision number after them is not part of it)
};

// The values of someone nobody has told the vessel about.
WalkerIdentity NeutralIdentity(const char* ownName);

// True when a record's vessel name (spaces kept) names the vessel ownName: the same with
// spaces as underscores, or that followed by a decimal number the host appended to make the
// name free. labelLength gets the matched part's length after the five-character prefix.
bool RecordNamesVessel(const char* recordName, std::size_t recordSize, const char* ownName,
                       std::size_t* labelLength);

// Reads the exchange file at path; identity gets the record's person when the record names
// ownName, else neutral values (also when the file is missing or short).
// Returns true when the record named the vessel.
bool ReadWalkerIdentity(const char* path, const char* ownName, WalkerIdentity& identity);

// The HUD line of a person: "Name (Tag) aged N - arrows walk, PgUp/PgDn climb", the name
// and tag taken from the label part of ownName with underscores as spaces. Returns the length
// written (the text is cut to fit size).
int FormatWalkerLine(char* out, std::size_t size, const char* ownName, std::size_t labelLength,
                     int age);

} // namespace ckit
