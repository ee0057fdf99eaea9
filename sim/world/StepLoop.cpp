// One step of the world: pre-step callbacks, motion, ground contact, post-step callbacks, the
// focus vessel's HUD, and the destruction of vessels deleted on the way. Nothing here touches
// the heap while no vessel is created or deleted.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include "sim/text/Bounds.h"
#include "sim/text/NumberText.h"
#include "sim/world/EventKinds.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/VesselState.h"
#include "sim/world/World.h"

namespace vx {

namespace {

constexpr double kMjdAtZero = 51544.5; // date of simulated time 0
// A scenario's AVEL bound in the radians a second a vessel turns by.
const bounds::Range kSpinRadians{degreesToRadians(bounds::kSpin.low),
                                 degreesToRadians(bounds::kSpin.high), bounds::kSpin.text};
constexpr double kSecondsPerDay = 86400.0;

bool turnsInFlight(const VesselRecord& vessel) {
    return vessel.status() == VESSELSTATUS_FLIGHT && vessel.ground() == GroundPhase::Free &&
           (vessel.avel.x != 0.0 || vessel.avel.y != 0.0 || vessel.avel.z != 0.0);
}

bool vectorWithin(const VECTOR3& v, const bounds::Range& range) {
    return bounds::within(range, v.x) && bounds::within(range, v.y) && bounds::within(range, v.z);
}

// How far ahead the callback walk asks for the vessels it is about to call.
constexpr std::size_t kPrefetchAhead = 4;
// How far ahead the motion walk asks for the table's slots.
constexpr std::size_t kSlotPrefetch = 16;

} // namespace

bool World::step(double dt) {
    if (!bounds::within(bounds::kTime, simt_ + dt)) {
        stepError_ = "the simulated time would pass " + formatNumber(bounds::kTime.high) +
                     " s, the most it may reach";
        return false;
    }
    outOfBounds_ = nullptr;
    inStep_ = true;
    simdt_ = dt;
    simt_ += dt;
    clock_.advance(dt);
    const double mjd = kMjdAtZero + simt_ / kSecondsPerDay;

    // Vessels created during the step are not in the snapshot, and their motion slots lie at
    // or above steppedSlots_: they step from the next one.
    stepHooks_.assign(hooks_.begin(), hooks_.end());
    steppedSlots_ = motionSlots_;
    {
        Dispatch dispatch(*this);
        callHooks<GuardedCallback::PreStep, kPreStepHook>(mjd);
    }
    moveVessels(dt);
    {
        Dispatch dispatch(*this);
        callHooks<GuardedCallback::PostStep, kPostStepHook>(mjd);
        drawHud();
    }
    inStep_ = false;
    destroyPending();
    reportDebugLine();
    return outOfBounds_ == nullptr || !describeOutOfBounds(*outOfBounds_);
}

void World::checkBounds(const MotionState& motion, VesselRecord* owner) {
    if (!vectorWithin(motion.pos, bounds::kPosition) ||
        !vectorWithin(motion.vel, bounds::kVelocity)) {
        outOfBounds_ = outOfBounds_ != nullptr ? outOfBounds_ : owner;
    }
}

bool World::describeOutOfBounds(const VesselRecord& vessel) {
    const auto describe = [&](const char* what, const VECTOR3& v, const bounds::Range& range) {
        if (vectorWithin(v, range)) {
            return false;
        }
        std::string value;
        appendVector(value, v);
        stepError_ = "vessel '" + vessel.name + "' left the bounds: its " + what + " (" + value +
                     ") is out of range, " + range.text;
        return true;
    };
    // A vessel deleted in the step after it moved is gone: nothing of it is left to save.
    return vessel.alive &&
           (describe("position", vessel.pos(), bounds::kPosition) ||
            describe("velocity", vessel.vel(), bounds::kVelocity) ||
            describe("angular velocity", scale(vessel.avel, radiansToDegrees(1.0)), bounds::kSpin));
}

template <GuardedCallback Which, std::uint8_t Hook> void World::callHooks(double mjd) {
    const StepHook* const begin = stepHooks_.data();
    const StepHook* const end = begin + stepHooks_.size();
    for (const StepHook* at = begin; at != end; ++at) {
        if (end - at > static_cast<std::ptrdiff_t>(kPrefetchAhead)) {
            __builtin_prefetch(at[kPrefetchAhead].vessel);
            __builtin_prefetch(at[kPrefetchAhead].callbacks);
        }
        // A vessel deleted by an earlier callback of this walk is not called.
        if ((at->hooks & Hook) == 0 || !at->vessel->alive) {
            continue;
        }
        ModuleCallScope guard(*at->allocations, Which);
        if constexpr (Which == GuardedCallback::PreStep) {
            at->callbacks->clbkPreStep(simt_, simdt_, mjd);
        } else {
            at->callbacks->clbkPostStep(simt_, simdt_, mjd);
        }
    }
}

template <class Visit> void World::forEachSteppedSlot(Visit visit) {
    for (std::size_t first = 0; first < steppedSlots_; first += kMotionBlock) {
        MotionBlock& block = *motionBlocks_[first / kMotionBlock];
        const std::size_t count = std::min(kMotionBlock, steppedSlots_ - first);
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kSlotPrefetch < count) {
                __builtin_prefetch(&block.state[i + kSlotPrefetch], 1);
            }
            if ((block.state[i].flags & kMotionListed) != 0) {
                visit(block.state[i], block.owner[i]);
            }
        }
    }
}

