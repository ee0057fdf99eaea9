// Docks and docked groups. A group moves rigidly with its earliest-created member; the
// others keep the pose they had relative to it when the group last changed.
#include <string>
#include <vector>

#include "sim/world/AllocationGuard.h"
#include "sim/world/EventKinds.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselState.h"
#include "sim/world/World.h"

namespace vx {

bool World::portTaken(const VxDock& port, const VxDock& wanted) const {
    return port.mate != nullptr && port.mate != &wanted;
}

bool World::dock(VesselRecord* a, unsigned int portA, VesselRecord* b, unsigned int portB,
                 std::string& reason) {
    HostWorkScope hostWork; // reasons and events are the host's texts
    if (a == nullptr || !a->alive || b == nullptr || !b->alive) {
        reason = "no such vessel";
        return false;
    }
    if (a == b) {
        reason = a->name + " cannot dock to itself";
        return false;
    }
    if (portA >= a->docks.size()) {
        reason = a->name + " has no port " + std::to_string(portA);
        return false;
    }
    if (portB >= b->docks.size()) {
        reason = b->name + " has no port " + std::to_string(portB);
        return false;
    }
    VxDock& own = *a->docks[portA];
    VxDock& other = *b->docks[portB];
    if (own.mate == &other) {
        return true; // the same dock again: both blocks of a saved pair name it
    }
    if (portTaken(own, other)) {
        reason = "port " + std::to_string(portA) + " of " + a->name + " is taken";
        return false;
    }
    if (portTaken(other, own)) {
        reason = "port " + std::to_string(portB) + " of " + b->name + " is taken";
        return false;
    }
    own.mate = &other;
    other.mate = &own;
    groupsDirty_ = true;
    regroup();
    emit(events::kDock,
         a->name + " " + std::to_string(portA) + " " + b->name + " " + std::to_string(portB));
    return true;
}

bool World::undock(VesselRecord* a, unsigned int port, std::string& reason) {
    HostWorkScope hostWork;
    if (a == nullptr || !a->alive) {
        reason = "no such vessel";
        return false;
    }
    if (port >= a->docks.size()) {
        reason = a->name + " has no port " + std::to_string(port);
        return false;
    }
    VxDock& own = *a->docks[port];
    if (own.mate == nullptr) {
        reason = "port " + std::to_string(port) + " of " + a->name + " is not docked";
        return false;
    }
    own.mate->mate = nullptr;
    own.mate = nullptr;
    groupsDirty_ = true;
    regroup();
    emit(events::kUndock, a->name + " " + std::to_string(port));
    return true;
}

void World::regroup() {
    groupsDirty_ = false;
    anyFollowers_ = false;
    for (VesselRecord* vessel : vessels_) {
        vessel->leader = nullptr;
    }
    std::vector<VesselRecord*> group;
    for (VesselRecord* start : vessels_) {
        if (start->leader != nullptr) {
            continue;
        }
        // Walk the docks from here; the list is in creation order, so start leads.
        group.assign(1, start);
        start->leader = start;
        for (std::size_t i = 0; i < group.size(); ++i) {
            for (const auto& port : group[i]->docks) {
                if (port->mate == nullptr) {
                    continue;
                }
                VesselRecord* other = port->mate->owner;
                if (other->alive && other->leader == nullptr) {
                    other->leader = start;
                    group.push_back(other);
                }
            }
        }
        if (group.size() == 1) {
            start->leader = nullptr;
            continue;
        }
        anyFollowers_ = true;
        for (VesselRecord* member : group) {
            member->relPos = tmul(start->rot, sub(member->pos(), start->pos()));
            member->relRot = tmul(start->rot, member->rot);
        }
    }
}

void World::poseChanged(VesselRecord& vessel) {
    if (vessel.leader != nullptr) {
        groupsDirty_ = true;
    }
}

void World::place(VesselRecord* vessel, VesselRecord* ref, const VECTOR3& local) {
    if (vessel == nullptr || !vessel->alive || ref == nullptr || !ref->alive) {
        return;
    }
    vessel->pos() = add(mul(ref->rot, local), ref->pos());
    vessel->vel() = ref->vel();
    assignRotation(*vessel, ref->rot);
    vessel->status() = ref->status();
    vessel->ground() = ref->ground();
    poseChanged(*vessel);
}

} // namespace vx
