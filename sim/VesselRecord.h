// What the host knows of the objects behind its handles: the body and each vessel with the
// parts a class gives it (docks, attachment points, meshes, animations). Handles are pointers
// to these records; a record outlives its vessel (marked dead) until the world ends, so a
// handle is never reused within a run.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/Animation.h"
#include "host/Geometry.h"
#include "host/Handles.h"
#include "host/Vessel.h"
#include "host/VesselStatus.h"

namespace vx {
struct VesselClass;
struct VesselRecord;
} // namespace vx

enum class ObjectKind { Body, Vessel };

struct VxObject {
    explicit VxObject(ObjectKind objectKind) : kind(objectKind) {}
    ObjectKind kind;
    std::string name;
    bool alive = true; // false once deleted; the record stays until the world ends
};

struct VxDock {
    vx::VesselRecord* owner = nullptr;
    unsigned int index = 0;
    VECTOR3 pos{}, dir{}, rot{};
    VxDock* mate = nullptr; // the other vessel's port while docked
};

struct VxAttachment {
    vx::VesselRecord* owner = nullptr;
    bool toParent = false;
    bool loose = false;
    std::array<char, 9> id{}; // at most 8 characters and a terminator
    VECTOR3 pos{}, dir{}, rot{};
};

struct VxAnimationComponent {
    unsigned int animation = 0;
    double state0 = 0.0;
    double state1 = 1.0;
    MGROUP_TRANSFORM* transform = nullptr; // the module's object, kept by pointer
    VxAnimationComponent* parent = nullptr;
};

namespace vx {

struct BodyRecord : VxObject {
    BodyRecord() : VxObject(ObjectKind::Body) {}
    double radius = 6371000.0;
    double gm = 3.986004418e14;
};

struct MeshRecord {
    std::string name;
    bool hasOffset = false;
    VECTOR3 offset{};
    int visibilityMode = 0;
};

struct AnimationRecord {
    double state = 0.0;
    std::vector<std::unique_ptr<VxAnimationComponent>> components;
};

// Everything a class sets about itself, kept as given.
struct VesselDefinition {
    // First, as every step reads them for the ground test.
    bool hasTouchdownPoints = false;
    std::array<VECTOR3, 3> touchdownPoints{};
    double size = 1.0;
    VECTOR3 albedo{1.0, 1.0, 1.0};
    double visibilityLimit = 0.0;
    double spotLimit = -1.0;
    std::array<double, 4> cw{}; // forward, backward, lateral, vertical
    double wingAspect = 0.0;
    double wingEffectiveness = 0.0;
    VECTOR3 crossSections{};
    VECTOR3 rotDrag{};
    double pitchMomentScale = 0.0;
    double bankMomentScale = 0.0;
    VECTOR3 pmi{};
    double trimScale = 0.0;
    VECTOR3 cameraOffset{};
    LiftCoeffFunc liftCoeff = nullptr;
};

// Ground state of a vessel: Impact is the step after touching down, when the vessel is held at
// its clearance with the speed it hit the ground with.
enum class GroundPhase { Free, Impact, Landed };

// What the step and the arrival scans of modules read for every vessel comes first, so that
// the host walks as few cache lines per vessel as it can however many vessels there are.
struct VesselRecord : VxObject {
    VesselRecord() : VxObject(ObjectKind::Vessel) {}

    VESSEL* iface = nullptr; // what vvcInit returned
    std::string className;
    // Docked group: the earliest-created member leads; the others keep their pose relative
    // to it. leader is null for a vessel docked to nothing.
    VesselRecord* leader = nullptr;
    int status = VESSELSTATUS_FLIGHT;
    GroundPhase ground = GroundPhase::Free;
    VECTOR3 pos{};
    VECTOR3 vel{};
    VECTOR3 avel{};       // vessel frame, rad/s
    VesselDefinition def; // its touchdown points first: every step reads them
    MATRIX3 rot{1, 0, 0, 0, 1, 0, 0, 0, 1};

    const VesselClass* vesselClass = nullptr;
    std::size_t serial = 0; // creation order within the run
    bool destroyed = false; // vvcExit has run
    double fuel = 0.0;
    double engMain = 0.0;
    double engHover = 0.0;

    // The scenario text of the orientation and spin as last loaded or derived: kept while the
    // matrix and the angular velocity hold the same bits, so that loading and saving again
    // gives the same numbers.
    bool oriKnown = true;
    VECTOR3 oriDegrees{};
    bool avelKnown = true;
    VECTOR3 avelDegrees{};

    double emptyMass = 0.0;
    std::vector<std::unique_ptr<VxDock>> docks;
    std::vector<std::unique_ptr<VxAttachment>> parentPoints; // points for parents
    std::vector<std::unique_ptr<VxAttachment>> childPoints;  // points for children
    std::vector<MeshRecord> meshes;
    std::vector<AnimationRecord> animations;

    // Pose relative to the leader of the docked group, while there is one.
    VECTOR3 relPos{};
    MATRIX3 relRot{1, 0, 0, 0, 1, 0, 0, 0, 1};

    // The texts this vessel drew on the last HUD frame it drew, joined by " | ".
    bool hudDrawn = false;
    std::string hudText;

    bool isFollower() const { return leader != nullptr && leader != this; }
};

// The live vessel behind a handle, or null for null, the body or a deleted vessel.
inline VesselRecord* liveVessel(OBJHANDLE handle) {
    if (handle == nullptr || handle->kind != ObjectKind::Vessel || !handle->alive) {
        return nullptr;
    }
    return static_cast<VesselRecord*>(handle);
}

inline OBJHANDLE handleOf(VesselRecord* vessel) {
    return vessel;
}

} // namespace vx
