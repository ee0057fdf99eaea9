#include "crew/CrewVessel.h"

#include <cmath>
#include <cstdio>

#include "crew/CrewLink.h"
#include "crew/CrewText.h"
#include "host/CrewKit.h"

namespace {

// Names tried with a number appended before the last one is used anyway.
constexpr int kLastNameNumber = 399;

MATRIX3 Multiply(const MATRIX3& a, const MATRIX3& b) {
    MATRIX3 r;
    r.m11 = a.m11 * b.m11 + a.m12 * b.m21 + a.m13 * b.m31;
    r.m12 = a.m11 * b.m12 + a.m12 * b.m22 + a.m13 * b.m32;
    r.m13 = a.m11 * b.m13 + a.m12 * b.m23 + a.m13 * b.m33;
    r.m21 = a.m21 * b.m11 + a.m22 * b.m21 + a.m23 * b.m31;
    r.m22 = a.m21 * b.m12 + a.m22 * b.m22 + a.m23 * b.m32;
    r.m23 = a.m21 * b.m13 + a.m22 * b.m23 + a.m23 * b.m33;
    r.m31 = a.m31 * b.m11 + a.m32 * b.m21 + a.m33 * b.m31;
    r.m32 = a.m31 * b.m12 + a.m32 * b.m22 + a.m33 * b.m32;
    r.m33 = a.m31 * b.m13 + a.m32 * b.m23 + a.m33 * b.m33;
    return r;
}

} // namespace

void ApplyEvaRotation(VECTOR3 angles, OBJHANDLE vessel) {
    VESSEL* target = vapiGetVesselInterface(vessel);
    if (target == nullptr) {
        return;
    }
    MATRIX3 r0{};
    target->GetRotationMatrix(r0);
    const double ca = std::cos(angles.x), sa = std::sin(angles.x);
    const double cb = std::cos(angles.y), sb = std::sin(angles.y);
    const double cc = std::cos(angles.z), sc = std::sin(angles.z);
    const MATRIX3 rx{1, 0, 0, 0, ca, sa, 0, -sa, ca};
    const MATRIX3 ry{cb, 0, sb, 0, 1, 0, -sb, 0, cb};
    const MATRIX3 rz{cc, sc, 0, -sc, cc, 0, 0, 0, 1};
    target->SetRotationMatrix(Multiply(Multiply(Multiply(r0, rx), ry), rz));
}

OBJHANDLE CreateCrewVessel(const char* name, const VESSELSTATUS& state, VECTOR3 exitRotation) {
    char base[kCrewVesselNameLength + 1];
    std::snprintf(base, sizeof base, "%s", name);
    // Vessel names never carry spaces; the receiving side turns the underscores back.
    ReplaceByte(base, ' ', '_');
    char chosen[kCrewVesselNameSize];
    std::snprintf(chosen, sizeof chosen, "%s", base);
    if (vapiGetObjectByName(chosen) != nullptr) {
        for (int n = 1; n <= kLastNameNumber; ++n) {
            std::snprintf(chosen, sizeof chosen, "%s%i", base, n);
            if (vapiGetObjectByName(chosen) == nullptr) {
                break;
            }
        }
    }
    OBJHANDLE created = vapiCreateVessel(chosen, crewkit::kVesselClass, state);
    if (created != nullptr) {
        ApplyEvaRotation(exitRotation, created);
    }
    return created;
}
