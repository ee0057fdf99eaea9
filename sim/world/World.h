// The one world the stand-in host runs: the body, the vessels and their docks, time and the
// services, the step loop, keys and the HUD. The vapi functions and VESSEL methods work on the
// current world (there is one at a time); vxsim and the tests drive it through this class.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/Vessel2.h"
#include "host/VesselStatus.h"
#include "sim/text/KeyName.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/ClassRegistry.h"
#include "sim/world/HostExport.h"
#include "sim/world/HudCapture.h"
#include "sim/world/RecordPool.h"
#include "sim/world/ScenarioFile.h"
#include "sim/world/Services.h"
#include "sim/world/VesselRecord.h"

namespace vx {

struct WorldOptions {
    std::uint64_t seed = 1; // vapiRand's generator
    bool wallclock = false; // vapiGetSysTime from the real clock
    int flightModel = 1;    // passed to every vvcInit
    std::string moduleFolder = "modules";
    std::string logFile = "vxsim.log";
};

// One event of the run: kind as the transcript names it ("vessel+", "hud", ...), its text.
using EventSink = std::function<void(double simt, std::string_view kind, std::string_view text)>;
// A warning for the user (a scenario line nobody claimed); by default on standard error.
using WarningSink = std::function<void(std::string_view message)>;

class VXHOST_API World {
public:
    explicit World(WorldOptions options = {});
    // Destroys every vessel, then unloads the modules.
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The world the host's functions work on, or null.
    static World* current();

    ClassRegistry& classes() { return classes_; }
    void setEventSink(EventSink sink) { events_ = std::move(sink); }
    void setWarningSink(WarningSink sink) { warnings_ = std::move(sink); }

    // --- Scenario ------------------------------------------------------------------------------
    // Loads a parsed scenario into this (empty) world. On failure everything it created is
    // gone again, nothing was logged or reported, and error says "FILE:LINE: reason".
    bool load(const ScenarioDoc& doc, std::string& error);
    // The whole scenario as the host saves it.
    std::string scenarioText();
    // Writes scenarioText() to path through a temporary file in the same folder; the event
    // names the file as shownName.
    bool save(const std::string& path, std::string_view shownName, std::string& error);

    // --- Running -----------------------------------------------------------------------------
    // One step. False when it could not be taken (the simulated time would pass its bound) or
    // when a vessel left the bounds in it (a position, velocity or turn out of range, or not a
    // number): nothing the world holds then could be saved to be read again, and stepError()
    // says why.
    bool step(double dt);
    const std::string& stepError() const { return stepError_; }
    // Presses and releases a key on the focus vessel; the down event's result.
    int pressKey(const KeySpec& key);
    bool inStep() const { return inStep_; }

    // --- Vessels -----------------------------------------------------------------------------
    // As vapiCreateVessel; null (with a reason) for an empty or taken name or a missing class.
    VesselRecord* createVessel(std::string_view name, std::string_view className,
                               const VESSELSTATUS& status, std::string* reason = nullptr);
    bool deleteVessel(VesselRecord* vessel);
    VesselRecord* findVessel(std::string_view name) const;
    VxObject* findObject(std::string_view name) const;
    const std::vector<VesselRecord*>& vessels() const { return vessels_; }
    VesselRecord* focus() const { return focus_; }
    // Gives the focus to a live vessel; returns the previous focus. Null changes nothing.
    VesselRecord* setFocus(VesselRecord* vessel);
    bool dock(VesselRecord* a, unsigned int portA, VesselRecord* b, unsigned int portB,
              std::string& reason);
    bool undock(VesselRecord* a, unsigned int port, std::string& reason);
    // Puts vessel at ref's Local2Rel(local), with ref's velocity, orientation and status.
    void place(VesselRecord* vessel, VesselRecord* ref, const VECTOR3& local);
    // Called when a vessel's pose was set from outside the step (a module, a tool): a docked
    // group then takes the new relative poses at the next step.
    void poseChanged(VesselRecord& vessel);

    // --- World values and services -------------------------------------------------------------
    BodyRecord& body() { return body_; }
    int flightModel() const { return options_.flightModel; }
    double simTime() const { return simt_; }
    double simStep() const { return simdt_; }
    double sysTime() const { return clock_.now(); }
    double rand() { return random_.next(); }
    int hudWidth() const { return hudWidth_; }
    int hudHeight() const { return hudHeight_; }
    void setHudSize(int width, int height);
    // The texts of the last HUD frame, joined by " | ".
    const std::string& hudText() const { return hudText_; }
    // The texts of the last HUD frame with the places they were drawn at.
    const HudFrame& hudFrame() const { return hudFrames_[1 - hudCurrent_]; }
    char* debugBuffer() { return debug_.buffer(); }
    const char* debugText() const { return debug_.text(); }
    void writeLog(std::string_view line);

    // --- For the host's functions --------------------------------------------------------------
    // The load record a vessel's ParseScenarioLineEx may write into (the one its
    // clbkLoadStateEx was given), or null.
    LoadStatus* activeLoad(const void* status) const;
    const VxScenarioFile* activeFile() const { return activeFile_; }
    void emit(std::string_view kind, std::string_view text);
    void warn(std::string_view message);
    // Warns of a line of a vessel's block that neither its class nor the host understood. The
    // same kind of line (its first word) of one class is shown a few times in a load; the rest
    // are counted in one line when the load ends.
    void skipLine(const std::string& where, std::string_view className, std::string_view line);

private:
    struct PendingEvent {
        double simt;
        std::string kind;
        std::string text;
    };

