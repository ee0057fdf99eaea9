#include "tests/addons/WalkerWorld.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

#include "host/Vantrix.h"
#include "sim/world/VesselRecord.h"

namespace ckit::test {

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

MATRIX3 turnX(double degrees) {
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {1, 0, 0, 0, c, -s, 0, s, c};
}

MATRIX3 turnY(double degrees) {
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {c, 0, s, 0, 1, 0, -s, 0, c};
}

MATRIX3 identity() {
    return {1, 0, 0, 0, 1, 0, 0, 0, 1};
}

CrewExchangeRecord exchangeRecord(const char* vesselName, const char* mesh, int age, int pulse,
                                  int weight) {
    CrewExchangeRecord record{};
    std::snprintf(record.vesselName, sizeof record.vesselName, "%s", vesselName);
    std::snprintf(record.mesh, sizeof record.mesh, "%s", mesh);
    record.age = age;
    record.pulse = pulse;
    record.supply = 100;
    record.weight = weight;
    return record;
}

void WalkerTest::SetUp() {
    HostTest::SetUp();
    std::filesystem::create_directory(root / "config");
}

void WalkerTest::writeExchange(const void* bytes, std::size_t size) {
    std::ofstream out(root / "config" / "CKittmp.cfg", std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    ASSERT_TRUE(out.good());
}

VESSEL* WalkerTest::createWalker(const std::string& name, const VECTOR3& pos, const MATRIX3& rot) {
    VESSELSTATUS status{};
    status.rpos = pos;
    status.rrot = rot;
    std::string reason;
    vx::VesselRecord* record = world().createVessel(name, "CKit", status, &reason);
    EXPECT_NE(record, nullptr) << reason;
    return record != nullptr ? vapiGetVesselInterface(record) : nullptr;
}

std::vector<std::string> WalkerTest::parentIds(const VESSEL& vessel) {
    std::vector<std::string> ids;
    for (unsigned int i = 0; i < vessel.AttachmentCount(true); ++i) {
        ids.emplace_back(vessel.GetAttachmentId(vessel.GetAttachmentHandle(true, i)));
    }
    return ids;
}

VECTOR3 WalkerTest::lastParentPos(const VESSEL& vessel) {
    VECTOR3 pos{}, dir{}, rot{};
    const unsigned int count = vessel.AttachmentCount(true);
    if (count > 0) {
        vessel.GetAttachmentParams(vessel.GetAttachmentHandle(true, count - 1), pos, dir, rot);
    }
    return pos;
}

std::vector<std::string> WalkerTest::meshes(const std::string& name) {
    std::vector<std::string> names;
    if (const vx::VesselRecord* vessel = world().findVessel(name)) {
        for (const vx::MeshRecord& mesh : vessel->meshes) {
            names.push_back(mesh.name);
        }
    }
    return names;
}

} // namespace ckit::test
