// A member crosses into the ship docked at the transfer dock: a transfer vessel appears in the
// middle of the ship's open airlock, named for the ship, and the ship's own intake takes the
// member aboard from the transfer exchange file.
#include <cstdio>

#include "crew/CrewExchange.h"
#include "crew/CrewLink.h"
#include "crew/CrewVessel.h"
#include "host/CrewKit.h"

namespace {

constexpr int kRecordTextLength = 38;
constexpr int kTransferPrefixLength = 5;

} // namespace

int32_t CrewLinkRecord::CreateTransferVessel(OBJHANDLE docked, const char* label, int32_t age,
                                             int32_t supply, int32_t pulse, int32_t weight,
                                             VECTOR3 exitRotation) {
    const VESSEL* ship = vapiGetVesselInterface(docked);
    if (ship == nullptr) {
        return -3;
    }
    if (ship->AttachmentCount(false) == 0) {
        return -1;
    }
    ATTACHMENTHANDLE point = FindCrewPoint(*ship, true);
    if (point == nullptr) {
        return FindCrewPoint(*ship, false) != nullptr ? -2 : -1;
    }
    VECTOR3 pos{}, dir{}, rot{};
    ship->GetAttachmentParams(point, pos, dir, rot);

    char shipName[kCrewVesselNameLength + 1];
    std::snprintf(shipName, sizeof shipName, "%s", ship->GetName());
    VESSELSTATUS state{};
    ship->GetStatus(state);
    state.fuel = 1.0;
    state.engMain = 0.0;
    state.engHover = 0.0;
    state.status = VESSELSTATUS_FLIGHT;
    // The box's bounds travel as xmin, xmax, ymin | ymax, zmin, zmax.
    const VECTOR3 centre{(pos.x + pos.y) * 0.5, (pos.z + dir.x) * 0.5, (dir.y + dir.z) * 0.5};
    ship->Local2Rel(centre, state.rpos);

    char name[kCrewVesselNameLength + 1];
    std::snprintf(name, sizeof name, "%s%.*s", crewkit::kTransferNamePrefix,
                  kCrewVesselNameLength - kTransferPrefixLength, shipName);
    CrewExchangeRecord& record = crewExchangeBuffer;
    std::snprintf(record.vesselName, kRecordTextLength + 1, "%s%s", crewkit::kEvaNamePrefix, label);
    record.age = age;
    record.pulse = pulse;
    record.supply = supply;
    record.weight = weight;
    record.reserved = 0;
    record.linkValue = 0;
    WriteCrewExchangeFile(crewkit::kTransferExchangeFile);

    OBJHANDLE created = CreateCrewVessel(name, state, exitRotation);
    VESSEL* carrier = created != nullptr ? vapiGetVesselInterface(created) : nullptr;
    if (carrier == nullptr) {
        return 3;
    }
    // The receiver reads the file; the data point is there for anyone who looks at the vessel.
    carrier->CreateAttachment(
        true,
        VECTOR3{static_cast<double>(age), static_cast<double>(pulse), static_cast<double>(weight)},
        VECTOR3{0, 0, 0}, VECTOR3{0, 0, 0}, crewkit::kCrewDataPointId, false);
    return 2;
}
