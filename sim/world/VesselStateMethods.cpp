// VESSEL: state, frames and motion queries, and the host's own lines of a scenario block.
#include <cmath>
#include <string>

#include "host/Vessel.h"
#include "sim/text/HostLine.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselState.h"
#include "sim/world/World.h"

using vx::liveVessel;
using vx::VesselRecord;

namespace {

OBJHANDLE bodyHandle() {
    vx::World* world = vx::World::current();
    return world != nullptr ? &world->body() : nullptr;
}

// Tells the world that something outside the step moved the vessel.
void moved(VesselRecord& vessel) {
    if (vx::World* world = vx::World::current()) {
        world->poseChanged(vessel);
    }
}

} // namespace

void VESSEL::GetStatus(VESSELSTATUS& status) const {
    if (const VesselRecord* vessel = liveVessel(handle_)) {
        status = vx::statusOf(*vessel, bodyHandle());
    } else {
        status = VESSELSTATUS{};
        status.rrot = vx::identityMatrix();
    }
}

void VESSEL::DefSetState(const VESSELSTATUS* status) const {
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel != nullptr && status != nullptr) {
        vx::applyStatus(*vessel, *status);
        moved(*vessel);
    }
}

void VESSEL::GetGlobalPos(VECTOR3& pos) const {
    const VesselRecord* vessel = liveVessel(handle_);
    pos = vessel != nullptr ? vessel->pos() : VECTOR3{0.0, 0.0, 0.0};
}

void VESSEL::SetGlobalPos(const VECTOR3& pos) const {
    if (VesselRecord* vessel = liveVessel(handle_)) {
        vessel->pos() = pos;
        moved(*vessel);
    }
}

void VESSEL::GetRotationMatrix(MATRIX3& rotation) const {
    const VesselRecord* vessel = liveVessel(handle_);
    rotation = vessel != nullptr ? vessel->rot : vx::identityMatrix();
}

void VESSEL::SetRotationMatrix(const MATRIX3& rotation) const {
    if (VesselRecord* vessel = liveVessel(handle_)) {
        vx::assignRotation(*vessel, rotation);
        moved(*vessel);
    }
}

void VESSEL::GetAngularVel(VECTOR3& avel) const {
    const VesselRecord* vessel = liveVessel(handle_);
    avel = vessel != nullptr ? vessel->avel : VECTOR3{0.0, 0.0, 0.0};
}

void VESSEL::Local2Rel(const VECTOR3& local, VECTOR3& rel) const {
    const VesselRecord* vessel = liveVessel(handle_);
    rel = vessel != nullptr ? vx::add(vx::mul(vessel->rot, local), vessel->pos())
                            : VECTOR3{0.0, 0.0, 0.0};
}

void VESSEL::GlobalRot(const VECTOR3& local, VECTOR3& global) const {
    const VesselRecord* vessel = liveVessel(handle_);
    global = vessel != nullptr ? vx::mul(vessel->rot, local) : VECTOR3{0.0, 0.0, 0.0};
}

void VESSEL::Global2Local(const VECTOR3& global, VECTOR3& local) const {
    const VesselRecord* vessel = liveVessel(handle_);
    local = vessel != nullptr ? vx::tmul(vessel->rot, vx::sub(global, vessel->pos()))
                              : VECTOR3{0.0, 0.0, 0.0};
}

bool VESSEL::GetHorizonAirspeedVector(VECTOR3& velocity) const {
    velocity = {0.0, 0.0, 0.0};
    const VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr) {
        return false;
    }
    const double r = vx::length(vessel->pos());
    if (r == 0.0) {
        return false;
    }
    const VECTOR3 up = vx::scale(vessel->pos(), 1.0 / r);
    VECTOR3 east = vx::cross(VECTOR3{0.0, 0.0, 1.0}, up);
    const double eastLength = vx::length(east);
    east = eastLength > 0.0 ? vx::scale(east, 1.0 / eastLength) : VECTOR3{1.0, 0.0, 0.0};
    const VECTOR3 north = vx::cross(up, east);
    velocity = {vx::dot(vessel->vel(), east), vx::dot(vessel->vel(), up),
                vx::dot(vessel->vel(), north)};
    return true;
}

