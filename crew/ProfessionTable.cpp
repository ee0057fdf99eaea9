#include "crew/ProfessionTable.h"

#include <cstdio>
#include <cstring>

#include "host/CrewKit.h"
#include "platform/WinApi.h"

char professionKeys[kProfessionCapacity][kProfessionKeySize];
char professionMeshes[kProfessionCapacity][kProfessionTextSize];
char professionNames[kProfessionCapacity][kProfessionTextSize];
int32_t identityCount;

namespace {

// Room the splitter works in: far more than any name a folder search can give.
constexpr std::size_t kNameRoom = 1024;
constexpr std::size_t kLongestMeshPart = 18; // "ckit/" and 18 characters fill 23 of 24
constexpr std::size_t kShortestKey = 2;
constexpr std::size_t kLongestKey = kProfessionKeySize - 1;
constexpr std::size_t kLongestProfession = kProfessionTextSize - 1;
// With more entries than this after the files, the built-ins are left out.
constexpr int32_t kMostEntriesWithBuiltins = 14;

struct BuiltinIdentity {
    const char* key;        // the tag that selects it
    const char* profession; // kept with the entry; the lookup does not read it
    const char* mesh;       // what the EVA vessel wears
};

// In order of precedence among themselves; files come before all of them.
constexpr BuiltinIdentity kBuiltins[] = {
    {"Capt", "pilot", "ckit/ckitp"},
    {"Ast", "astronaut", "ckit/ckit"},
    {"Sec", "security", "ckit/ckitSEC"},
    {"Vip", "vip", "ckit/ckitVIP"},
    {"Sci", "scientist", "ckit/ckitSCI"},
    {"Bio", "biologist", "ckit/ckitSCI"},
    {"Doc", "doctor", "ckit/ckitMED"},
    {"Geo", "geologist", "ckit/ckitSCI"},
    {"Exo", "exobiologist", "ckit/ckitSCI"},
    {"Clim", "climatologist", "ckit/ckitSCI"},
    {"APhy", "astrophysicist", "ckit/ckitSCI"},
    {"Chem", "chemist", "ckit/ckitSCI"},
    {"Eng", "engineer", "ckit/ckitTECH"},
    {"Min", "miner", "ckit/ckitTECH"},
    {"Tech", "technician", "ckit/ckitTECH"},
    {"Spe", "mission specialist", "ckit/ckitTECH"},
};
constexpr int32_t kBuiltinCount = static_cast<int32_t>(sizeof kBuiltins / sizeof kBuiltins[0]);
static_assert(1 + 13 + kBuiltinCount <= kProfessionCapacity);
static_assert(kIdentityScanLimit <= kProfessionCapacity);

// Stores one entry at identityCount. Every text is cut to its column, so no entry can spill
// into the next one.
void AppendEntry(const char* key, const char* mesh, const char* profession) {
    std::snprintf(professionKeys[identityCount], kProfessionKeySize, "%s", key);
    std::snprintf(professionMeshes[identityCount], kProfessionTextSize, "%s", mesh);
    std::snprintf(professionNames[identityCount], kProfessionTextSize, "%s", profession);
    ++identityCount;
}

} // namespace

bool ParseIdentityFileName(const char* fileName, char key[kProfessionKeySize],
                           char meshName[kProfessionTextSize],
                           char profession[kProfessionTextSize]) {
    std::memset(key, 0, kProfessionKeySize);
    std::memset(meshName, 0, kProfessionTextSize);
    std::memset(profession, 0, kProfessionTextSize);
    if (fileName == nullptr) {
        return false;
    }
    // A zeroed copy, always terminated, so every search below ends inside it.
    char name[kNameRoom] = {};
    std::memcpy(name, fileName, strnlen(fileName, kNameRoom - 1));

    char* const meshPart = name;
    char* const firstDash = std::strchr(meshPart, '-');
    if (firstDash == nullptr) {
        return false;
    }
    *firstDash = '\0';
    if (std::strlen(meshPart) > kLongestMeshPart) {
        return false;
    }
    char* const professionPart = firstDash + 1;
    char* const secondDash = std::strchr(professionPart, '-');
    if (secondDash == nullptr) {
        return false;
    }
    *secondDash = '\0';
    char* const keyPart = secondDash + 1;
    char* const dot = std::strchr(keyPart, '.');
    if (dot == nullptr) {
        return false;
    }
    *dot = '\0';
    const std::size_t keyLength = std::strlen(keyPart);
    if (keyLength < kShortestKey || keyLength > kLongestKey) {
        return false;
    }
    std::snprintf(meshName, kProfessionTextSize, "ckit/%.*s", static_cast<int>(kLongestMeshPart),
                  meshPart);
    std::memcpy(profession, professionPart, strnlen(professionPart, kLongestProfession));
    std::memcpy(key, keyPart, keyLength);
    return true;
}

void LoadCrewIdentityConfig() {
    // Only entries below identityCount may be non-zero, whatever an earlier fill left.
    std::memset(professionKeys, 0, sizeof professionKeys);
    std::memset(professionMeshes, 0, sizeof professionMeshes);
    std::memset(professionNames, 0, sizeof professionNames);
    identityCount = 0;
    // Its empty key never matches; it keeps the table from starting with an empty mesh name.
    AppendEntry("", "ckit/ckit", "passenger");

    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(crewkit::kIdentityPattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (identityCount >= kIdentityScanLimit) {
                break;
            }
            char key[kProfessionKeySize] = {};
            char mesh[kProfessionTextSize] = {};
            char profession[kProfessionTextSize] = {};
            // Only the name declares an identity; the file itself is never opened.
            if (ParseIdentityFileName(found.cFileName, key, mesh, profession)) {
                AppendEntry(key, mesh, profession);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        if (identityCount > kMostEntriesWithBuiltins) {
            return;
        }
    }
    for (const BuiltinIdentity& builtin : kBuiltins) {
        AppendEntry(builtin.key, builtin.mesh, builtin.profession);
    }
}
