#include "tests/crew/CrewTravel.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace crewtest {

WalkerHooks& walkerHooks() {
    static WalkerHooks hooks;
    return hooks;
}

namespace {

// The crew library's class as far as the crew manager relies on it: a point for parents of
// its own, so that a transfer vessel ends up with two once the sender adds the data point.
class Walker final : public VESSEL2 {
public:
    Walker(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetEmptyMass(80.0);
        if (walkerHooks().ownPoint) {
            CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, kOwnPointId, false);
        }
    }
};

VESSEL* walkerInit(OBJHANDLE vessel, int flightModel) {
    if (walkerHooks().refuse) {
        return nullptr;
    }
    return new Walker(vessel, flightModel);
}
void walkerExit(VESSEL* vessel) {
    delete static_cast<Walker*>(vessel);
}

} // namespace

VECTOR3 Apply(const MATRIX3& m, const VECTOR3& v) {
    return {m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
            m.m31 * v.x + m.m32 * v.y + m.m33 * v.z};
}

MATRIX3 FromColumns(const VECTOR3& c1, const VECTOR3& c2, const VECTOR3& c3) {
    return {c1.x, c2.x, c3.x, c1.y, c2.y, c3.y, c1.z, c2.z, c3.z};
}

int32_t Int32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    if (offset + 4 > bytes.size()) {
        ADD_FAILURE() << "no field at " << offset;
        return 0;
    }
    const uint32_t value = static_cast<uint32_t>(bytes[offset]) |
                           static_cast<uint32_t>(bytes[offset + 1]) << 8 |
                           static_cast<uint32_t>(bytes[offset + 2]) << 16 |
                           static_cast<uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<int32_t>(value);
}

std::string TextAt(const std::vector<unsigned char>& bytes, std::size_t offset, std::size_t room) {
    std::string text;
    for (std::size_t i = offset; i < offset + room && i < bytes.size() && bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(bytes[i]));
    }
    return text;
}

CrewExchangeRecord TransferRecord(const char* vesselName, int32_t age, int32_t pulse,
                                  int32_t weight) {
    CrewExchangeRecord record{};
    std::snprintf(record.vesselName, sizeof record.vesselName, "%s", vesselName);
    record.age = age;
    record.pulse = pulse;
    record.supply = 100;
    record.weight = weight;
    return record;
}

void CrewTravelTest::SetUp() {
    CrewTest::SetUp();
    for (const char* className : {"CKit", "CKitRover", "Rover", "CKi"}) {
        world().classes().add(className, walkerInit, walkerExit);
    }
    // Without gravity, vessels placed by a test stay where they were put.
    world().body().gm = 0.0;
    walkerHooks() = WalkerHooks{};
}

Carrier* CrewTravelTest::addDockingCarrier(const std::string& name) {
    const CarrierHooks saved = carrierHooks();
    carrierHooks().setClassCaps = [](Carrier& carrier) {
        carrier.CreateDock({0, 0, 8}, {0, 0, 1}, {0, 1, 0});
        carrier.initResult = carrier.crew.InitCrewManager(carrier.GetHandle());
        carrier.crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7);
    };
    Carrier* carrier = addCarrier(name);
    carrierHooks() = saved;
    if (carrier != nullptr) {
        EXPECT_TRUE(carrier->crew.IsReady()) << "set-up result " << carrier->initResult;
    }
    return carrier;
}

Carrier* CrewTravelTest::addBareDockingCarrier(const std::string& name) {
    const CarrierHooks saved = carrierHooks();
    carrierHooks().setClassCaps = [](Carrier& carrier) {
        carrier.CreateDock({0, 0, 8}, {0, 0, 1}, {0, 1, 0});
    };
    Carrier* carrier = addCarrier(name);
    carrierHooks() = saved;
    return carrier;
}

void CrewTravelTest::dockPair(Carrier* a, Carrier* b) {
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    std::string reason;
    ASSERT_TRUE(world().dock(record(a->GetName()), 0, record(b->GetName()), 0, reason)) << reason;
}

VESSEL* CrewTravelTest::addWalker(const std::string& name, const VECTOR3* data,
                                  const std::string& className) {
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 1000};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::string reason;
    vx::VesselRecord* created = world().createVessel(name, className, status, &reason);
    EXPECT_NE(created, nullptr) << reason;
    if (created == nullptr) {
        return nullptr;
    }
    VESSEL* walker = vapiGetVesselInterface(created);
    if (data != nullptr) {
        walker->CreateAttachment(true, *data, {0, 0, 0}, {0, 0, 0}, "C-Ki", false);
    }
    return walker;
}

void CrewTravelTest::placeAt(const std::string& name, const std::string& ref,
                             const VECTOR3& local) {
    ASSERT_TRUE(exists(name)) << name;
    ASSERT_TRUE(exists(ref)) << ref;
    world().place(record(name), record(ref), local);
}

void CrewTravelTest::setPose(VESSEL* vessel, const Pose& pose) {
    VESSELSTATUS status{};
    status.rpos = pose.pos;
    status.rvel = pose.vel;
    status.vrot = pose.spin;
    status.rrot = pose.rot;
    status.status = VESSELSTATUS_FLIGHT;
    vessel->DefSetState(&status);
}

std::vector<std::string> CrewTravelTest::vesselNames() {
    std::vector<std::string> names;
    for (const vx::VesselRecord* vessel : world().vessels()) {
        names.push_back(vessel->name);
    }
    return names;
}

std::vector<unsigned char> CrewTravelTest::readBytes(const std::string& path) const {
    std::ifstream in(root / path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool CrewTravelTest::fileExists(const std::string& path) const {
    return std::filesystem::exists(root / path);
}

void CrewTravelTest::writeBytes(const std::string& path, const void* bytes,
                                std::size_t size) const {
    std::ofstream out(root / path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> CrewTravelTest::parentIds(const VESSEL& vessel) {
    std::vector<std::string> ids;
    for (unsigned int i = 0; i < vessel.AttachmentCount(true); ++i) {
        ids.emplace_back(vessel.GetAttachmentId(vessel.GetAttachmentHandle(true, i)));
    }
    return ids;
}

VECTOR3 CrewTravelTest::lastParentPos(const VESSEL& vessel) {
    VECTOR3 pos{}, dir{}, rot{};
    const unsigned int count = vessel.AttachmentCount(true);
    if (count > 0) {
        vessel.GetAttachmentParams(vessel.GetAttachmentHandle(true, count - 1), pos, dir, rot);
    }
    return pos;
}

} // namespace crewtest