void World::coast(MotionState& motion, double dt) const {
    if (motion.status == VESSELSTATUS_LANDED || motion.ground != GroundPhase::Free) {
        return; // on the ground, or held at the point of touchdown
    }
    if (body_.gm != 0.0) {
        const double r = length(motion.pos);
        if (r > 0.0) {
            motion.vel = add(motion.vel, scale(motion.pos, -body_.gm / (r * r * r) * dt));
        }
    }
    motion.pos = add(motion.pos, scale(motion.vel, dt));
}

void World::turn(VesselRecord& vessel, double dt) {
    if (vessel.status() == VESSELSTATUS_LANDED || vessel.ground() != GroundPhase::Free) {
        return;
    }
    if (!vectorWithin(vessel.avel, kSpinRadians)) {
        outOfBounds_ = outOfBounds_ != nullptr ? outOfBounds_ : &vessel;
        return;
    }
    const double spin = length(vessel.avel);
    if (spin > 0.0) { // idle vessels are left alone: no matrix work, no rounding
        const MATRIX3 turn = axisRotation(scale(vessel.avel, 1.0 / spin), spin * dt);
        assignRotation(vessel, orthonormalised(mul(vessel.rot, turn)));
    }
}

void World::moveVessels(double dt) {
    if (groupsDirty_) {
        regroup();
    }
    if (anyFollowers_) {
        moveDockedVessels(dt);
        return;
    }
    // Nobody docked: each vessel's motion and ground contact depend on itself alone, so one
    // walk over the motion table does both, in any order. Only a vessel that may turn or
    // comes to rest reaches its record.
    forEachSteppedSlot([&](MotionState& motion, VesselRecord* const& owner) {
        if ((motion.flags & kMotionMayTurn) != 0) {
            turn(*owner, dt);
        }
        coast(motion, dt);
        touchGround(motion, owner);
        checkBounds(motion, owner);
    });
}

