#include <cstring>

#include "crew/CrewManager.h"
#include "crew/CrewText.h"

namespace {

// Names longer than this never match anybody: the lookup is refused before the walk.
constexpr std::size_t kLongestLookupName = 39;
// Room actually used in a record's name and tag.
constexpr std::size_t kStoredNameLength = 25;
constexpr std::size_t kStoredTagLength = 4;

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : (value > high ? high : value);
}

bool TooLongToMatch(const char* name) {
    return strnlen(name, kLongestLookupName + 1) > kLongestLookupName;
}

} // namespace

int32_t CrewManager::FindCrewSlot(const char* name) const {
    if (name == nullptr || TooLongToMatch(name)) {
        return -1;
    }
    for (int32_t slot = 0; slot < crewCount; ++slot) {
        if (SameTextIgnoringCase(roster[slot].name, name)) {
            return slot;
        }
    }
    return -1;
}

void CrewManager::MoveCrewMass(double newCrewMass) const {
    if (vesselHandle == nullptr) {
        return;
    }
    // The structure's mass is read anew each time, so a change made elsewhere survives.
    const double empty = vapiGetEmptyMass(vesselHandle);
    vapiSetEmptyMass(vesselHandle, (empty - crewMass) + newCrewMass);
}

int32_t CrewManager::AddCrewMember(const char* name, int32_t age, int32_t pulse, int32_t weight,
                                   const char* miscId) {
    if (!IsReady() || crewCount >= maxSeats || name == nullptr || crewCount > kRosterSize - 1) {
        return 0;
    }
    CrewRecord& member = roster[crewCount];
    std::memset(&member, 0, sizeof member);
    std::memcpy(member.name, name, strnlen(name, kStoredNameLength));
    SanitizeCrewName(member.name);
    if (miscId != nullptr) {
        std::memcpy(member.miscId, miscId, strnlen(miscId, kStoredTagLength));
    }
    member.age = Clamp(age, 1, 140);
    member.pulse = Clamp(pulse, 0, 180);
    member.weight = static_cast<double>(Clamp(weight, 5, 300));
    MoveCrewMass(crewMass + member.weight);
    ++crewCount;
    crewMass += member.weight;
    RepublishSeats();
    return 1;
}

int32_t CrewManager::RemoveCrewMember(const char* name) {
    if (name == nullptr || !IsReady() || TooLongToMatch(name) || crewCount < 1) {
        return 0;
    }
    const int32_t slot = FindCrewSlot(name);
    if (slot < 0) {
        return 0;
    }
    const double weight = roster[slot].weight;
    MoveCrewMass(crewMass - weight);
    crewMass -= weight;
    const int32_t last = crewCount - 1;
    if (slot != last) {
        // The last slot keeps its bytes: it is outside the roster now and is overwritten
        // whole by the next member added.
        CrewRecord& gap = roster[slot];
        const CrewRecord& moved = roster[last];
        std::memcpy(gap.name, moved.name, sizeof gap.name);
        std::memcpy(gap.miscId, moved.miscId, sizeof gap.miscId);
        gap.age = moved.age;
        gap.pulse = moved.pulse;
        gap.weight = moved.weight;
    }
    --crewCount;
    RepublishSeats();
    return 1;
}

int32_t CrewManager::GetCrewCount() const {
    return IsReady() ? crewCount : 0;
}

const char* CrewManager::GetCrewNameBySlot(int32_t slot) const {
    return (IsReady() && slot >= 0 && slot < crewCount) ? roster[slot].name : emptyText;
}

int32_t CrewManager::GetCrewAgeBySlot(int32_t slot) const {
    return (IsReady() && slot >= 0 && slot < crewCount) ? roster[slot].age : -1;
}

const char* CrewManager::GetCrewMiscIdBySlot(int32_t slot) const {
    return (IsReady() && slot >= 0 && slot < crewCount) ? roster[slot].miscId : emptyText;
}

int32_t CrewManager::SetCrewPulseBySlot(int32_t slot, int32_t pulse) {
    if (!IsReady() || slot < 0 || slot >= crewCount) {
        return -1;
    }
    roster[slot].pulse = Clamp(pulse, 0, 130);
    return 1;
}

int32_t CrewManager::GetCrewAgeByName(const char* name) const {
    if (name == nullptr || !IsReady()) {
        return -1;
    }
    const int32_t slot = FindCrewSlot(name);
    return slot < 0 ? -1 : roster[slot].age;
}

const char* CrewManager::GetCrewMiscIdByName(const char* name) const {
    if (name == nullptr || !IsReady()) {
        return nullptr;
    }
    const int32_t slot = FindCrewSlot(name);
    return slot < 0 ? emptyText : roster[slot].miscId;
}
