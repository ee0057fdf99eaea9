#include "addons/ckit/CrewWalker.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "addons/ckit/WalkerAirlock.h"
#include "crew/CrewText.h"

namespace ckit {

namespace {

// Reads one whole number; end gets where it stopped.
bool ReadInt(const char* text, char** end, int& value) {
    errno = 0;
    const long read = std::strtol(text, end, 10);
    if (*end == text || errno != 0 || read < INT_MIN || read > INT_MAX) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

} // namespace

CrewWalker::CrewWalker(OBJHANDLE vessel, int flightModel)
    : VESSEL2(vessel, flightModel), kind_(ClassifyWalker(GetName())),
      identity_(NeutralIdentity(GetName())), loadedFromBlock_(false) {}

void CrewWalker::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    if (kind_ == WalkerKind::Person) {
        ReadWalkerIdentity(crewkit::kEvaExchangeFile, GetName(), identity_);
    }
    SetSize(1.0);
    SetEmptyMass(100.0);
    CreateAttachment(true, {0.0, 0.0, 0.0}, {0.0, -1.0, 0.0}, {0.0, 0.0, 1.0}, kHoldPointId);
    // The intake reads the last point for parents, so the data point comes after every other.
    if (kind_ == WalkerKind::Person) {
        CreateAttachment(true,
                         {static_cast<double>(identity_.age), static_cast<double>(identity_.pulse),
                          static_cast<double>(identity_.weight)},
                         {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, crewkit::kCrewDataPointId);
    }
}

void CrewWalker::clbkPostCreation() {
    // Only now is the mesh known: a scenario block, read after the class set-up, may name it,
    // and the host has no call to replace a mesh once added.
    AddMesh(identity_.mesh);
    if (kind_ == WalkerKind::Person && !loadedFromBlock_) {
        StepOutOfAirlock(*this);
    }
}

void CrewWalker::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    loadedFromBlock_ = true;
    bool crewRead = false;
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        if (std::strncmp(line, "CREW ", 5) == 0 &&
            parseCrewValues(line + 5, identity_.age, identity_.pulse, identity_.weight)) {
            crewRead = true;
        } else if (std::strncmp(line, "MESH ", 5) == 0 && line[5] != '\0' && line[5] != ' ') {
            std::snprintf(identity_.mesh, sizeof identity_.mesh, "%s", line + 5);
        } else {
            ParseScenarioLineEx(line, status);
        }
    }
    if (!crewRead || kind_ == WalkerKind::Plain) {
        return;
    }
    const VECTOR3 values{static_cast<double>(identity_.age), static_cast<double>(identity_.pulse),
                         static_cast<double>(identity_.weight)};
    if (ATTACHMENTHANDLE point = crewDataPoint()) {
        SetAttachmentParams(point, values, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0});
    } else {
        // A transfer vessel's sender gave it the point; after a reload it is its own.
        CreateAttachment(true, values, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, crewkit::kCrewDataPointId);
    }
}

void CrewWalker::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    ATTACHMENTHANDLE point = crewDataPoint();
    if (kind_ == WalkerKind::Plain || point == nullptr) {
        return;
    }
    // The point is what the intake will read, so it is what is kept.
    VECTOR3 pos{}, dir{}, rot{};
    GetAttachmentParams(point, pos, dir, rot);
    char value[64];
    std::snprintf(value, sizeof value, "%d %d %d", static_cast<int>(pos.x), static_cast<int>(pos.y),
                  static_cast<int>(pos.z));
    vapiWriteScenario_string(scn, "CREW", value);
    vapiWriteScenario_string(scn, "MESH", identity_.mesh);
}

void CrewWalker::clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) {
    VESSEL2::clbkDrawHUD(mode, hps, hdc);
    if (kind_ != WalkerKind::Person || hps == nullptr) {
        return;
    }
    int age = identity_.age;
    if (ATTACHMENTHANDLE point = crewDataPoint()) {
        VECTOR3 pos{}, dir{}, rot{};
        GetAttachmentParams(point, pos, dir, rot);
        age = static_cast<int>(pos.x);
    }
    char line[160];
    const int length = FormatWalkerLine(line, sizeof line, GetName(), identity_.labelLength, age);
    TextOutA(hdc, 5, hps->H / 60 * 15, line, length);
}

int CrewWalker::clbkConsumeBufferedKey(std::uint32_t key, bool down, char* /*keyState*/) {
    if (!down || kind_ != WalkerKind::Person) {
        return 0;
    }
    switch (key) {
    case VXK_LEFT:
        walk({-kStepLength, 0.0, 0.0});
        return 1;
    case VXK_RIGHT:
        walk({kStepLength, 0.0, 0.0});
        return 1;
    case VXK_UP:
        walk({0.0, 0.0, kStepLength});
        return 1;
    case VXK_DOWN:
        walk({0.0, 0.0, -kStepLength});
        return 1;
    case VXK_PRIOR:
        walk({0.0, kStepLength, 0.0});
        return 1;
    case VXK_NEXT:
        walk({0.0, -kStepLength, 0.0});
        return 1;
    default:
        return 0;
    }
}

ATTACHMENTHANDLE CrewWalker::crewDataPoint() const {
    const unsigned int count = AttachmentCount(true);
    if (count == 0) {
        return nullptr;
    }
    ATTACHMENTHANDLE last = GetAttachmentHandle(true, count - 1);
    return IsPointId(GetAttachmentId(last), crewkit::kCrewDataPointId) ? last : nullptr;
}

void CrewWalker::walk(const VECTOR3& local) const {
    VECTOR3 at{}, offset{};
    GetGlobalPos(at);
    GlobalRot(local, offset);
    SetGlobalPos({at.x + offset.x, at.y + offset.y, at.z + offset.z});
}

bool CrewWalker::parseCrewValues(const char* text, int& age, int& pulse, int& weight) {
    int values[3] = {};
    const char* at = text;
    for (int& value : values) {
        char* end = nullptr;
        if (!ReadInt(at, &end, value)) {
            return false;
        }
        at = end;
    }
    while (*at == ' ' || *at == '\t') {
        ++at;
    }
    if (*at != '\0') {
        return false;
    }
    age = values[0];
    pulse = values[1];
    weight = values[2];
    return true;
}

} // namespace ckit
