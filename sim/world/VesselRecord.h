// What the host knows of the objects behind its handles: the body and each vessel with the
// parts a class gives it (docks, attachment points, meshes, animations). Handles are pointers
// to these records; a record outlives its vessel (marked dead) until the world ends, so a
// handle is never reused within a run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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
    // Set through setTouchdownPoints, which keeps the clearance the step uses.
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
enum class GroundPhase : std::uint8_t { Free, Impact, Landed };

// MotionState::flags
inline constexpr std::uint8_t kMotionListed = 1;  // the slot belongs to a vessel in the list
inline constexpr std::uint8_t kMotionMayTurn = 2; // its angular velocity is not all zeros

// What the step reads and writes of every vessel, in one cache line. The world keeps these
// side by side in its motion table, so that a step over many vessels streams through one
// compact array instead of visiting every record.
struct MotionState {
    VECTOR3 pos{};
    VECTOR3 vel{};
    double clearance = 0.0; // groundClearance, kept up to date with the touchdown points
    int status = VESSELSTATUS_FLIGHT;
    GroundPhase ground = GroundPhase::Free;
    std::uint8_t flags = 0;
};
static_assert(sizeof(MotionState) == 64, "one cache line per vessel");

// What the arrival scans of modules read for every vessel comes first, so that they walk as
// few cache lines per vessel as they can however many vessels there are.
// With the record on a line of its own, a handle query's kind, alive, object and class are
// all on that first line.
struct alignas(64) VesselRecord : VxObject {
    VesselRecord() : VxObject(ObjectKind::Vessel) {}
    // The record is reached through pointers (handles, the motion table): it never moves.
    VesselRecord(const VesselRecord&) = delete;
    VesselRecord& operator=(const VesselRecord&) = delete;

    VESSEL* iface = nullptr;    // what vvcInit returned
    const char* classText = ""; // className's text, one copy in the world for each class
    std::string className;

private:
    MotionState* motion_ = &ownMotion_; // read by the scans too, hence up here

public:
    // Docked group: the earliest-created member leads; the others keep their pose relative
    // to it. leader is null for a vessel docked to nothing.
    VesselRecord* leader = nullptr;
    VECTOR3 avel{}; // vessel frame, rad/s; change it with assignAngularVel
    MATRIX3 rot{1, 0, 0, 0, 1, 0, 0, 0, 1};

    // Position, velocity and ground state live in the world's motion table while the vessel
    // is listed, and in the record itself before and after.
    VECTOR3& pos() { return motion_->pos; }
    const VECTOR3& pos() const { return motion_->pos; }
    VECTOR3& vel() { return motion_->vel; }
    const VECTOR3& vel() const { return motion_->vel; }
    int& status() { return motion_->status; }
    int status() const { return motion_->status; }
    GroundPhase& ground() { return motion_->ground; }
    GroundPhase ground() const { return motion_->ground; }
    MotionState& motion() { return *motion_; }
    const MotionState& motion() const { return *motion_; }
    // Moves the motion state into a slot of the world's table, and back into the record.
    void bindMotion(MotionState& slot, std::size_t index) {
        slot = *motion_;
        motion_ = &slot;
        motionSlot = index;
    }
    void unbindMotion() {
        ownMotion_ = *motion_;
        motion_ = &ownMotion_;
    }
    std::size_t motionSlot = 0; // while bound

    VesselDefinition def;

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

private:
    MotionState ownMotion_;
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
