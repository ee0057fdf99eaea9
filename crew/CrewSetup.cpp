#include <cstring>

#include "crew/CrewManager.h"
#include "crew/CrewVersion.h"
#include "crew/ProfessionTable.h"

namespace {

constexpr int32_t kDefaultSeats = 8;
constexpr int32_t kDefaultEvaSupply = 100;
constexpr char kDefaultEvaMesh[] = "CKit\\CKIt";
constexpr double kWarningSeconds = 20.0;

} // namespace

int32_t CrewManager::InitCrewManager(OBJHANDLE vessel) {
    if (vessel == nullptr) {
        return -1;
    }
    // The table's records are handed out once each and never come back. A crew manager
    // beyond the last one is refused before anything changes, rather than share another
    // vessel's record: it stays blank, its vessel carries nobody, and the warning's error
    // line tells the user every step.
    if (crewLinkCounter >= kCrewLinkCount) {
        return -1;
    }
    linkIndex = crewLinkCounter;
    const int32_t bound = Link().LinkReset(vessel);
    libraryOutdated = 0;
    if (bound != 1) {
        // The counter stays put, so a later attempt takes the same record again.
        warningUntil = vapiGetSysTime() + kWarningSeconds;
        return bound;
    }
    warningUntil = 0.0;
    if (GetCrewLibraryVersion() < crewkit::kRequiredVersion) {
        libraryOutdated = 1;
        warningUntil = vapiGetSysTime() + kWarningSeconds;
    }
    if (crewLinkCounter == 0) {
        LoadCrewIdentityConfig();
    }
    // A crew manager initialised a second time gives back the mass of the crew it carried,
    // so the vessel's mass does not keep people who are no longer on any roster.
    if (readyFlags == kCrewReady && vesselHandle != nullptr) {
        MoveCrewMass(0.0);
    }
    std::memset(roster, 0, sizeof roster);
    crewCount = 0;
    maxSeats = kDefaultSeats;
    crewMass = 0.0;
    loadedLineCount = -1;
    airlockStateCopy = 1;
    evaSupply = kDefaultEvaSupply;
    std::memset(evaMesh, 0, sizeof evaMesh);
    std::memcpy(evaMesh, kDefaultEvaMesh, sizeof kDefaultEvaMesh);
    evaExitPosition = {0.0, 0.0, 3.0};
    evaExitRotation = {0.0, 0.0, 0.0};
    std::memset(emptyText, 0, sizeof emptyText);
    std::memset(lastLeftName, 0, sizeof lastLeftName);
    std::memset(lastArrivedName, 0, sizeof lastArrivedName);
    vesselHandle = vessel;
    readyFlags = kCrewInitialised;
    ++crewLinkCounter;
    return 1;
}

int32_t CrewManager::DefineAirlockShape(uint32_t state, float xmin, float xmax, float ymin,
                                        float ymax, float zmin, float zmax) {
    if ((readyFlags & kCrewInitialised) == 0) {
        return 0;
    }
    if (Link().LinkDefineAirlock(state, xmin, xmax, ymin, ymax, zmin, zmax) != 1) {
        return 0;
    }
    readyFlags |= kCrewAirlockDefined;
    airlockStateCopy = static_cast<int32_t>(state);
    Link().LinkSetFreeSeats(maxSeats - crewCount);
    Link().LinkSetDeleteOnDetect(0);
    return 1;
}

int32_t CrewManager::SetMembersPosRotOffset(VECTOR3 position, VECTOR3 rotation) {
    if (!IsReady()) {
        return 0;
    }
    evaExitPosition = position;
    evaExitRotation = rotation;
    return 1;
}

int32_t CrewManager::SetMaxSeats(int32_t seats) {
    if (!IsReady() || seats < 1 || seats > kRosterSize || seats < crewCount) {
        return 0;
    }
    maxSeats = seats;
    RepublishSeats();
    return 1;
}

int32_t CrewManager::SetEvaMesh(const char* mesh) {
    if (mesh == nullptr || !IsReady()) {
        return 0;
    }
    const std::size_t length = strnlen(mesh, sizeof evaMesh - 1);
    std::memcpy(evaMesh, mesh, length);
    evaMesh[length] = '\0';
    return 1;
}

int32_t CrewManager::SetAirlockState(uint32_t state) {
    if (!IsReady()) {
        return -1;
    }
    // A refused state leaves the published one; the copy follows whatever is published.
    Link().LinkSetAirlockState(state);
    airlockStateCopy = Link().LinkGetAirlockState();
    return 1;
}

int32_t CrewManager::GetAirlockState() {
    if (!IsReady()) {
        return -1;
    }
    airlockStateCopy = Link().LinkGetAirlockState();
    return airlockStateCopy;
}

void CrewManager::RepublishSeats() const {
    Link().LinkSetFreeSeats(maxSeats - crewCount);
    Link().LinkSetAuxiliaryCount(0);
}
