// VESSEL: the host's interface to one vessel. Every operation is the host's; a module holds
// a VESSEL (through its VESSEL2-derived class) and calls these on it. VESSEL has no virtual
// functions and no virtual destructor, so an object derived from it must be destroyed through
// its own type.
#pragma once

#include "host/Animation.h"
#include "host/Export.h"
#include "host/Geometry.h"
#include "host/Handles.h"
#include "host/VesselStatus.h"

// Lift coefficient as a function of the angle of attack in radians.
using LiftCoeffFunc = double (*)(double aoa);

class VXAPI VESSEL {
public:
    explicit VESSEL(OBJHANDLE hVessel, int flightModel = 1);
    ~VESSEL();
    VESSEL(const VESSEL&) = delete;
    VESSEL& operator=(const VESSEL&) = delete;

    // Which generation of the interface the object implements: 1 for VESSEL, 2 for VESSEL2.
    int Version() const { return version_; }

    // --- Identity -------------------------------------------------------------------------
    OBJHANDLE GetHandle() const;
    // The vessel's unique name; stays valid as long as the vessel exists.
    const char* GetName() const;
    // The vessel's class name, as the scenario or the creator gave it.
    const char* GetClassNameA() const;
    // The flight model number the host created the vessel with.
    int GetFlightModel() const;

    // --- Definition (normally set once in clbkSetClassCaps) ----------------------------------
    void SetSize(double size) const;
    void SetAlbedoRGB(const VECTOR3& albedo) const;
    void SetVisibilityLimit(double visLimit, double spotLimit = -1.0) const;
    void SetEmptyMass(double mass) const;
    double GetEmptyMass() const;
    // Drag coefficients: forward (+z), backward (-z), lateral (x), vertical (y).
    void SetCW(double cwZPos, double cwZNeg, double cwX, double cwY) const;
    void SetWingAspect(double aspect) const;
    void SetWingEffectiveness(double effectiveness) const;
    void SetCrossSections(const VECTOR3& crossSections) const;
    void SetRotDrag(const VECTOR3& rotDrag) const;
    void SetPitchMomentScale(double scale) const;
    void SetBankMomentScale(double scale) const;
    void SetPMI(const VECTOR3& pmi) const;
    void SetTrimScale(double scale) const;
    void SetCameraOffset(const VECTOR3& offset) const;
    void SetLiftCoeffFunc(LiftCoeffFunc liftCoeff) const;
    // Three points of the vessel frame that touch the ground first.
    void SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const;
    // Adds a mesh by name; returns its index (0 for the first). offset null means none.
    unsigned int AddMesh(const char* meshName, const VECTOR3* offset = nullptr) const;
    void SetMeshVisibilityMode(unsigned int meshIndex, int mode) const;
    // Adds a docking port; ports are numbered in creation order from 0.
    DOCKHANDLE CreateDock(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot) const;

    // --- Animations ----------------------------------------------------------------------------
    // Creates an animation at the given state; returns its id.
    unsigned int CreateAnimation(double initialState) const;
    // Adds a transform to an animation over the state range state0..state1. The host keeps
    // the transform pointer.
    ANIMATIONCOMPONENT_HANDLE
    AddAnimationComponent(unsigned int anim, double state0, double state1,
                          MGROUP_TRANSFORM* transform,
                          ANIMATIONCOMPONENT_HANDLE parent = nullptr) const;
    // Sets the state (0..1) of an animation; false for an unknown id.
    bool SetAnimation(unsigned int anim, double state) const;

    // --- Docking ---------------------------------------------------------------------------
    unsigned int DockCount() const;
    // The port with this index, or null.
    DOCKHANDLE GetDockHandle(unsigned int index) const;
    // The vessel docked at this port, or null.
    OBJHANDLE GetDockStatus(DOCKHANDLE dock) const;

    // --- Attachment points -------------------------------------------------------------------
    // Creates a point for parents (toParent true) or for children (false). Its id (at most
    // 8 characters are kept) and its three vectors are kept exactly as given.
    ATTACHMENTHANDLE CreateAttachment(bool toParent, const VECTOR3& pos, const VECTOR3& dir,
                                      const VECTOR3& rot, const char* id, bool loose = false) const;
    void SetAttachmentParams(ATTACHMENTHANDLE attachment, const VECTOR3& pos, const VECTOR3& dir,
                             const VECTOR3& rot) const;
    void GetAttachmentParams(ATTACHMENTHANDLE attachment, VECTOR3& pos, VECTOR3& dir,
                             VECTOR3& rot) const;
    // Number of points for parents (true) or for children (false).
    unsigned int AttachmentCount(bool toParent) const;
    // The i-th point of that kind in creation order, or null.
    ATTACHMENTHANDLE GetAttachmentHandle(bool toParent, unsigned int index) const;
    // The point's id, zero-terminated; null for a null handle.
    const char* GetAttachmentId(ATTACHMENTHANDLE attachment) const;

    // --- State, frames and motion --------------------------------------------------------------
    void GetStatus(VESSELSTATUS& status) const;
    // Applies a state record (position, velocity, orientation, angular velocity, status).
    void DefSetState(const VESSELSTATUS* status) const;
    void GetGlobalPos(VECTOR3& pos) const;
    void SetGlobalPos(const VECTOR3& pos) const;
    void GetRotationMatrix(MATRIX3& rotation) const;
    void SetRotationMatrix(const MATRIX3& rotation) const;
    // Angular velocity in the vessel's own frame, rad/s.
    void GetAngularVel(VECTOR3& avel) const;
    // Vessel-frame point to a position relative to the reference body (global axes).
    void Local2Rel(const VECTOR3& local, VECTOR3& rel) const;
    // Vessel-frame direction to global axes (rotation only).
    void GlobalRot(const VECTOR3& local, VECTOR3& global) const;
    // Global position to the vessel frame.
    void Global2Local(const VECTOR3& global, VECTOR3& local) const;
    // Velocity relative to the body in the local horizon frame: x east, y up, z north.
    // Returns false when it cannot be given.
    bool GetHorizonAirspeedVector(VECTOR3& velocity) const;
    // True while the vessel touches the ground.
    bool GroundContact() const;

    // --- Scenario ----------------------------------------------------------------------------
    // Reads one of the host's standard lines of a vessel block into status (the pointer the
    // host passed to clbkLoadStateEx). Returns true when the line was the host's.
    bool ParseScenarioLineEx(char* line, void* status) const;
    // Writes the host's standard lines of this vessel.
    void SaveDefaultState(FILEHANDLE scn) const;

protected:
    OBJHANDLE handle_; // the host's vessel this object speaks for; never null
    int flightModel_;  // flight model number given at creation
    int version_;      // 1 for VESSEL; VESSEL2 sets 2
};
