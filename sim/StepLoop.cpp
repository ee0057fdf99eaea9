// One step of the world: pre-step callbacks, motion, ground contact, post-step callbacks, the
// focus vessel's HUD, and the destruction of vessels deleted on the way. Nothing here touches
// the heap while no vessel is created or deleted.
#include <cmath>
#include <cstdio>

#include "sim/Math3.h"
#include "sim/VesselCallbacks.h"
#include "sim/VesselState.h"
#include "sim/World.h"

namespace vx {

namespace {

constexpr double kMjdAtZero = 51544.5; // date of simulated time 0
constexpr double kSecondsPerDay = 86400.0;

bool turnsInFlight(const VesselRecord& vessel) {
    return vessel.status == VESSELSTATUS_FLIGHT && vessel.ground == GroundPhase::Free &&
           (vessel.avel.x != 0.0 || vessel.avel.y != 0.0 || vessel.avel.z != 0.0);
}

// The records of a long vessel list lie all over the heap: asking for the ones a few places
// ahead keeps a walk over the list from waiting on memory, so that its cost per vessel stays
// the same however many vessels there are.
constexpr std::size_t kPrefetchAhead = 8;

inline void prefetchAhead(VesselRecord* const* at, VesselRecord* const* end) {
    const std::ptrdiff_t left = end - at;
    if (left > static_cast<std::ptrdiff_t>(kPrefetchAhead)) {
        const char* record = reinterpret_cast<const char*>(at[kPrefetchAhead]);
        __builtin_prefetch(record);
        __builtin_prefetch(record + 64);
        __builtin_prefetch(record + 128);
    }
    // Half as far ahead the record has arrived, and with it where the vessel's object is.
    if (left > static_cast<std::ptrdiff_t>(kPrefetchAhead / 2)) {
        __builtin_prefetch(at[kPrefetchAhead / 2]->iface);
    }
}

} // namespace

void World::step(double dt) {
    inStep_ = true;
    simdt_ = dt;
    simt_ += dt;
    clock_.advance(dt);
    const double mjd = kMjdAtZero + simt_ / kSecondsPerDay;

    // Vessels created during the step are not in the snapshot: they step from the next one.
    stepVessels_.assign(vessels_.begin(), vessels_.end());
    {
        Dispatch dispatch(*this);
        VesselRecord* const* end = stepVessels_.data() + stepVessels_.size();
        for (VesselRecord* const* at = stepVessels_.data(); at != end; ++at) {
            prefetchAhead(at, end);
            VesselRecord* vessel = *at;
            if (VESSEL2* callbacks = vessel->alive ? callbacksOf(*vessel) : nullptr) {
                ModuleCallScope guard(allocationsOf(*vessel), GuardedCallback::PreStep);
                callbacks->clbkPreStep(simt_, dt, mjd);
            }
        }
    }
    moveVessels(dt);
    {
        Dispatch dispatch(*this);
        VesselRecord* const* end = stepVessels_.data() + stepVessels_.size();
        for (VesselRecord* const* at = stepVessels_.data(); at != end; ++at) {
            prefetchAhead(at, end);
            VesselRecord* vessel = *at;
            if (VESSEL2* callbacks = vessel->alive ? callbacksOf(*vessel) : nullptr) {
                ModuleCallScope guard(allocationsOf(*vessel), GuardedCallback::PostStep);
                callbacks->clbkPostStep(simt_, dt, mjd);
            }
        }
        drawHud();
    }
    inStep_ = false;
    destroyPending();
    reportDebugLine();
}

void World::moveFreeVessel(VesselRecord& vessel, double dt) {
    if (vessel.status == VESSELSTATUS_LANDED || vessel.ground != GroundPhase::Free) {
        return; // on the ground, or held at the point of touchdown
    }
    if (body_.gm != 0.0) {
        const double r = length(vessel.pos);
        if (r > 0.0) {
            vessel.vel = add(vessel.vel, scale(vessel.pos, -body_.gm / (r * r * r) * dt));
        }
    }
    vessel.pos = add(vessel.pos, scale(vessel.vel, dt));
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
    if (!anyFollowers_) {
        // Nobody docked: each vessel's motion and ground contact depend on itself alone, so
        // one walk over the vessels does both.
        VesselRecord* const* end = stepVessels_.data() + stepVessels_.size();
        for (VesselRecord* const* at = stepVessels_.data(); at != end; ++at) {
            prefetchAhead(at, end);
            VesselRecord* vessel = *at;
            if (vessel->alive) {
                moveFreeVessel(*vessel, dt);
                touchGround(*vessel);
            }
        }
        return;
    }
    for (VesselRecord* vessel : stepVessels_) {
        if (vessel->alive && !vessel->isFollower()) {
            moveFreeVessel(*vessel, dt);
        }
    }
    // Followers take their pose from their leader as it is now.
    for (VesselRecord* vessel : stepVessels_) {
        if (!vessel->alive || !vessel->isFollower()) {
            continue;
        }
        const VesselRecord& lead = *vessel->leader;
        const VECTOR3 arm = mul(lead.rot, vessel->relPos);
        vessel->pos = add(lead.pos, arm);
        vessel->vel = add(lead.vel, mul(lead.rot, cross(lead.avel, vessel->relPos)));
        // Only a leader that turned moves its followers' frames, so that an idle group keeps
        // every member's orientation to the bit.
        if (turnsInFlight(lead)) {
            assignRotation(*vessel, mul(lead.rot, vessel->relRot));
        }
        vessel->status = lead.status;
        vessel->ground = lead.ground;
    }
    touchGround();
}

void World::touchGround() {
    for (VesselRecord* vessel : stepVessels_) {
        if (vessel->alive && !vessel->isFollower()) {
            touchGround(*vessel);
        }
    }
}

void World::touchGround(VesselRecord& vessel) {
    if (vessel.status == VESSELSTATUS_LANDED) {
        return;
    }
    if (vessel.ground == GroundPhase::Impact) {
        // The step after touchdown has seen the impact speed: now the vessel rests.
        vessel.vel = {0.0, 0.0, 0.0};
        assignAngularVel(vessel, {0.0, 0.0, 0.0});
        vessel.status = VESSELSTATUS_LANDED;
        vessel.ground = GroundPhase::Landed;
        return;
    }
    const double r = length(vessel.pos);
    const double clearance = groundClearance(vessel);
    if (r - body_.radius <= clearance) {
        const VECTOR3 up = r > 0.0 ? scale(vessel.pos, 1.0 / r) : VECTOR3{0.0, 1.0, 0.0};
        vessel.pos = scale(up, body_.radius + clearance);
        vessel.ground = GroundPhase::Impact;
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
        emit("hud", eventText_);
        return;
    }
    if (frame.count() == 0) {
        eventText_.assign(vessel->name).append(" -");
        emit("hud", eventText_);
        return;
    }
    char place[32];
    for (int i = 0; i < frame.count(); ++i) {
        const HudText& text = frame.at(i);
        std::snprintf(place, sizeof place, " (%d,%d) ", text.x, text.y);
        eventText_.assign(vessel->name)
            .append(place)
            .append(text.text.data(), static_cast<std::size_t>(text.length));
        emit("hud", eventText_);
    }
}

void World::reportDebugLine() {
    if (debug_.takeChange()) {
        const char* line = debug_.text();
        emit("debug", line[0] == '\0' ? std::string_view("-") : std::string_view(line));
    }
}

} // namespace vx
