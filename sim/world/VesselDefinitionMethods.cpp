// VESSEL: identity, the definition a class gives itself, meshes, animations, docks and
// attachment points. A null or deleted vessel answers with a safe default and changes nothing.
#include <algorithm>
#include <cstring>

#include "host/Vessel.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/VesselState.h"
#include "sim/world/World.h"

using vx::liveVessel;
using vx::VesselRecord;

VESSEL::VESSEL(OBJHANDLE hVessel, int flightModel)
    : handle_(hVessel), flightModel_(flightModel), version_(1) {
    // Known from the start, so that code run inside the class's constructor already finds
    // its own interface.
    if (VesselRecord* vessel = liveVessel(hVessel); vessel != nullptr && vessel->iface == nullptr) {
        vessel->iface = this;
    }
}

VESSEL::~VESSEL() = default;

OBJHANDLE VESSEL::GetHandle() const {
    return handle_;
}

const char* VESSEL::GetName() const {
    const VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr ? vessel->name.c_str() : "";
}

const char* VESSEL::GetClassNameA() const {
    const VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr ? vessel->classText : "";
}

int VESSEL::GetFlightModel() const {
    return flightModel_;
}

// --- Definition -------------------------------------------------------------------------------

namespace {

// Runs set on the vessel's definition when the handle is a live vessel.
template <typename Set> void define(OBJHANDLE handle, Set set) {
    if (VesselRecord* vessel = liveVessel(handle)) {
        set(vessel->def);
    }
}

} // namespace

void VESSEL::SetSize(double size) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.size = size; });
}

void VESSEL::SetAlbedoRGB(const VECTOR3& albedo) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.albedo = albedo; });
}

void VESSEL::SetVisibilityLimit(double visLimit, double spotLimit) const {
    define(handle_, [&](vx::VesselDefinition& def) {
        def.visibilityLimit = visLimit;
        def.spotLimit = spotLimit;
    });
}

void VESSEL::SetEmptyMass(double mass) const {
    if (VesselRecord* vessel = liveVessel(handle_)) {
        vessel->emptyMass = mass;
    }
}

double VESSEL::GetEmptyMass() const {
    const VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr ? vessel->emptyMass : 0.0;
}

void VESSEL::SetCW(double cwZPos, double cwZNeg, double cwX, double cwY) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.cw = {cwZPos, cwZNeg, cwX, cwY}; });
}

void VESSEL::SetWingAspect(double aspect) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.wingAspect = aspect; });
}

void VESSEL::SetWingEffectiveness(double effectiveness) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.wingEffectiveness = effectiveness; });
}

void VESSEL::SetCrossSections(const VECTOR3& crossSections) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.crossSections = crossSections; });
}

void VESSEL::SetRotDrag(const VECTOR3& rotDrag) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.rotDrag = rotDrag; });
}

void VESSEL::SetPitchMomentScale(double scale) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.pitchMomentScale = scale; });
}

void VESSEL::SetBankMomentScale(double scale) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.bankMomentScale = scale; });
}

void VESSEL::SetPMI(const VECTOR3& pmi) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.pmi = pmi; });
}

void VESSEL::SetTrimScale(double scale) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.trimScale = scale; });
}

void VESSEL::SetCameraOffset(const VECTOR3& offset) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.cameraOffset = offset; });
}

void VESSEL::SetLiftCoeffFunc(LiftCoeffFunc liftCoeff) const {
    define(handle_, [&](vx::VesselDefinition& def) { def.liftCoeff = liftCoeff; });
}

void VESSEL::SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const {
    if (VesselRecord* vessel = liveVessel(handle_)) {
        vx::setTouchdownPoints(*vessel, {pt1, pt2, pt3});
    }
}

// --- Meshes -----------------------------------------------------------------------------------

unsigned int VESSEL::AddMesh(const char* meshName, const VECTOR3* offset) const {
    // The vessel's definition grows in the host's records, whichever callback asks.
    vx::HostWorkScope hostWork;
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr) {
        return 0;
    }
    vx::MeshRecord& mesh = vessel->meshes.emplace_back();
    mesh.name = meshName != nullptr ? meshName : "";
    if (offset != nullptr) {
        mesh.hasOffset = true;
        mesh.offset = *offset;
    }
    return static_cast<unsigned int>(vessel->meshes.size() - 1);
}

void VESSEL::SetMeshVisibilityMode(unsigned int meshIndex, int mode) const {
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel != nullptr && meshIndex < vessel->meshes.size()) {
        vessel->meshes[meshIndex].visibilityMode = mode;
    }
}

// --- Docks ------------------------------------------------------------------------------------

DOCKHANDLE VESSEL::CreateDock(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot) const {
    vx::HostWorkScope hostWork;
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr) {
        return nullptr;
    }
    auto port = std::make_unique<VxDock>();
    port->owner = vessel;
    port->index = static_cast<unsigned int>(vessel->docks.size());
    port->pos = pos;
    port->dir = dir;
    port->rot = rot;
    vessel->docks.push_back(std::move(port));
    return vessel->docks.back().get();
}

