// A member of the roster leaves: the checks in their fixed order, the EVA mesh, and the
// vessel that carries the member out on foot.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "crew/CrewExchange.h"
#include "crew/CrewManager.h"
#include "crew/CrewText.h"
#include "crew/CrewVessel.h"
#include "crew/ProfessionTable.h"
#include "host/CrewKit.h"

char currentEvaMesh[200] = "ckit/ckit";

namespace {

constexpr char kDefaultWalkerMesh[] = "ckit/ckit";
// What evaMesh holds while the vessel has not chosen a mesh of its own.
constexpr char kUnchosenEvaMesh[] = "CKit\\CKIt";
constexpr std::size_t kLongestEvaName = 39;
// Room for a member label: the tag, a hyphen and the name, at most 30 characters in practice.
constexpr int kLabelSize = 80;
// The exchange record's text fields hold at most this many characters.
constexpr int kRecordTextLength = 38;

int32_t InRange(int32_t value, int32_t low, int32_t high, int32_t replacement) {
    return (value < low || value > high) ? replacement : value;
}

} // namespace

void CrewManager::ChooseEvaMesh(const char* miscId) {
    std::snprintf(currentEvaMesh, sizeof currentEvaMesh, "%s", kDefaultWalkerMesh);
    if (!SameTextIgnoringCase(evaMesh, kUnchosenEvaMesh)) {
        std::snprintf(currentEvaMesh, sizeof currentEvaMesh, "%s", evaMesh);
        return;
    }
    if (miscId == nullptr || miscId[0] == '\0') {
        return;
    }
    for (int32_t i = 0; i < kProfessionCapacity && professionMeshes[i][0] != '\0'; ++i) {
        if (SameTextIgnoringCase(professionKeys[i], miscId)) {
            std::snprintf(currentEvaMesh, sizeof currentEvaMesh, "%s", professionMeshes[i]);
            return;
        }
    }
}

int32_t CrewManager::EvaCrewMember(const char* name) {
    if (readyFlags != kCrewReady) {
        return -6;
    }
    if (name == nullptr || strnlen(name, kLongestEvaName + 1) > kLongestEvaName) {
        return -4;
    }
    if (crewCount < 1) {
        return 0;
    }
    lastLeftName[0] = '\0';
    if (airlockStateCopy == 0) {
        return -1;
    }
    CrewLinkRecord& link = Link();
    // A ship at the transfer dock must have room and publish its crew point before anyone
    // is looked up: a full ship refuses whoever is asked for.
    const VESSEL* own = vapiGetVesselInterface(vesselHandle);
    if (own != nullptr) {
        DOCKHANDLE port = own->GetDockHandle(link.transferDock);
        if (port != nullptr && own->GetDockStatus(port) != nullptr) {
            const int32_t seats = link.LinkReadDockedFreeSeats(link.transferDock);
            if (seats == 0) {
                return -3;
            }
            if (seats < 0) {
                return -5;
            }
        }
    }
    const int32_t slot = FindCrewSlot(name);
    if (slot < 0) {
        return -4;
    }
    const CrewRecord& member = roster[slot];
    char label[kLabelSize] = {};
    if (member.miscId[0] != '\0') {
        std::snprintf(label, sizeof label, "%s-%s", member.miscId, member.name);
    } else {
        std::snprintf(label, sizeof label, "%s", member.name);
    }
    ChooseEvaMesh(member.miscId);
    const int32_t weight = static_cast<int32_t>(member.weight);
    const int32_t created = link.CreateEvaVessel(label, member.age, evaSupply, member.pulse, weight,
                                                 currentEvaMesh, evaExitPosition, evaExitRotation);
    switch (created) {
    case 1:
    case 2: {
        std::snprintf(lastLeftName, sizeof lastLeftName, "%s", member.name);
        // The member's slot is about to be reused: remove by the copy, not the record.
        char leaving[sizeof member.name];
        std::snprintf(leaving, sizeof leaving, "%s", member.name);
        RemoveCrewMember(leaving);
        return created;
    }
    case -2:
        return -2;
    case -1:
        return -5;
    default:
        return -6;
    }
}

int32_t CrewLinkRecord::CreateEvaVessel(const char* label, int32_t age, int32_t supply,
                                        int32_t pulse, int32_t weight, const char* mesh,
                                        VECTOR3 exitPosition, VECTOR3 exitRotation) {
    age = InRange(age, 0, 120, 41);
    supply = InRange(supply, 0, 4000, 100);
    pulse = InRange(pulse, 0, 140, 60);
    if (vessel == nullptr) {
        return -3;
    }
    if (vessel->DockCount() >= 1) {
        DOCKHANDLE port = vessel->GetDockHandle(transferDock);
        OBJHANDLE docked = port != nullptr ? vessel->GetDockStatus(port) : nullptr;
        if (docked != nullptr) {
            return CreateTransferVessel(docked, label, age, supply, pulse, weight, exitRotation);
        }
    }

    // On foot: out of the own airlock, pushed along the own z axis by the spin about x and y.
    VECTOR3 spin{};
    vessel->GetAngularVel(spin);
    const double push = 5.0 * (std::fabs(spin.x) + std::fabs(spin.y));
    VESSELSTATUS state{};
    vessel->GetStatus(state);
    state.fuel = 1.0;
    state.engMain = 0.0;
    state.engHover = 0.0;
    VECTOR3 pushGlobal{};
    vessel->GlobalRot(VECTOR3{0.0, 0.0, push}, pushGlobal);
    state.rvel.x += pushGlobal.x;
    state.rvel.y += pushGlobal.y;
    state.rvel.z += pushGlobal.z;
    vessel->Local2Rel(exitPosition, state.rpos);
    state.status = VESSELSTATUS_FLIGHT;

    char name[kCrewVesselNameLength + 1];
    std::snprintf(name, sizeof name, "%s%s", crewkit::kEvaNamePrefix, label);
    CrewExchangeRecord& record = crewExchangeBuffer;
    std::snprintf(record.vesselName, kRecordTextLength + 1, "%s", name);
    std::snprintf(record.mesh, kRecordTextLength + 1, "%s", mesh != nullptr ? mesh : "");
    record.age = age;
    record.pulse = pulse;
    record.supply = supply;
    record.weight = weight;
    record.reserved = 0;
    record.linkValue = evaFileValue;
    // The walker learns who it is from this file; without it the person still leaves.
    WriteCrewExchangeFile(crewkit::kEvaExchangeFile);

    // The person is gone whether or not the host made the vessel.
    CreateCrewVessel(name, state, exitRotation);
    return 1;
}
