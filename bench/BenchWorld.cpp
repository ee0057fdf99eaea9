#include "bench/BenchWorld.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace bench {

namespace {

// A vessel that only exists: no callbacks of its own.
class Freighter final : public VESSEL2 {
public:
    Freighter(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
};

// A walking crew member as the crew library makes one: a hand point first, then the crew
// data point last among its points for parents.
class Walker final : public VESSEL2 {
public:
    Walker(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetEmptyMass(kWalkerWeight);
        const VECTOR3 zero{0.0, 0.0, 0.0};
        CreateAttachment(true, zero, zero, zero, "Hand", false);
        CreateAttachment(true, VECTOR3{kWalkerAge, kWalkerPulse, kWalkerWeight}, zero, zero, "C-Ki",
                         false);
    }
};

template <typename T> VESSEL* make(OBJHANDLE vessel, int flightModel) {
    return new T(vessel, flightModel);
}
template <typename T> void unmake(VESSEL* vessel) {
    delete static_cast<T*>(vessel);
}

// Where the receiver (and the colony) sit: a circular orbit, unturned.
constexpr double kOrbitRadius = 7000000.0;
constexpr double kOrbitSpeed = 7546.0;

VESSELSTATUS orbitAt(double xOffset) {
    VESSELSTATUS status{};
    status.rpos = {kOrbitRadius + xOffset, 0.0, 0.0};
    status.rvel = {0.0, kOrbitSpeed, 0.0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    status.status = VESSELSTATUS_FLIGHT;
    return status;
}

// Far enough from the receiver's airlock box (at most 7 m from its origin) to be outside it
// on every axis test that runs.
constexpr double kOutsideAirlock = 100.0;

BenchWorld current;

bool add(BenchWorld& made, const std::string& name, const char* className, double xOffset) {
    std::string reason;
    if (made.world->createVessel(name, className, orbitAt(xOffset), &reason) == nullptr) {
        made.error = "cannot create " + name + ": " + reason;
        return false;
    }
    return true;
}

void build(BenchWorld& made) {
    const WorldSpec& spec = made.spec;
    vx::WorldOptions options;
    options.moduleFolder = HALCYRA_MODULE_FOLDER;
    options.logFile = "bench.log";
    made.world = std::make_unique<vx::World>(options);
    vx::World& world = *made.world;
    world.setWarningSink([](std::string_view) {});
    world.classes().add(kIdleClass, make<Freighter>, unmake<Freighter>);
    world.classes().add(kWalkerClass, make<Walker>, unmake<Walker>);
    world.classes().add(kReceiverClass, make<Receiver>, unmake<Receiver>);

    if (spec.layout == Layout::Colony) {
        if (!add(made, "Halcyra", "halcyra", 0.0)) {
            return;
        }
        VESSEL* iface = vapiGetVesselInterface(vapiGetObjectByName("Halcyra"));
        if (iface == nullptr || iface->Version() != 2) {
            made.error = "the colony has no callbacks";
            return;
        }
        made.colony = static_cast<VESSEL2*>(iface);
        // Past the 20 s version warning, then a step of zero length: the host's step length
        // stays 0, so the arrival poll never comes due while the benchmark calls the colony.
        world.step(25.0);
        world.step(0.0);
        return;
    }
    if (spec.layout != Layout::Idle) {
        if (!add(made, "Receiver", kReceiverClass, 0.0)) {
            return;
        }
        made.receiver =
            static_cast<Receiver*>(vapiGetVesselInterface(vapiGetObjectByName("Receiver")));
        if (made.receiver == nullptr || !made.receiver->crew.IsReady()) {
            made.error = "the receiver's crew manager is not ready";
            return;
        }
    }
    const bool walkers = spec.layout == Layout::Walkers;
    char name[64];
    for (int i = 0; i < spec.count; ++i) {
        std::snprintf(name, sizeof name, walkers ? "CKit_Doc-Walker_%d" : "Freighter %d", i);
        if (!add(made, name, walkers ? kWalkerClass : kIdleClass, kOutsideAirlock)) {
            return;
        }
    }
}

} // namespace

void Receiver::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    SetEmptyMass(1000.0);
    crew.InitCrewManager(GetHandle());
    crew.DefineAirlockShape(1, -3.0f, 3.0f, -4.0f, 4.0f, -7.0f, 7.0f);
}

ScratchRoot::ScratchRoot() : started_(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "halcyra-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("halcyra_bench: scratch folder");
        std::exit(2);
    }
    path_ = pattern;
    std::filesystem::create_directories(path_ / "modules");
    std::filesystem::create_directories(path_ / "meshes/CKit");
    std::filesystem::create_directories(path_ / "config/CKITIdConfig");
    // The runtime's module file only has to exist; the version file says 2.0, so no warning.
    std::ofstream(path_ / "modules/CKit.dll", std::ios::binary).flush();
    std::ofstream(path_ / "meshes/CKit/ver.dtf", std::ios::binary) << "2.0\n";
    std::filesystem::current_path(path_);
}

ScratchRoot::~ScratchRoot() {
    endWorld();
    std::filesystem::current_path(started_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

BenchWorld& worldFor(const WorldSpec& spec) {
    if (current.world != nullptr && current.spec == spec) {
        return current;
    }
    endWorld();
    current.spec = spec;
    build(current);
    return current;
}

void endWorld() {
    current.world.reset();
    current = BenchWorld{};
}

} // namespace bench