unsigned int VESSEL::DockCount() const {
    const VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr ? static_cast<unsigned int>(vessel->docks.size()) : 0;
}

DOCKHANDLE VESSEL::GetDockHandle(unsigned int index) const {
    const VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || index >= vessel->docks.size()) {
        return nullptr;
    }
    return vessel->docks[index].get();
}

OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE dock) const {
    const VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || dock == nullptr || dock->owner != vessel || dock->mate == nullptr) {
        return nullptr;
    }
    return liveVessel(dock->mate->owner);
}

// --- Animations -------------------------------------------------------------------------------

unsigned int VESSEL::CreateAnimation(double initialState) const {
    vx::HostWorkScope hostWork;
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr) {
        return 0;
    }
    vessel->animations.emplace_back().state = initialState;
    return static_cast<unsigned int>(vessel->animations.size() - 1);
}

ANIMATIONCOMPONENT_HANDLE
VESSEL::AddAnimationComponent(unsigned int anim, double state0, double state1,
                              MGROUP_TRANSFORM* transform, ANIMATIONCOMPONENT_HANDLE parent) const {
    vx::HostWorkScope hostWork;
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || anim >= vessel->animations.size()) {
        return nullptr;
    }
    auto component = std::make_unique<VxAnimationComponent>();
    component->animation = anim;
    component->state0 = state0;
    component->state1 = state1;
    component->transform = transform;
    component->parent = parent;
    auto& components = vessel->animations[anim].components;
    components.push_back(std::move(component));
    return components.back().get();
}

bool VESSEL::SetAnimation(unsigned int anim, double state) const {
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || anim >= vessel->animations.size()) {
        return false;
    }
    vessel->animations[anim].state = state;
    return true;
}

// --- Attachment points ------------------------------------------------------------------------

namespace {

std::vector<std::unique_ptr<VxAttachment>>& pointsOf(VesselRecord& vessel, bool toParent) {
    return toParent ? vessel.parentPoints : vessel.childPoints;
}

// The point, when it is one of this vessel's.
VxAttachment* ownPoint(OBJHANDLE handle, ATTACHMENTHANDLE attachment) {
    VesselRecord* vessel = liveVessel(handle);
    if (vessel == nullptr || attachment == nullptr || attachment->owner != vessel) {
        return nullptr;
    }
    return attachment;
}

} // namespace

ATTACHMENTHANDLE VESSEL::CreateAttachment(bool toParent, const VECTOR3& pos, const VECTOR3& dir,
                                          const VECTOR3& rot, const char* id, bool loose) const {
    vx::HostWorkScope hostWork;
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr) {
        return nullptr;
    }
    auto point = std::make_unique<VxAttachment>();
    point->owner = vessel;
    point->toParent = toParent;
    point->loose = loose;
    if (id != nullptr) {
        const std::size_t kept = std::min(std::strlen(id), point->id.size() - 1);
        std::memcpy(point->id.data(), id, kept);
    }
    point->pos = pos;
    point->dir = dir;
    point->rot = rot;
    auto& points = pointsOf(*vessel, toParent);
    points.push_back(std::move(point));
    return points.back().get();
}

void VESSEL::SetAttachmentParams(ATTACHMENTHANDLE attachment, const VECTOR3& pos,
                                 const VECTOR3& dir, const VECTOR3& rot) const {
    if (VxAttachment* point = ownPoint(handle_, attachment)) {
        point->pos = pos;
        point->dir = dir;
        point->rot = rot;
    }
}

void VESSEL::GetAttachmentParams(ATTACHMENTHANDLE attachment, VECTOR3& pos, VECTOR3& dir,
                                 VECTOR3& rot) const {
    if (const VxAttachment* point = ownPoint(handle_, attachment)) {
        pos = point->pos;
        dir = point->dir;
        rot = point->rot;
    } else {
        pos = dir = rot = VECTOR3{0.0, 0.0, 0.0};
    }
}

unsigned int VESSEL::AttachmentCount(bool toParent) const {
    VesselRecord* vessel = liveVessel(handle_);
    return vessel != nullptr ? static_cast<unsigned int>(pointsOf(*vessel, toParent).size()) : 0;
}

ATTACHMENTHANDLE VESSEL::GetAttachmentHandle(bool toParent, unsigned int index) const {
    VesselRecord* vessel = liveVessel(handle_);
    if (vessel == nullptr || index >= pointsOf(*vessel, toParent).size()) {
        return nullptr;
    }
    return pointsOf(*vessel, toParent)[index].get();
}

const char* VESSEL::GetAttachmentId(ATTACHMENTHANDLE attachment) const {
    const VxAttachment* point = ownPoint(handle_, attachment);
    return point != nullptr ? point->id.data() : nullptr;
}
