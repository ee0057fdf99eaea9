// The host's free functions, on the current world. Without a world, or for a handle that is
// not a live vessel, each gives a safe default and changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "host/Vapi.h"
#include "sim/world/AllocationGuard.h"
#include "sim/world/World.h"

using vx::liveVessel;
using vx::VesselRecord;
using vx::World;

// --- Vessels ----------------------------------------------------------------------------------

namespace {
constexpr std::size_t kIndexPrefetch = 64;
} // namespace

OBJHANDLE vapiCreateVessel(const char* name, const char* className, const VESSELSTATUS& status) {
    World* world = World::current();
    if (world == nullptr || name == nullptr || className == nullptr) {
        return nullptr;
    }
    return world->createVessel(name, className, status);
}

bool vapiDeleteVessel(OBJHANDLE vessel) {
    World* world = World::current();
    return world != nullptr && world->deleteVessel(liveVessel(vessel));
}

unsigned int vapiGetVesselCount() {
    World* world = World::current();
    return world != nullptr ? static_cast<unsigned int>(world->vessels().size()) : 0;
}

OBJHANDLE vapiGetVesselByIndex(unsigned int index) {
    World* world = World::current();
    if (world == nullptr || index >= world->vessels().size()) {
        return nullptr;
    }
    const auto& vessels = world->vessels();
    // Modules walk the list by index, asking each vessel for its interface and class: asking
    // for the records further on, and for the objects of those whose records have arrived,
    // keeps a walk over many more vessels than the caches hold from waiting on memory.
    if (index + kIndexPrefetch < vessels.size()) {
        __builtin_prefetch(vessels[index + kIndexPrefetch]);
    }
    if (index + kIndexPrefetch / 2 < vessels.size()) {
        __builtin_prefetch(vessels[index + kIndexPrefetch / 2]->iface);
    }
    return vessels[index];
}

VESSEL* vapiGetVesselInterface(OBJHANDLE vessel) {
    VesselRecord* record = liveVessel(vessel);
    return record != nullptr ? record->iface : nullptr;
}

OBJHANDLE vapiGetObjectByName(const char* name) {
    World* world = World::current();
    if (world == nullptr || name == nullptr) {
        return nullptr;
    }
    return world->findObject(std::string_view(name));
}

void vapiGetObjectName(OBJHANDLE object, char* name, int size) {
    if (name == nullptr || size <= 0) {
        return;
    }
    name[0] = '\0';
    if (object == nullptr || !object->alive) {
        return;
    }
    const std::size_t kept = std::min(object->name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(name, object->name.data(), kept);
    name[kept] = '\0';
}

void vapiGetGlobalPos(OBJHANDLE object, VECTOR3* pos) {
    if (pos == nullptr) {
        return;
    }
    const VesselRecord* vessel = liveVessel(object);
    *pos = vessel != nullptr ? vessel->pos() : VECTOR3{0.0, 0.0, 0.0};
}

OBJHANDLE vapiSetFocusObject(OBJHANDLE vessel) {
    World* world = World::current();
    return world != nullptr ? world->setFocus(liveVessel(vessel)) : nullptr;
}

OBJHANDLE vapiGetFocusObject() {
    World* world = World::current();
    return world != nullptr ? world->focus() : nullptr;
}

// --- Mass -------------------------------------------------------------------------------------

double vapiGetEmptyMass(OBJHANDLE vessel) {
    const VesselRecord* record = liveVessel(vessel);
    return record != nullptr ? record->emptyMass : 0.0;
}

void vapiSetEmptyMass(OBJHANDLE vessel, double mass) {
    if (VesselRecord* record = liveVessel(vessel)) {
        record->emptyMass = mass;
    }
}

// --- Scenario files ---------------------------------------------------------------------------

bool vapiReadScenario_nextline(FILEHANDLE scn, char*& line) {
    if (scn == nullptr || scn->mode != VxScenarioFile::Mode::Read || scn->lines == nullptr ||
        scn->next >= scn->lines->size()) {
        return false;
    }
    const vx::SourceLine& source = (*scn->lines)[scn->next++];
    scn->currentLine = source.number;
    vx::HostWorkScope hostWork; // the line buffer grows to the longest line once
    scn->buffer.assign(source.text.begin(), source.text.end());
    scn->buffer.push_back('\0');
    line = scn->buffer.data();
    return true;
}

void vapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value) {
    if (scn == nullptr || scn->mode != VxScenarioFile::Mode::Write || scn->out == nullptr ||
        item == nullptr) {
        return;
    }
    vx::HostWorkScope hostWork; // the scenario text grows in the host's buffer
    std::string& out = *scn->out;
    out.append("  ").append(item);
    if (value != nullptr && value[0] != '\0') {
        out.append(" ").append(value);
    }
    out.push_back('\n');
}

// --- Services ---------------------------------------------------------------------------------

double vapiGetSimTime() {
    World* world = World::current();
    return world != nullptr ? world->simTime() : 0.0;
}

double vapiGetSimStep() {
    World* world = World::current();
    return world != nullptr ? world->simStep() : 0.0;
}

double vapiGetSysTime() {
    World* world = World::current();
    return world != nullptr ? world->sysTime() : 0.0;
}

double vapiRand() {
    World* world = World::current();
    return world != nullptr ? world->rand() : 0.0;
}

void vapiWriteLog(const char* line) {
    World* world = World::current();
    if (world != nullptr && line != nullptr) {
        world->writeLog(line);
    }
}

char* vapiDebugString() {
    // A module may write the line before any world exists; it then writes here.
    static char orphanLine[VAPI_DEBUG_STRING_SIZE];
    World* world = World::current();
    return world != nullptr ? world->debugBuffer() : orphanLine;
}
