#include "tests/vessel/ColonyWorld.h"

#include <cstring>

#ifdef _WIN32
#include "platform/WinApi.h"

HalcyraModule::HalcyraModule() : handle_(LoadLibraryA(HALCYRA_MODULE)) {}

HalcyraModule::~HalcyraModule() {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
    }
}

void* HalcyraModule::symbol(const char* name) const {
    return handle_ != nullptr
               ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
               : nullptr;
}
#else
#include <dlfcn.h>

HalcyraModule::HalcyraModule() : handle_(dlopen(HALCYRA_MODULE, RTLD_NOW | RTLD_LOCAL)) {}

HalcyraModule::~HalcyraModule() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

void* HalcyraModule::symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}
#endif

VesselInitFunc HalcyraModule::init() const {
    return reinterpret_cast<VesselInitFunc>(symbol(kVesselInitExport));
}

VesselExitFunc HalcyraModule::exit() const {
    return reinterpret_cast<VesselExitFunc>(symbol(kVesselExitExport));
}

ModuleVersionFunc HalcyraModule::version() const {
    return reinterpret_cast<ModuleVersionFunc>(symbol(kModuleVersionExport));
}

vx::WorldOptions colonyWorldOptions() {
    vx::WorldOptions options;
    options.moduleFolder = HALCYRA_MODULE_FOLDER;
    options.logFile = MODULE_TEST_LOG;
    return options;
}

VESSELSTATUS orbitStatus() {
    VESSELSTATUS status{};
    status.rpos = {7000000.0, 0.0, 0.0};
    status.rvel = {0.0, 7546.0, 0.0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    status.status = VESSELSTATUS_FLIGHT;
    return status;
}

halcyra* createColony(vx::World& world, const char* name, std::string* reason) {
    vx::VesselRecord* record = world.createVessel(name, "halcyra", orbitStatus(), reason);
    if (record == nullptr) {
        return nullptr;
    }
    // What vvcInit returned is the object's VESSEL base.
    return static_cast<halcyra*>(vapiGetVesselInterface(record));
}

int rosterSlot(const halcyra& colony, const char* name) {
    for (int slot = 0; slot < colony.crew.crewCount; ++slot) {
        if (std::strcmp(colony.crew.roster[slot].name, name) == 0) {
            return slot;
        }
    }
    return -1;
}

int publishedAirlock(const halcyra& colony) {
    ATTACHMENTHANDLE point = colony.GetAttachmentHandle(false, 0);
    if (point == nullptr) {
        return -1;
    }
    VECTOR3 pos{}, dir{}, rot{};
    colony.GetAttachmentParams(point, pos, dir, rot);
    return rot.x != 0.0 ? 1 : 0;
}
