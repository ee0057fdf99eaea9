// People coming aboard: the arrival scan, four times a second of simulation time at most,
// finds a walking member inside the airlock box or a transfer vessel named for this vessel;
// the intake then deletes that vessel and puts the member on the roster.
#include <cstdio>
#include <cstring>

#include "crew/CrewExchange.h"
#include "crew/CrewManager.h"
#include "crew/CrewNumbers.h"
#include "crew/CrewText.h"
#include "host/CrewKit.h"
#include "platform/File.h"

namespace {

constexpr double kPollSeconds = 0.25;
constexpr std::size_t kPrefixLength = sizeof crewkit::kEvaNamePrefix - 1;
constexpr std::size_t kClassPrefixLength = sizeof crewkit::kVesselClass - 1;
// Room for a scanned vessel's object name and for a transfer vessel's receiver.
constexpr int kObjectNameSize = 96;
constexpr int kReceiverSize = 110;
constexpr int kArrivalNameLength = 39;
constexpr int kTagSize = 5;
constexpr int kNameLength = 25;

bool StrictlyInside(double value, float low, float high) {
    return value > static_cast<double>(low) && value < static_cast<double>(high);
}

} // namespace

int32_t CrewLinkRecord::ScanForArrivals() {
    pollTimer += vapiGetSimStep();
    if (!(pollTimer > kPollSeconds)) {
        return 0;
    }
    pollTimer = 0.0;
    if (airlockState != 1) {
        return 0;
    }
    if (vessel == nullptr || vesselHandle == nullptr) {
        return -3;
    }
    arrivedVessel = nullptr;
    // The name of the last walker whose crew data were read belongs in arrivalName as well.
    // Vessels neither move nor go during a scan, so it is copied once, when the scan ends,
    // rather than for every walker examined.
    const char* examinedName = nullptr;
    auto keepExaminedName = [&]() {
        if (examinedName != nullptr) {
            CopyReplacingByte(arrivalName, examinedName, kArrivalNameLength, '_', ' ');
        }
    };
    const unsigned int count = vapiGetVesselCount();
    for (unsigned int index = 0; index < count; ++index) {
        // Cheapest tests first: most vessels of a simulation are no crew at all.
        OBJHANDLE candidate = vapiGetVesselByIndex(index);
        if (candidate == nullptr || candidate == vesselHandle) {
            continue;
        }
        const VESSEL* other = vapiGetVesselInterface(candidate);
        if (other == nullptr) {
            continue;
        }
        const char* className = other->GetClassNameA();
        if (className == nullptr ||
            !StartsWithBytes(className, crewkit::kVesselClass, kClassPrefixLength)) {
            continue;
        }
        const unsigned int parentPoints = other->AttachmentCount(true);
        if (parentPoints < 2) {
            continue;
        }
        char objectName[kObjectNameSize] = {};
        vapiGetObjectName(candidate, objectName, kObjectNameSize);
        if (StartsWithBytes(objectName, crewkit::kTransferNamePrefix, kPrefixLength)) {
            // A transfer vessel ends the scan whoever it is for.
            char receiver[kReceiverSize] = {};
            std::snprintf(receiver, sizeof receiver, "%s", objectName + kPrefixLength);
            if (std::strcmp(receiver, vessel->GetName()) != 0) {
                keepExaminedName();
                return 0;
            }
            if (ReadCrewExchangeFile(crewkit::kTransferExchangeFile)) {
                // The buffer now holds what the sender wrote; an unreadable file leaves the
                // last record there, and the intake goes on with it.
            }
            FileRemove(crewkit::kTransferExchangeFile);
            std::snprintf(arrivalName, sizeof arrivalName, "%.*s", kArrivalNameLength,
                          crewExchangeBuffer.vesselName);
            arrivalAge = crewExchangeBuffer.age;
            arrivalPulse = crewExchangeBuffer.pulse;
            arrivalWeight = crewExchangeBuffer.weight;
            arrivedVessel = candidate;
            return 2;
        }
        ATTACHMENTHANDLE dataPoint = other->GetAttachmentHandle(true, parentPoints - 1);
        if (dataPoint == nullptr) {
            continue;
        }
        if (!IsPointId(other->GetAttachmentId(dataPoint), crewkit::kCrewDataPointId)) {
            continue;
        }
        VECTOR3 data{}, unusedDir{}, unusedRot{};
        other->GetAttachmentParams(dataPoint, data, unusedDir, unusedRot);
        const char* name = other->GetName();
        examinedName = name != nullptr ? name : "";
        arrivalAge = TruncateToInt32(data.x);
        arrivalPulse = TruncateToInt32(data.y);
        arrivalWeight = TruncateToInt32(data.z);

        VECTOR3 ownGlobal{}, otherGlobal{}, ownLocal{}, otherLocal{};
        vapiGetGlobalPos(vesselHandle, &ownGlobal);
        vapiGetGlobalPos(candidate, &otherGlobal);
        vessel->Global2Local(ownGlobal, ownLocal);
        vessel->Global2Local(otherGlobal, otherLocal);
        const double dx = otherLocal.x - ownLocal.x;
        const double dy = otherLocal.y - ownLocal.y;
        const double dz = otherLocal.z - ownLocal.z;
        if (StrictlyInside(dx, airlockBox[0], airlockBox[1]) &&
            StrictlyInside(dy, airlockBox[2], airlockBox[3]) &&
            StrictlyInside(dz, airlockBox[4], airlockBox[5])) {
            arrivedVessel = candidate;
            keepExaminedName();
            return 1;
        }
    }
    keepExaminedName();
    return 0;
}

int32_t CrewManager::ProcessArrivals() {
    if (readyFlags != kCrewReady) {
        return -1;
    }
    if (airlockStateCopy == 0) {
        return 0;
    }
    CrewLinkRecord& link = Link();
    const int32_t found = link.ScanForArrivals();
    if (found < 1) {
        return 0;
    }
    char label[kArrivalNameLength + 1] = {};
    link.LinkGetArrivalName(label, kArrivalNameLength);
    char tag[kTagSize] = {};
    char name[kNameLength + 1] = {};
    const char* hyphen = std::strchr(label, '-');
    if (hyphen != nullptr) {
        // The field keeps its terminator: a longer tag is cut to four characters.
        const int tagLength = static_cast<int>(hyphen - label);
        std::snprintf(tag, sizeof tag, "%.*s", tagLength, label);
        std::snprintf(name, sizeof name, "%.*s", kNameLength, hyphen + 1);
    } else {
        std::snprintf(name, sizeof name, "%.*s", kNameLength, label);
    }
    OBJHANDLE arrived = link.LinkGetArrivedVessel();
    if (arrived == nullptr) {
        return 0;
    }
    if (found == 1) {
        // The user was steering the walker; with the walker gone, the colony has the controls.
        vapiSetFocusObject(vesselHandle);
    }
    vapiDeleteVessel(arrived);
    link.arrivedVessel = nullptr;
    std::snprintf(lastArrivedName, kNameLength + 1, "%s", name);
    AddCrewMember(name, link.LinkGetArrivalAge(), link.LinkGetArrivalPulse(),
                  link.LinkGetArrivalWeight(), tag);
    return found == 2 ? 2 : 1;
}
