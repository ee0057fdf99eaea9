#include "sim/world/World.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/EventKinds.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "sim/text/Bounds.h"
#include "sim/text/TextWords.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/VesselState.h"

namespace vx {

namespace {

World* currentWorld = nullptr;

// The function a virtual call of member on object reaches, read from the object's table of
// virtual functions as the Itanium C++ ABI lays it out; null where that is not this build's.
template <class Member> const void* virtualTarget(const VESSEL2& object, Member member) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__) || defined(__aarch64__))
    struct Representation {
        std::ptrdiff_t ptr;
        std::ptrdiff_t adj;
    };
    static_assert(sizeof(Member) == sizeof(Representation));
    Representation rep;
    std::memcpy(&rep, &member, sizeof rep);
#if defined(__aarch64__)
    const bool isVirtual = (rep.adj & 1) != 0; // the ARM variant marks it in the adjustment
    const std::ptrdiff_t offset = rep.ptr;
#else
    const bool isVirtual = (rep.ptr & 1) != 0;
    const std::ptrdiff_t offset = rep.ptr - 1;
#endif
    if (!isVirtual) {
        return nullptr;
    }
    // VESSEL has no virtual functions, so the table's pointer opens every VESSEL2.
    const char* table = nullptr;
    std::memcpy(&table, static_cast<const void*>(&object), sizeof table);
    const void* target = nullptr;
    std::memcpy(&target, table + offset, sizeof target);
    return target;
#else
    (void)object;
    (void)member;
    return nullptr;
#endif
}

} // namespace

std::uint8_t stepHooksOf(const VESSEL2& object) {
    static const VESSEL2 defaults(nullptr);
    auto own = [&](auto member) {
        const void* target = virtualTarget(object, member);
        return target == nullptr || target != virtualTarget(defaults, member);
    };
    std::uint8_t hooks = 0;
    if (own(&VESSEL2::clbkPreStep)) {
        hooks |= kPreStepHook;
    }
    if (own(&VESSEL2::clbkPostStep)) {
        hooks |= kPostStepHook;
    }
    return hooks;
}

World* World::current() {
    return currentWorld;
}

World::World(WorldOptions options)
    : options_(std::move(options)), classes_(options_.moduleFolder), clock_(options_.wallclock),
      random_(options_.seed), log_(options_.logFile) {
    body_.name = "Earth";
    names_.emplace(body_.name, &body_);
    warnings_ = [](std::string_view message) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    };
    // Room for a busy run, so that the step never grows these.
    stepHooks_.reserve(64);
    doomed_.reserve(16);
    freeMotion_.reserve(16);
    eventText_.reserve(512);
    hudText_.reserve(512);
    currentWorld = this;
}

World::~World() {
    ++dispatchDepth_;
    unlistAll();
    for (VesselRecord* vessel : doomed_) {
        destroy(*vessel);
    }
    doomed_.clear();
    classes_.clear();
    if (currentWorld == this) {
        currentWorld = nullptr;
    }
}

World::Dispatch::~Dispatch() {
    if (--world_.dispatchDepth_ == 0 && !world_.inStep_) {
        world_.destroyPending();
    }
}

void World::emit(std::string_view kind, std::string_view text) {
    HostWorkScope hostWork;
    if (loading_) {
        loadEvents_.push_back({simt_, std::string(kind), std::string(text)});
        return;
    }
    if (events_) {
        events_(simt_, kind, text);
    }
}

void World::warn(std::string_view message) {
    HostWorkScope hostWork;
    if (warnings_) {
        warnings_(message);
    }
}

void World::writeLog(std::string_view line) {
    HostWorkScope hostWork;
    if (loading_) {
        loadLog_.emplace_back(line);
    } else {
        log_.write(line);
    }
    emit(events::kLog, line);
}

void World::setHudSize(int width, int height) {
    hudWidth_ = width;
    hudHeight_ = height;
}

LoadStatus* World::activeLoad(const void* status) const {
    return status != nullptr && status == activeLoad_ ? activeLoad_ : nullptr;
}

VesselRecord* World::findVessel(std::string_view name) const {
    return liveVessel(findObject(name));
}

VxObject* World::findObject(std::string_view name) const {
    auto found = names_.find(name);
    return found == names_.end() ? nullptr : found->second;
}

VesselRecord* World::newRecord(std::string_view name, std::string_view className,
                               const VesselClass* vesselClass) {
    VesselRecord* vessel = &records_.make();
    vessel->name = std::string(name);
    vessel->className = std::string(className);
    auto interned = classNames_.find(className);
    if (interned == classNames_.end()) {
        interned = classNames_.emplace(className).first;
    }
    vessel->classText = interned->c_str();
    vessel->vesselClass = vesselClass;
    vessel->serial = nextSerial_++;
    vessels_.push_back(vessel);
    names_.emplace(vessel->name, vessel);
    bindMotion(*vessel);
    return vessel;
}

void World::bindMotion(VesselRecord& vessel) {
    std::size_t slot = motionSlots_;
    if (!inStep_ && !freeMotion_.empty()) {
        slot = freeMotion_.back();
        freeMotion_.pop_back();
    } else {
        if (slot == motionBlocks_.size() * kMotionBlock) {
            motionBlocks_.push_back(std::make_unique<MotionBlock>());
        }
        ++motionSlots_;
    }
    MotionBlock& block = *motionBlocks_[slot / kMotionBlock];
    MotionState& state = block.state[slot % kMotionBlock];
    vessel.bindMotion(state, slot);
    state.flags |= kMotionListed;
    block.owner[slot % kMotionBlock] = &vessel;
}

