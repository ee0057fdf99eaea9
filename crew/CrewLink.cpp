#include "crew/CrewLink.h"

#include <cstring>

#include "crew/CrewManager.h"
#include "crew/CrewNumbers.h"
#include "crew/CrewText.h"
#include "host/CrewKit.h"

CrewLinkRecord crewLinkTable[kCrewLinkCount];
int32_t crewLinkCounter = 0;

namespace {

// Seats and the auxiliary count a record shows before its owner first publishes them.
constexpr int32_t kUnpublishedCount = 1000;
// Weight of an arrival nobody has reported yet, kilograms.
constexpr int32_t kDefaultArrivalWeight = 60;

// The point's three vectors, built from a state, a box and the two counts.
struct PointVectors {
    VECTOR3 position;
    VECTOR3 direction;
    VECTOR3 rotation;
};

PointVectors BuildPoint(uint32_t state, const float box[6], int32_t auxiliary, int32_t seats) {
    PointVectors v{};
    v.position = {box[0], box[1], box[2]};
    v.direction = {box[3], box[4], box[5]};
    v.rotation = {static_cast<double>(state), static_cast<double>(auxiliary),
                  static_cast<double>(seats)};
    return v;
}

} // namespace

ATTACHMENTHANDLE FindCrewPoint(const VESSEL& vessel, bool openOnly) {
    const unsigned int count = vessel.AttachmentCount(false);
    for (unsigned int i = 0; i < count; ++i) {
        ATTACHMENTHANDLE point = vessel.GetAttachmentHandle(false, i);
        if (point == nullptr || !IsPointId(vessel.GetAttachmentId(point), crewkit::kCrewPointId)) {
            continue;
        }
        if (!openOnly) {
            return point;
        }
        VECTOR3 pos{}, dir{}, rot{};
        vessel.GetAttachmentParams(point, pos, dir, rot);
        if (rot.x != 0.0) {
            return point;
        }
    }
    return nullptr;
}

int32_t CrewLinkRecord::LinkReset(OBJHANDLE handle) {
    std::memset(this, 0, sizeof *this);
    pollTimer = vapiRand(); // so that vessels poll for arrivals out of step
    deleteOnDetect = 1;
    arrivalWeight = kDefaultArrivalWeight;
    auxiliaryCount = kUnpublishedCount;
    freeSeats = kUnpublishedCount;
    vesselHandle = handle;
    if (CrewLibraryPresent() < 1) {
        return -999;
    }
    if (handle == nullptr) {
        return -1;
    }
    vessel = vapiGetVesselInterface(handle);
    return vessel != nullptr ? 1 : -1;
}

void CrewLinkRecord::Publish() const {
    const PointVectors v = BuildPoint(airlockState, airlockBox, auxiliaryCount, freeSeats);
    vessel->SetAttachmentParams(attachment, v.position, v.direction, v.rotation);
}

int32_t CrewLinkRecord::LinkDefineAirlock(uint32_t state, float xmin, float xmax, float ymin,
                                          float ymax, float zmin, float zmax) {
    if (xmax < xmin || ymax < ymin || zmax < zmin || state > 1 || vessel == nullptr) {
        return -1;
    }
    airlockState = state;
    const float box[6] = {xmin, xmax, ymin, ymax, zmin, zmax};
    std::memcpy(airlockBox, box, sizeof airlockBox);
    airlockDefined = 1;
    if (attachment == nullptr) {
        const PointVectors v = BuildPoint(state, airlockBox, auxiliaryCount, freeSeats);
        // A null handle is kept too: the record is then defined but unpublished, and the next
        // definition tries to create the point again.
        attachment = vessel->CreateAttachment(false, v.position, v.direction, v.rotation,
                                              crewkit::kCrewPointId, false);
    } else {
        Publish();
    }
    return 1;
}

int32_t CrewLinkRecord::LinkSetAirlockState(uint32_t state) {
    if (state == airlockState) {
        return 1;
    }
    if (state > 1 || attachment == nullptr || vessel == nullptr) {
        return -1;
    }
    airlockState = state;
    Publish();
    return 1;
}

int32_t CrewLinkRecord::LinkSetAuxiliaryCount(int32_t count) {
    if (attachment == nullptr || vessel == nullptr) {
        return -1;
    }
    auxiliaryCount = count;
    Publish();
    return 1;
}

int32_t CrewLinkRecord::LinkSetFreeSeats(int32_t count) {
    if (attachment == nullptr || vessel == nullptr) {
        return -1;
    }
    freeSeats = count;
    Publish();
    return 1;
}

int32_t CrewLinkRecord::LinkReadDockedFreeSeats(uint32_t dock) const {
    if (attachment == nullptr || vessel == nullptr) {
        return -1;
    }
    DOCKHANDLE port = vessel->GetDockHandle(dock);
    if (port == nullptr) {
        return -1;
    }
    OBJHANDLE docked = vessel->GetDockStatus(port);
    if (docked == nullptr) {
        return -1;
    }
    const VESSEL* other = vapiGetVesselInterface(docked);
    if (other == nullptr || other->AttachmentCount(false) == 0) {
        return -1;
    }
    ATTACHMENTHANDLE point = FindCrewPoint(*other, false);
    if (point == nullptr) {
        return -1;
    }
    VECTOR3 pos{}, dir{}, rot{};
    other->GetAttachmentParams(point, pos, dir, rot);
    return TruncateToInt32(rot.z);
}

int32_t CrewLinkRecord::LinkGetAirlockState() const {
    if (attachment == nullptr || vessel == nullptr) {
        return -1;
    }
    return static_cast<int32_t>(airlockState);
}

void CrewLinkRecord::LinkGetArrivalName(char* destination, int32_t maximum) const {
    // The arrival name starts with the walking crew's five-character prefix; the member's own
    // name follows it and is never longer than 32 characters here.
    constexpr int32_t kPrefixLength = sizeof crewkit::kEvaNamePrefix - 1;
    constexpr int32_t kLongestName = 32;
    if (destination == nullptr || maximum <= 0) {
        return;
    }
    const int32_t limit = maximum < kLongestName ? maximum : kLongestName;
    // A name that ends inside the prefix has no member name; the bytes after its terminator
    // are what an earlier, longer arrival left there.
    if (std::memchr(arrivalName, '\0', kPrefixLength) != nullptr) {
        destination[0] = '\0';
        return;
    }
    const char* name = arrivalName + kPrefixLength;
    const int32_t room = static_cast<int32_t>(sizeof arrivalName) - kPrefixLength;
    int32_t n = 0;
    while (n < limit && n < room && name[n] != '\0') {
        destination[n] = name[n];
        ++n;
    }
    destination[n] = '\0';
}

int32_t CrewLinkRecord::LinkSetDeleteOnDetect(int32_t flag) {
    if (airlockDefined == 0) {
        return -1;
    }
    deleteOnDetect = flag;
    return 1;
}
