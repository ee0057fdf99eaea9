#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crew/CrewManager.h"

namespace {

constexpr char kCrewKey[] = "CKITCREW";
constexpr std::size_t kCrewKeyLength = sizeof kCrewKey - 1;
// Room of the value word being written and of the one being read. A word read from a line
// that is longer than the read room is cut to it: the fields a member needs all lie within
// its first few dozen characters, so a cut word still reads the same member, or is refused.
constexpr std::size_t kWriteWordSize = 300;
constexpr std::size_t kReadWordSize = 400;
// Each number field is read from at most this many characters.
constexpr std::size_t kNumberFieldLength = 5;
constexpr std::size_t kStoredNameLength = 25;
constexpr std::size_t kStoredTagLength = 4;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithCrewKey(const char* line) {
    for (std::size_t i = 0; i < kCrewKeyLength; ++i) {
        if (AsciiUpper(line[i]) != kCrewKey[i]) {
            return false; // also at the terminator of a short line
        }
    }
    return true;
}

// The number in the field after the dash at `dash`: at most five characters, cut at the next
// dash, read as atoi reads. False when there is no such dash.
bool ReadNumberField(const char* dash, int32_t& value) {
    if (dash == nullptr) {
        return false;
    }
    char field[kNumberFieldLength + 1] = {};
    std::memcpy(field, dash + 1, strnlen(dash + 1, kNumberFieldLength));
    if (char* cut = std::strchr(field, '-')) {
        *cut = '\0';
    }
    value = static_cast<int32_t>(std::atoi(field));
    return true;
}

} // namespace

int32_t CrewManager::SaveCrewState(FILEHANDLE scenario) const {
    if (!IsReady() || crewCount < 1 || scenario == nullptr) {
        return 0;
    }
    for (int32_t slot = 0; slot < crewCount; ++slot) {
        const CrewRecord& member = roster[slot];
        char word[kWriteWordSize] = {};
        std::snprintf(word, sizeof word, "%.*s-%.*s-%i-%i-%i", static_cast<int>(kStoredTagLength),
                      member.miscId, static_cast<int>(kStoredNameLength), member.name, member.age,
                      member.pulse, static_cast<int>(member.weight));
        // The host's scenario lines split at blanks: the whole word, tag included, has none.
        for (char* c = word; *c != '\0'; ++c) {
            if (*c == ' ') {
                *c = '_';
            }
        }
        vapiWriteScenario_string(scenario, kCrewKey, word);
    }
    return 1;
}

int32_t CrewManager::ParseCrewScenarioLine(const char* line) {
    if (!IsReady() || line == nullptr) {
        return 0;
    }
    if (loadedLineCount == -1) {
        // The first line of the vessel's block, whatever it holds: the saved crew replaces
        // the default one, so an empty saved roster stays empty.
        if (vesselHandle != nullptr) {
            vapiSetEmptyMass(vesselHandle, vapiGetEmptyMass(vesselHandle) - crewMass);
        }
        std::memset(roster, 0, sizeof roster);
        crewMass = 0.0;
        crewCount = 0;
        loadedLineCount = 0;
        Link().LinkSetFreeSeats(maxSeats);
        Link().LinkSetAuxiliaryCount(0);
    }
    if (crewCount >= maxSeats || !StartsWithCrewKey(line)) {
        return 0;
    }
    const char* start = line + kCrewKeyLength;
    while (IsBlank(*start)) {
        ++start;
    }
    std::size_t length = 0;
    while (length < kReadWordSize - 1 && start[length] != '\0' && !IsBlank(start[length])) {
        ++length;
    }
    char word[kReadWordSize] = {};
    std::memcpy(word, start, length);

    CrewRecord& member = roster[crewCount];
    if (word[0] != '-') {
        std::memcpy(member.miscId, word, strnlen(word, kStoredTagLength));
        if (char* cut = std::strchr(member.miscId, '-')) {
            *cut = '\0';
        }
    }
    bool ok = false;
    const char* nameDash = std::strchr(word, '-');
    if (nameDash != nullptr) {
        std::memcpy(member.name, nameDash + 1, strnlen(nameDash + 1, kStoredNameLength));
        if (char* cut = std::strchr(member.name, '-')) {
            *cut = '\0';
        }
        for (char* c = member.name; *c != '\0'; ++c) {
            if (*c == '_') {
                *c = ' ';
            }
        }
        SanitizeCrewName(member.name);
        const char* ageDash = std::strchr(nameDash + 1, '-');
        const char* pulseDash = ageDash != nullptr ? std::strchr(ageDash + 1, '-') : nullptr;
        const char* weightDash = pulseDash != nullptr ? std::strchr(pulseDash + 1, '-') : nullptr;
        int32_t weight = 0;
        ok = member.name[0] != '\0' && ReadNumberField(ageDash, member.age) && member.age >= 1 &&
             member.age <= 140 && ReadNumberField(pulseDash, member.pulse) && member.pulse >= 1 &&
             member.pulse <= 180 && ReadNumberField(weightDash, weight) && weight >= 5 &&
             weight <= 300;
        member.weight = static_cast<double>(weight);
    }
    if (!ok) {
        std::memset(&member, 0, sizeof member);
        return 0;
    }
    ++loadedLineCount;
    Link().LinkSetFreeSeats(maxSeats - (crewCount + 1));
    MoveCrewMass(crewMass + member.weight);
    ++crewCount;
    crewMass += member.weight;
    return 1;
}
