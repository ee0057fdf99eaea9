// What the crew fuzz targets share: a vessel that owns a ready crew manager, and the checks
// every roster member must pass whatever the input was.
#pragma once

#include <cstring>

#include "crew/CrewManager.h"
#include "fuzz/FuzzText.h"
#include "host/Vantrix.h"

namespace fuzzcrew {

inline constexpr double kStructureMass = 1000.0;

// Its crew manager is bound and its airlock open from the class set-up on.
class Holder final : public VESSEL2 {
public:
    Holder(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetEmptyMass(kStructureMass);
        crew.InitCrewManager(GetHandle());
        crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7);
    }
    CrewManager crew{};
};

template <class T> VESSEL* Init(OBJHANDLE vessel, int flightModel) {
    return new T(vessel, flightModel);
}
template <class T> void Exit(VESSEL* vessel) {
    delete static_cast<T*>(vessel);
}

using fuzztext::Require;

// The member's texts as the roster keeps them: terminated, cleaned, within their lengths.
inline void CheckMemberText(const CrewRecord& r) {
    Require(std::memchr(r.name, 0, sizeof r.name) != nullptr, "name terminated");
    Require(std::strlen(r.name) <= 25, "name within 25 characters");
    for (const char* c = r.name; *c != '\0'; ++c) {
        const bool alnum =
            (*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z');
        Require(alnum || *c == ' ', "name cleaned");
    }
    Require(std::memchr(r.miscId, 0, sizeof r.miscId) != nullptr, "tag terminated");
    Require(std::strlen(r.miscId) <= 4, "tag within 4 characters");
}

} // namespace fuzzcrew