void World::moveDockedVessels(double dt) {
    forEachSteppedSlot([&](MotionState& motion, VesselRecord* const& owner) {
        VesselRecord& vessel = *owner;
        if (!vessel.isFollower()) {
            if ((motion.flags & kMotionMayTurn) != 0) {
                turn(vessel, dt);
            }
            coast(motion, dt);
        }
    });
    // Followers take their pose from their leader as it is now.
    forEachSteppedSlot([&](MotionState& motion, VesselRecord* const& owner) {
        VesselRecord& vessel = *owner;
        if (!vessel.isFollower()) {
            return;
        }
        const VesselRecord& lead = *vessel.leader;
        const VECTOR3 arm = mul(lead.rot, vessel.relPos);
        motion.pos = add(lead.pos(), arm);
        motion.vel = add(lead.vel(), mul(lead.rot, cross(lead.avel, vessel.relPos)));
        // Only a leader that turned moves its followers' frames, so that an idle group keeps
        // every member's orientation to the bit.
        if (turnsInFlight(lead)) {
            assignRotation(vessel, mul(lead.rot, vessel.relRot));
        }
        motion.status = lead.status();
        motion.ground = lead.ground();
    });
    forEachSteppedSlot([&](MotionState& motion, VesselRecord* const& owner) {
        if (!owner->isFollower()) {
            touchGround(motion, owner);
        }
        checkBounds(motion, owner);
    });
}

void World::touchGround(MotionState& motion, VesselRecord* const& owner) {
    if (motion.status == VESSELSTATUS_LANDED) {
        return;
    }
    if (motion.ground == GroundPhase::Impact) {
        // The step after touchdown has seen the impact speed: now the vessel rests.
        motion.vel = {0.0, 0.0, 0.0};
        assignAngularVel(*owner, {0.0, 0.0, 0.0});
        motion.status = VESSELSTATUS_LANDED;
        motion.ground = GroundPhase::Landed;
        return;
    }
    const double r = length(motion.pos);
    if (r - body_.radius <= motion.clearance) {
        const VECTOR3 up = r > 0.0 ? scale(motion.pos, 1.0 / r) : VECTOR3{0.0, 1.0, 0.0};
        motion.pos = scale(up, body_.radius + motion.clearance);
        motion.ground = GroundPhase::Impact;
    }
}

void World::drawHud() {
    VesselRecord* vessel = focus_;
    if (vessel == nullptr || !vessel->alive) {
        return;
    }
    HudFrame& frame = hudFrames_[hudCurrent_];
    HDC dc = hudCapture_.begin(frame);
    if (VESSEL2* callbacks = callbacksOf(*vessel)) {
        HUDPAINTSPEC paint{};
        paint.W = hudWidth_;
        paint.H = hudHeight_;
        paint.CX = hudWidth_ / 2;
        paint.CY = hudHeight_ / 2;
        paint.Scale = static_cast<double>(hudHeight_) / 40.0;
        paint.Markersize = hudHeight_ / 50;
        ModuleCallScope guard(allocationsOf(*vessel), GuardedCallback::DrawHud);
        callbacks->clbkDrawHUD(1, &paint, dc);
    }
    const HudFrame& last = hudFrames_[1 - hudCurrent_];
    if (vessel == hudVessel_ && frame.sameTexts(last)) {
        return;
    }
    hudVessel_ = vessel;
    hudCurrent_ = 1 - hudCurrent_;
    frame.joined(hudText_);
    if (vessel->alive) {
        vessel->hudDrawn = frame.count() > 0;
        vessel->hudText = hudText_;
    }
    if constexpr (!HudCapture::kCapturesText) {
        eventText_.assign(vessel->name).append(" ").append(HudCapture::kNotCaptured);
        emit(events::kHud, eventText_);
        return;
    }
    if (frame.count() == 0) {
        eventText_.assign(vessel->name).append(" -");
        emit(events::kHud, eventText_);
        return;
    }
    char place[32];
    for (int i = 0; i < frame.count(); ++i) {
        const HudText& text = frame.at(i);
        std::snprintf(place, sizeof place, " (%d,%d) ", text.x, text.y);
        eventText_.assign(vessel->name)
            .append(place)
            .append(text.text.data(), static_cast<std::size_t>(text.length));
        emit(events::kHud, eventText_);
    }
}

void World::reportDebugLine() {
    if (debug_.takeChange()) {
        const char* line = debug_.text();
        emit(events::kDebug, line[0] == '\0' ? std::string_view("-") : std::string_view(line));
    }
}

} // namespace vx