void World::releaseMotion(VesselRecord& vessel) {
    const std::size_t slot = vessel.motionSlot;
    MotionBlock& block = *motionBlocks_[slot / kMotionBlock];
    vessel.unbindMotion();
    vessel.motion().flags &= static_cast<std::uint8_t>(~kMotionListed);
    block.state[slot % kMotionBlock].flags = 0;
    block.owner[slot % kMotionBlock] = nullptr;
    freeMotion_.push_back(slot);
}

void World::listHooks(VesselRecord& vessel) {
    VESSEL2* callbacks = callbacksOf(vessel);
    const std::uint8_t hooks = callbacks != nullptr ? stepHooksOf(*callbacks) : 0;
    if (hooks == 0) {
        return;
    }
    // Creation order, also for a vessel whose class created another one while it was made.
    auto at = std::upper_bound(
        hooks_.begin(), hooks_.end(), vessel.serial,
        [](std::size_t serial, const StepHook& hook) { return serial < hook.vessel->serial; });
    hooks_.insert(at, StepHook{&vessel, callbacks, &allocationsOf(vessel), hooks});
}

bool World::initVessel(VesselRecord& vessel) {
    Dispatch dispatch(*this);
    VESSEL* iface = vessel.vesselClass->init(handleOf(&vessel), options_.flightModel);
    if (iface == nullptr) {
        unlist(vessel);
        vessel.destroyed = true;
        return false;
    }
    vessel.iface = iface;
    if (vessel.alive) {
        listHooks(vessel);
    }
    if (VESSEL2* callbacks = callbacksOf(vessel)) {
        callbacks->clbkSetClassCaps(nullptr);
    }
    return true;
}

VesselRecord* World::createVessel(std::string_view name, std::string_view className,
                                  const VESSELSTATUS& status, std::string* reason) {
    // The new vessel, its module's object and everything it sets up are the host's doing.
    HostWorkScope hostWork;
    auto refuse = [&](std::string why) -> VesselRecord* {
        if (reason != nullptr) {
            *reason = std::move(why);
        }
        return nullptr;
    };
    if (name.empty()) {
        return refuse("a vessel needs a name");
    }
    if (findObject(name) != nullptr) {
        return refuse("the name " + text::quoted(name) + " is taken");
    }
    if (vessels_.size() >= bounds::kVessels) {
        return refuse(std::to_string(bounds::kVessels) +
                      " vessels are alive, the most there may be");
    }
    const VesselClass* vesselClass = classes_.find(className, reason);
    if (vesselClass == nullptr) {
        return nullptr;
    }
    VesselRecord* vessel = newRecord(name, className, vesselClass);
    if (!initVessel(*vessel)) {
        return refuse("class " + text::quoted(className) + " created no vessel");
    }
    {
        Dispatch dispatch(*this);
        if (VESSEL2* callbacks = callbacksOf(*vessel)) {
            callbacks->clbkSetStateEx(&status);
            if (vessel->alive) {
                callbacks->clbkPostCreation();
            }
        } else {
            applyStatus(*vessel, status);
        }
    }
    if (vessel->alive) {
        eventText_.assign(vessel->name).append(" (").append(vessel->className).append(")");
        emit(events::kVesselCreated, eventText_);
        // The host always has a focus while there are vessels; a scenario load sets its own.
        if (focus_ == nullptr && !loading_) {
            setFocus(vessel);
        }
    }
    return vessel;
}

void World::unlistAll() {
    // All at once: one vessel at a time would cost the square of their number.
    for (VesselRecord* vessel : vessels_) {
        vessel->alive = false;
        names_.erase(vessel->name);
        releaseMotion(*vessel);
        doomed_.push_back(vessel);
    }
    vessels_.clear();
    hooks_.clear();
}

void World::unlist(VesselRecord& vessel) {
    vessel.alive = false;
    vessels_.erase(std::find(vessels_.begin(), vessels_.end(), &vessel));
    names_.erase(vessel.name);
    std::erase_if(hooks_, [&](const StepHook& hook) { return hook.vessel == &vessel; });
    releaseMotion(vessel);
}

bool World::deleteVessel(VesselRecord* vessel) {
    HostWorkScope hostWork;
    if (vessel == nullptr || !vessel->alive) {
        return false;
    }
    for (auto& port : vessel->docks) {
        if (port->mate != nullptr) {
            std::string reason;
            undock(vessel, port->index, reason);
        }
    }
    unlist(*vessel);
    emit(events::kVesselDeleted, vessel->name);
    if (focus_ == vessel) {
        focus_ = nullptr;
        if (!vessels_.empty()) {
            setFocus(vessels_.front());
        }
    }
    doomed_.push_back(vessel);
    if (!inStep_ && dispatchDepth_ == 0) {
        destroyPending();
    }
    return true;
}

void World::destroy(VesselRecord& vessel) {
    if (vessel.destroyed) {
        return;
    }
    vessel.destroyed = true;
    VESSEL* iface = vessel.iface;
    vessel.iface = nullptr;
    if (iface != nullptr && vessel.vesselClass != nullptr && vessel.vesselClass->exit) {
        vessel.vesselClass->exit(iface);
    }
}

void World::destroyPending() {
    // vvcExit may delete further vessels; they join the list and are handled here too.
    for (std::size_t i = 0; i < doomed_.size(); ++i) {
        destroy(*doomed_[i]);
    }
    doomed_.clear();
}

VesselRecord* World::setFocus(VesselRecord* vessel) {
    if (vessel == nullptr || !vessel->alive) {
        return nullptr;
    }
    VesselRecord* previous = focus_;
    if (previous != vessel) {
        focus_ = vessel;
        emit(events::kFocus, vessel->name);
    }
    return previous;
}

} // namespace vx
