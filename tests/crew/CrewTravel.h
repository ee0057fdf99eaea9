// Ground for the tests of people leaving and arriving: the crew library's vessel class as the
// crew manager meets it, carriers with a dock, and the exchange files read back byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "crew/CrewExchange.h"
#include "sim/world/VesselRecord.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {

// What the stand-in crew vessel class does, set by a test before a vessel is created.
struct WalkerHooks {
    bool refuse = false;  // the class creates no vessel, so the host refuses the creation
    bool ownPoint = true; // each new vessel gets its own point for parents first
};
WalkerHooks& walkerHooks();

// Id of the point for parents every vessel of the stand-in class has of its own.
inline constexpr char kOwnPointId[] = "Own";

// A pose to give a vessel: position and velocity relative to the body, orientation and spin.
struct Pose {
    VECTOR3 pos{7e6, 0, 0};
    VECTOR3 vel{0, 0, 0};
    MATRIX3 rot{1, 0, 0, 0, 1, 0, 0, 0, 1};
    VECTOR3 spin{0, 0, 0};
};

// Row-major 3x3 helpers for expected values, worked by columns rather than by the products the
// crew manager uses.
VECTOR3 Apply(const MATRIX3& m, const VECTOR3& v);
MATRIX3 FromColumns(const VECTOR3& c1, const VECTOR3& c2, const VECTOR3& c3);

// Little-endian field of a byte image.
int32_t Int32At(const std::vector<unsigned char>& bytes, std::size_t offset);
// Zero-terminated text of a byte image, stopping at the end of the field.
std::string TextAt(const std::vector<unsigned char>& bytes, std::size_t offset, std::size_t room);

class CrewTravelTest : public CrewTest {
protected:
    void SetUp() override;

    // A ready carrier (as addReadyCarrier) that also has dock 0.
    Carrier* addDockingCarrier(const std::string& name);
    // A carrier with dock 0 and no crew manager set-up at all.
    Carrier* addBareDockingCarrier(const std::string& name);
    // Docks a's port 0 to b's port 0; fails the test when the host refuses.
    void dockPair(Carrier* a, Carrier* b);

    // A vessel of the crew class (or of a class registered alike: "CKitRover", "Rover", "CKi"),
    // 1 km from the carriers; with data, its crew data point "C-Ki" (age, pulse, weight) is
    // added after the class's own point.
    VESSEL* addWalker(const std::string& name, const VECTOR3* data = nullptr,
                      const std::string& className = "CKit");
    // Puts a vessel at a point of ref's frame with ref's orientation.
    void placeAt(const std::string& name, const std::string& ref, const VECTOR3& local);
    void setPose(VESSEL* vessel, const Pose& pose);

    vx::VesselRecord* record(const std::string& name) { return world().findVessel(name); }
    bool exists(const std::string& name) { return record(name) != nullptr; }
    // Every live vessel's name, in creation order.
    std::vector<std::string> vesselNames();

    // The bytes of a file of the root folder; empty when it is missing.
    std::vector<unsigned char> readBytes(const std::string& path) const;
    bool fileExists(const std::string& path) const;
    void writeBytes(const std::string& path, const void* bytes, std::size_t size) const;

    // The ids of a vessel's points for parents, and the position of its last one.
    static std::vector<std::string> parentIds(const VESSEL& vessel);
    static VECTOR3 lastParentPos(const VESSEL& vessel);
};

// A record as a sender writes it into the transfer exchange file.
CrewExchangeRecord TransferRecord(const char* vesselName, int32_t age, int32_t pulse,
                                  int32_t weight);

} // namespace crewtest
