// The common ground of the crew manager's tests: each test runs in its own process (so the
// module-wide crew tables start fresh) inside a fresh temporary root folder that holds the
// crew library runtime's files, with a world whose vessels of the class "Carrier" each own a
// CrewManager, as a module's vessel would.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace crewtest {

class Carrier;

// What a Carrier does in its callbacks, set by the test before the vessel is created.
struct CarrierHooks {
    std::function<void(Carrier&)> setClassCaps; // runs after the empty mass is set
    std::function<void(Carrier&, double simt)> preStep;
};
CarrierHooks& carrierHooks();

// A vessel that carries people: it owns its crew manager by value, blank until set up. Its
// scenario callbacks hand the crew lines to the crew manager and the rest to the host.
class Carrier final : public VESSEL2 {
public:
    Carrier(OBJHANDLE vessel, int flightModel);
    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;

    CrewManager crew{};
    int32_t initResult = 0;           // what InitCrewManager gave in a standard set-up
    std::vector<std::string> offered; // scenario lines offered to the crew manager, in order
};

// Empty mass every Carrier starts with, kilograms.
inline constexpr double kCarrierMass = 1000.0;

// The nine numbers of a crew attachment point, in the published order: position, direction,
// rotation.
using PointNumbers = std::array<double, 9>;

class CrewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The world, made on first use.
    vx::World& world();
    // Ends the world (destroying its vessels); the next world() makes a new one.
    void endWorld() { world_.reset(); }
    // A Carrier whose set-up runs the hooks as they are now (no crew manager set-up unless a
    // hook does it).
    Carrier* addCarrier(const std::string& name);
    // A Carrier whose set-up initialises its crew manager and defines the airlock open with
    // the box -3..3, -4..4, -7..7: the crew manager is ready, with 8 seats and nobody aboard.
    Carrier* addReadyCarrier(const std::string& name);

    // Files of the root folder, by a path relative to it (forward slashes).
    void writeFile(const std::string& path, const std::string& content) const;
    void removeFile(const std::string& path) const;

    // The crew points (id exactly "CKit") among a vessel's points for children, and the
    // numbers of the first one; fails the test when there is none.
    static std::vector<ATTACHMENTHANDLE> crewPoints(const VESSEL& vessel);
    static PointNumbers publishedPoint(const VESSEL& vessel);

    vx::WorldOptions options;
    std::filesystem::path root;

private:
    std::unique_ptr<vx::World> world_;
    std::filesystem::path started_;
};

} // namespace crewtest
