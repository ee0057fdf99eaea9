// A host world in a temporary root with a config folder, where vessels of the walking-crew
// class are created the way the colony creates them, next to test vessels that publish
// airlock boxes.
#pragma once

#include <string>

#include "crew/CrewExchange.h"
#include "tests/sim/world/HostTestSupport.h"

namespace ckit::test {

// Turns about one axis, in degrees: vessel-frame vectors to global ones.
MATRIX3 turnX(double degrees);
MATRIX3 turnY(double degrees);
MATRIX3 identity();

// A record as a crew manager writes it.
CrewExchangeRecord exchangeRecord(const char* vesselName, const char* mesh, int age, int pulse,
                                  int weight);

class WalkerTest : public vx::test::HostTest {
protected:
    void SetUp() override;

    // Writes the EVA exchange file with exactly these bytes.
    void writeExchange(const void* bytes, std::size_t size);
    void writeExchange(const CrewExchangeRecord& record) { writeExchange(&record, sizeof record); }

    // Creates a vessel of class "CKit"; fails the test when the host refuses.
    VESSEL* createWalker(const std::string& name, const VECTOR3& pos = {7e6, 0, 0},
                         const MATRIX3& rot = identity());

    // The id of each point for parents, in order.
    static std::vector<std::string> parentIds(const VESSEL& vessel);
    // Position of the last point for parents.
    static VECTOR3 lastParentPos(const VESSEL& vessel);
    // The vessel's meshes by name.
    std::vector<std::string> meshes(const std::string& name);
};

} // namespace ckit::test
