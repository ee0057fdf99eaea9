// The ground of the crew manager's tests: a fresh root folder holding only the crew library
// runtime's files, and a world with two vessel classes registered from code: "Carrier", which
// owns a crew manager as a module's vessel would, and the crew library's walking class.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace crewtest {

// How far a Carrier sets itself up, as flags: a dock 0, InitCrewManager, the airlock defined
// open over the box -3..3, -4..4, -7..7 (the crew manager is then ready, with 8 seats).
enum Setup : int { kBlank = 0, kDock = 1, kInit = 2, kAirlock = 4, kReady = kInit | kAirlock };

// While set, the walking class creates no vessel, so the host refuses every creation.
inline bool walkersRefused = false;

inline constexpr double kMass = 1000.0; // every Carrier's empty mass without crew
inline constexpr char kEvaFile[] = "config/CKittmp.cfg";
inline constexpr char kTransferFile[] = "config/CKittmpT.cfg";

using Numbers = std::array<double, 9>; // a crew point: position, direction, rotation

class Carrier final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    // Runs the version warning and the arrival intake, as the colony does every step.
    void clbkPreStep(double simt, double simdt, double mjd) override;

    CrewManager crew{};
    int32_t initResult = 0;
    std::vector<int32_t> arrivals; // ProcessArrivals of each step
};

class CrewTest : public ::testing::Test {
protected:
    CrewTest();
    vx::World& world(); // made on first use
    void endWorld() { world_.reset(); }
    Carrier* add(const std::string& name, int setup = kReady);
    // A vessel of the walking class (or one registered alike: "CKitRover", "Rover", "CKi")
    // 1 km from the carriers, with its own point for parents and then, given data, its crew
    // data point "C-Ki" (age, pulse, weight).
    VESSEL* walker(const std::string& name, const VECTOR3* data = nullptr,
                   const char* className = "CKit", bool ownPoint = true);
    void dock(Carrier* a, Carrier* b);
    void place(const std::string& name, const std::string& ref, const VECTOR3& local);
    bool exists(const std::string& name) { return world().findVessel(name) != nullptr; }
    VESSEL* vessel(const std::string& name);

    // The first crew point's numbers (all zero without one), and everything a refusal must
    // leave alone: the crew manager's bytes, the published point and the vessel's mass.
    static Numbers point(const VESSEL& vessel);
    static std::string snapshot(const Carrier& carrier);
    // An exchange file's record as "name|mesh|age|pulse|supply|weight|reserved|link", or the
    // size of a file that does not hold exactly one.
    std::string record(const char* file) const;

    vxtest::TestRoot root{vxtest::TestRoot::Modules::PresenceOnly};

private:
    std::unique_ptr<vx::World> world_;
};

// Row-major 3x3 helpers, worked by columns rather than by the products the crew manager uses.
VECTOR3 Apply(const MATRIX3& m, const VECTOR3& v);
MATRIX3 FromColumns(const VECTOR3& c1, const VECTOR3& c2, const VECTOR3& c3);

} // namespace crewtest