    VesselRecord* newRecord(std::string_view name, std::string_view className,
                            const VesselClass* vesselClass);
    bool initVessel(VesselRecord& vessel);
    void destroy(VesselRecord& vessel);
    void destroyPending();
    void unlist(VesselRecord& vessel);
    // Every vessel leaves the lists, waiting in doomed_ to be destroyed.
    void unlistAll();
    void resetAfterFailedLoad();
    bool loadBlocks(const ScenarioDoc& doc, std::vector<LoadStatus>& statuses, std::string& error);
    bool applyDocks(const ScenarioDoc& doc, const std::vector<LoadStatus>& statuses,
                    std::string& error);
    void readBlock(VesselRecord& vessel, const VesselBlock& block, const std::string& source,
                   LoadStatus& status);
    void writeBlock(VesselRecord& vessel, std::string& out);

    // Motion and then ground contact, for every vessel listed when the step began.
    void moveVessels(double dt);
    void moveDockedVessels(double dt);
    void coast(MotionState& motion, double dt) const;
    void turn(VesselRecord& vessel, double dt);
    // The owner is read only when the vessel comes to rest.
    void touchGround(MotionState& motion, VesselRecord* const& owner);
    // Notes the first vessel of the step whose motion left the bounds; cheap when none does.
    void checkBounds(const MotionState& motion, VesselRecord* owner);
    bool describeOutOfBounds(const VesselRecord& vessel);
    void drawHud();
    void reportDebugLine();
    void regroup();
    bool portTaken(const VxDock& port, const VxDock& wanted) const;

    // A listed vessel whose object has a pre- or post-step callback of its own.
    struct StepHook {
        VesselRecord* vessel;
        VESSEL2* callbacks;
        CallbackAllocations* allocations;
        std::uint8_t hooks; // kPreStepHook, kPostStepHook
    };
    void listHooks(VesselRecord& vessel);
    template <GuardedCallback Which, std::uint8_t Hook> void callHooks(double mjd);

    // The motion table holds the motion state of every listed vessel, in blocks that never
    // move. The slots of vessels that left the list are taken again, but not during a step:
    // the step moves the slots below the count it began with, so a vessel created in it waits
    // for the next.
    static constexpr std::size_t kMotionBlock = 512;
    struct MotionBlock {
        std::array<MotionState, kMotionBlock> state;
        std::array<VesselRecord*, kMotionBlock> owner;
    };
    void bindMotion(VesselRecord& vessel);
    void releaseMotion(VesselRecord& vessel);
    template <class Visit> void forEachSteppedSlot(Visit visit);

    // Callbacks made by the host, counted so that a vessel deleted inside one is destroyed
    // only once the outermost has returned.
    struct Dispatch {
        explicit Dispatch(World& world) : world_(world) { ++world_.dispatchDepth_; }
        ~Dispatch();
        Dispatch(const Dispatch&) = delete;
        Dispatch& operator=(const Dispatch&) = delete;
        World& world_;
    };

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    WorldOptions options_;
    ClassRegistry classes_;
    EventSink events_;
    WarningSink warnings_;

    BodyRecord body_;
    // The class names vessels were made with, each once; records point at them.
    std::unordered_set<std::string, NameHash, std::equal_to<>> classNames_;
    RecordPool<VesselRecord> records_;   // every vessel of the run, dead too
    std::vector<VesselRecord*> vessels_; // live vessels, creation order
    std::unordered_map<std::string, VxObject*, NameHash, std::equal_to<>> names_;
    VesselRecord* focus_ = nullptr;
    std::size_t nextSerial_ = 0;

    double simt_ = 0.0;
    double simdt_ = 0.0;
    bool inStep_ = false;
    int dispatchDepth_ = 0;
    std::vector<StepHook> hooks_;     // listed vessels with step callbacks, creation order
    std::vector<StepHook> stepHooks_; // the step's snapshot of hooks_
    std::vector<std::unique_ptr<MotionBlock>> motionBlocks_;
    std::size_t motionSlots_ = 0;         // slots ever used, free or not
    std::vector<std::size_t> freeMotion_; // slots to take again
    std::size_t steppedSlots_ = 0;        // motionSlots_ when the step began
    std::vector<VesselRecord*> doomed_;   // deleted, waiting for vvcExit
    VesselRecord* outOfBounds_ = nullptr; // the first vessel of this step that left the bounds
    std::string stepError_;
    bool groupsDirty_ = false;
    bool anyFollowers_ = false; // some vessel follows a group leader; set by regroup

    SystemClock clock_;
    Random random_;
    DebugLine debug_;
    HostLog log_;

    int hudWidth_ = 1024;
    int hudHeight_ = 768;
    HudCapture hudCapture_;
    HudFrame hudFrames_[2];
    int hudCurrent_ = 0;
    VesselRecord* hudVessel_ = nullptr; // whose HUD the last frame was
    std::string hudText_;
    std::string eventText_; // reused for event texts built on the step path

    struct SkippedLines {
        std::string source; // the file they were in
        std::string like;   // the first word they share
        std::size_t count = 0;
    };
    static constexpr std::size_t kSkipsShown = 3;
    std::map<std::string, SkippedLines, std::less<>> skipped_; // by class and first word
    void reportSkippedLines();

    bool loading_ = false;
    std::vector<PendingEvent> loadEvents_;
    std::vector<std::string> loadLog_;
    LoadStatus* activeLoad_ = nullptr;
    VxScenarioFile* activeFile_ = nullptr;
};

} // namespace vx
