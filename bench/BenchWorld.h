// What the benchmarks run in: a scratch root folder holding the crew library's runtime files,
// one host world at a time (the host has one current world), and the vessel classes the
// benchmarks fill it with, registered from code.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace bench {

// Class names. "CKit" is the walking-crew class the arrival scan looks for; the others are
// plain vessels of no interest to it.
inline constexpr char kIdleClass[] = "Freighter";
inline constexpr char kWalkerClass[] = "CKit";
inline constexpr char kReceiverClass[] = "Receiver";

// The crew data every walker carries on its last point for parents: age, pulse, weight.
inline constexpr double kWalkerAge = 35.0;
inline constexpr double kWalkerPulse = 70.0;
inline constexpr double kWalkerWeight = 62.9;

// A vessel that takes people in: a crew manager set up with its airlock open and the box
// -3..3, -4..4, -7..7 around its origin.
class Receiver final : public VESSEL2 {
public:
    Receiver(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE cfg) override;

    CrewManager crew{};
};

// Makes a scratch folder with the crew runtime's files and works in it until destroyed.
class ScratchRoot {
public:
    ScratchRoot();
    ~ScratchRoot();
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path started_;
    std::filesystem::path path_;
};

// The one world of the moment. Asking for another layout ends the current world first.
//   Idle:    count idle vessels in orbit, nothing else
//   Scan:    a receiver, then count idle vessels
//   Walkers: a receiver, then count walkers 100 m outside its airlock
//   Colony:  one colony from the module file, run past its version warning (count unused)
enum class Layout { Idle, Scan, Walkers, Colony };

struct WorldSpec {
    Layout layout = Layout::Idle;
    int count = 0; // vessels besides the receiver or the colony

    bool operator==(const WorldSpec&) const = default;
};

struct BenchWorld {
    std::unique_ptr<vx::World> world;
    WorldSpec spec;
    Receiver* receiver = nullptr; // Scan and Walkers layouts, else null
    VESSEL2* colony = nullptr;    // Colony layout: the colony as the host sees it
    std::string error;            // why the world could not be made, empty when it could
};

// The world for a spec, made when the current one is of another spec.
BenchWorld& worldFor(const WorldSpec& spec);
// Ends the current world (before the scratch folder goes).
void endWorld();

} // namespace bench