bool VESSEL::GroundContact() const {
    const VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr &&
           (vessel->ground() != vx::GroundPhase::Free || vessel->status() == VESSELSTATUS_LANDED);
}

// --- Scenario ---------------------------------------------------------------------------------

bool VESSEL::ParseScenarioLineEx(char* line, void* status) const {
    vx::World* world = vx::World::current();
    vx::LoadStatus* load = world != nullptr ? world->activeLoad(status) : nullptr;
    if (load == nullptr || line == nullptr || liveVessel(handle_) == nullptr) {
        return false;
    }
    vx::HostWorkScope hostWork; // the host keeps what it read, and warns in its own words
    const VxScenarioFile* file = world->activeFile();
    const std::string where =
        file != nullptr ? file->source + ":" + std::to_string(file->currentLine) : "?";
    vx::HostLine parsed;
    std::string reason;
    switch (vx::parseHostLine(line, parsed, reason)) {
    case vx::HostLineResult::NotHost:
        world->skipLine(where, liveVessel(handle_)->className, line);
        return false;
    case vx::HostLineResult::Bad:
        if (load->error.empty()) {
            load->error = where + ": " + reason;
        }
        return true;
    case vx::HostLineResult::Parsed:
        break;
    }
    VESSELSTATUS& state = load->status;
    switch (parsed.kind) {
    case vx::HostLineKind::Pos:
        state.rpos = parsed.value;
        break;
    case vx::HostLineKind::Vel:
        state.rvel = parsed.value;
        break;
    case vx::HostLineKind::Ori:
        load->hasOri = true;
        load->oriDegrees = parsed.value;
        state.rrot = vx::rotationFromEulerDegrees(parsed.value);
        break;
    case vx::HostLineKind::Avel:
        load->hasAvel = true;
        load->avelDegrees = parsed.value;
        state.vrot = {vx::degreesToRadians(parsed.value.x), vx::degreesToRadians(parsed.value.y),
                      vx::degreesToRadians(parsed.value.z)};
        break;
    case vx::HostLineKind::Status:
        state.status = parsed.status;
        break;
    case vx::HostLineKind::Dock:
        load->docks.push_back({file != nullptr ? file->currentLine : 0,
                               static_cast<unsigned int>(parsed.ownPort),
                               static_cast<unsigned int>(parsed.otherPort), parsed.otherName});
        break;
    }
    return true;
}

void VESSEL::SaveDefaultState(FILEHANDLE scn) const {
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || scn == nullptr || scn->mode != VxScenarioFile::Mode::Write ||
        scn->out == nullptr) {
        return;
    }
    vx::HostWorkScope hostWork; // the scenario text grows in the host's buffer
    std::string& out = *scn->out;
    const auto write = [&out](const vx::HostLine& line) {
        out.append("  ").append(vx::hostLineKey(line.kind)).append(" ");
        out.append(vx::formatHostValue(line)).push_back('\n');
    };
    vx::HostLine line;
    line.kind = vx::HostLineKind::Pos;
    line.value = vessel->pos();
    write(line);
    line.kind = vx::HostLineKind::Vel;
    line.value = vessel->vel();
    write(line);
    line.kind = vx::HostLineKind::Ori;
    line.value = vx::orientationDegrees(*vessel);
    write(line);
    line.kind = vx::HostLineKind::Avel;
    line.value = vx::angularVelDegrees(*vessel);
    write(line);
    line.kind = vx::HostLineKind::Status;
    line.status = vessel->status();
    write(line);
    for (const auto& port : vessel->docks) {
        if (port->mate == nullptr || !port->mate->owner->alive) {
            continue;
        }
        line.kind = vx::HostLineKind::Dock;
        line.ownPort = static_cast<int>(port->index);
        line.otherPort = static_cast<int>(port->mate->index);
        line.otherName = port->mate->owner->name;
        write(line);
    }
}
