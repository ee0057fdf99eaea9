#include "addons/ckit/WalkerAirlock.h"

#include "crew/CrewText.h"
#include "host/CrewKit.h"
#include "host/Vantrix.h"

namespace ckit {

namespace {

// Out of the box's surface by this much, so that the walker stands clear of it.
constexpr double kClearance = 1.0;

void ToArray(const VECTOR3& v, double out[3]) {
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

// The box of the first crew attachment point of other that holds the global position at,
// in other's frame; false when none does.
bool FindEnclosingBox(const VESSEL& other, const VECTOR3& at, AirlockBox& box, double local[3]) {
    VECTOR3 inOther{};
    other.Global2Local(at, inOther);
    ToArray(inOther, local);
    const unsigned int count = other.AttachmentCount(false);
    for (unsigned int i = 0; i < count; ++i) {
        ATTACHMENTHANDLE point = other.GetAttachmentHandle(false, i);
        if (!IsPointId(other.GetAttachmentId(point), crewkit::kCrewPointId)) {
            continue;
        }
        VECTOR3 pos{}, dir{}, rot{};
        other.GetAttachmentParams(point, pos, dir, rot);
        double p[3], d[3];
        ToArray(pos, p);
        ToArray(dir, d);
        box = BoxFromPoint(p, d);
        if (InsideBox(box, local)) {
            return true;
        }
    }
    return false;
}

} // namespace

AirlockBox BoxFromPoint(const double pos[3], const double dir[3]) {
    return AirlockBox{pos[0], pos[1], pos[2], dir[0], dir[1], dir[2]};
}

bool InsideBox(const AirlockBox& box, const double p[3]) {
    return box.xmin < p[0] && p[0] < box.xmax && box.ymin < p[1] && p[1] < box.ymax &&
           box.zmin < p[2] && p[2] < box.zmax;
}

double DistanceToExit(const AirlockBox& box, const double p[3], const double u[3]) {
    const double low[3] = {box.xmin, box.ymin, box.zmin};
    const double high[3] = {box.xmax, box.ymax, box.zmax};
    double nearest = -1.0;
    for (int i = 0; i < 3; ++i) {
        if (u[i] == 0.0) {
            continue;
        }
        const double t = ((u[i] > 0.0 ? high[i] : low[i]) - p[i]) / u[i];
        if (nearest < 0.0 || t < nearest) {
            nearest = t;
        }
    }
    return nearest < 0.0 ? 0.0 : nearest;
}

bool StepOutOfAirlock(const VESSEL& walker) {
    const OBJHANDLE self = walker.GetHandle();
    VECTOR3 at{};
    walker.GetGlobalPos(at);
    VECTOR3 forward{};
    walker.GlobalRot({0.0, 0.0, 1.0}, forward);
    const unsigned int vessels = vapiGetVesselCount();
    for (unsigned int v = 0; v < vessels; ++v) {
        const OBJHANDLE handle = vapiGetVesselByIndex(v);
        if (handle == nullptr || handle == self) {
            continue;
        }
        const VESSEL* other = vapiGetVesselInterface(handle);
        if (other == nullptr) {
            continue;
        }
        AirlockBox box{};
        double local[3];
        if (!FindEnclosingBox(*other, at, box, local)) {
            continue;
        }
        // The walker's +z as the box's frame sees it.
        VECTOR3 ahead{};
        other->Global2Local({at.x + forward.x, at.y + forward.y, at.z + forward.z}, ahead);
        const double u[3] = {ahead.x - local[0], ahead.y - local[1], ahead.z - local[2]};
        const double distance = DistanceToExit(box, local, u) + kClearance;
        walker.SetGlobalPos({at.x + forward.x * distance, at.y + forward.y * distance,
                             at.z + forward.z * distance});
        return true;
    }
    return false;
}

} // namespace ckit
