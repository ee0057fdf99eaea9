#include "tests/crew/CrewWorld.h"

#include <cstring>

#include "crew/CrewExchange.h"

namespace crewtest {
namespace {

int nextSetup = kReady;
bool nextOwnPoint = true;

// The crew library's class as far as the crew manager relies on it: a point for parents of
// its own, so that a transfer vessel ends up with two once the sender adds the data point.
class Walker final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetEmptyMass(80.0);
        if (nextOwnPoint) {
            CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "Own", false);
        }
    }
};

template <class T> VESSEL* Make(OBJHANDLE vessel, int flightModel) {
    return std::is_same_v<T, Walker> && walkersRefused ? nullptr : new T(vessel, flightModel);
}
template <class T> void Unmake(VESSEL* vessel) {
    delete static_cast<T*>(vessel);
}

} // namespace

void Carrier::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    SetEmptyMass(kMass);
    if ((nextSetup & kDock) != 0) {
        CreateDock({0, 0, 8}, {0, 0, 1}, {0, 1, 0});
    }
    if ((nextSetup & kInit) != 0) {
        initResult = crew.InitCrewManager(GetHandle());
    }
    if ((nextSetup & kAirlock) != 0) {
        EXPECT_EQ(crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 1);
    }
}

void Carrier::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    crew.SaveCrewState(scn);
}

void Carrier::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        if (crew.ParseCrewScenarioLine(line) != 1) {
            ParseScenarioLineEx(line, status);
        }
    }
}

void Carrier::clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    crew.WarnUserIfOutdated("Halcyra Colony");
    arrivals.push_back(crew.ProcessArrivals());
}

CrewTest::CrewTest() {
    nextSetup = kReady;
    walkersRefused = false;
}

vx::World& CrewTest::world() {
    if (!world_) {
        world_ = std::make_unique<vx::World>();
        world_->classes().add("Carrier", Make<Carrier>, Unmake<Carrier>);
        for (const char* className : {"CKit", "CKitRover", "Rover", "CKi"}) {
            world_->classes().add(className, Make<Walker>, Unmake<Walker>);
        }
        world_->setWarningSink([](std::string_view) {});
        world_->body().gm = 0.0; // vessels stay where a test puts them
    }
    return *world_;
}

Carrier* CrewTest::add(const std::string& name, int setup) {
    nextSetup = setup;
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::string reason;
    EXPECT_NE(world().createVessel(name, "Carrier", status, &reason), nullptr) << reason;
    nextSetup = kReady;
    return static_cast<Carrier*>(vessel(name));
}

VESSEL* CrewTest::walker(const std::string& name, const VECTOR3* data, const char* className,
                         bool ownPoint) {
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 1000};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    nextOwnPoint = ownPoint;
    std::string reason;
    EXPECT_NE(world().createVessel(name, className, status, &reason), nullptr) << reason;
    nextOwnPoint = true;
    VESSEL* created = vessel(name);
    if (created != nullptr && data != nullptr) {
        created->CreateAttachment(true, *data, {0, 0, 0}, {0, 0, 0}, "C-Ki", false);
    }
    return created;
}

void CrewTest::dock(Carrier* a, Carrier* b) {
    std::string reason;
    ASSERT_TRUE(world().dock(world().findVessel(a->GetName()), 0, world().findVessel(b->GetName()),
                             0, reason))
        << reason;
}

void CrewTest::place(const std::string& name, const std::string& ref, const VECTOR3& local) {
    world().place(world().findVessel(name), world().findVessel(ref), local);
}

VESSEL* CrewTest::vessel(const std::string& name) {
    return vapiGetVesselInterface(vapiGetObjectByName(name.c_str()));
}

Numbers CrewTest::point(const VESSEL& vessel) {
    for (unsigned int i = 0; i < vessel.AttachmentCount(false); ++i) {
        ATTACHMENTHANDLE handle = vessel.GetAttachmentHandle(false, i);
        if (std::strcmp(vessel.GetAttachmentId(handle), "CKit") == 0) {
            VECTOR3 p{}, d{}, r{};
            vessel.GetAttachmentParams(handle, p, d, r);
            return {p.x, p.y, p.z, d.x, d.y, d.z, r.x, r.y, r.z};
        }
    }
    return {};
}

std::string CrewTest::snapshot(const Carrier& carrier) {
    const Numbers numbers = point(carrier);
    const double mass = carrier.GetEmptyMass();
    return std::string(reinterpret_cast<const char*>(&carrier.crew), sizeof carrier.crew) +
           std::string(reinterpret_cast<const char*>(&numbers), sizeof numbers) +
           std::string(reinterpret_cast<const char*>(&mass), sizeof mass);
}

std::string CrewTest::record(const char* file) const {
    const std::string bytes = root.read(file);
    if (bytes.size() != sizeof(CrewExchangeRecord)) {
        return std::to_string(bytes.size()) + " bytes";
    }
    CrewExchangeRecord r{};
    std::memcpy(&r, bytes.data(), sizeof r);
    const auto text = [](const char* field) { return std::string(field, strnlen(field, 40)); };
    return text(r.vesselName) + "|" + text(r.mesh) + "|" + std::to_string(r.age) + "|" +
           std::to_string(r.pulse) + "|" + std::to_string(r.supply) + "|" +
           std::to_string(r.weight) + "|" + std::to_string(r.reserved) + "|" +
           std::to_string(r.linkValue);
}

VECTOR3 Apply(const MATRIX3& m, const VECTOR3& v) {
    return {m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
            m.m31 * v.x + m.m32 * v.y + m.m33 * v.z};
}

MATRIX3 FromColumns(const VECTOR3& c1, const VECTOR3& c2, const VECTOR3& c3) {
    return {c1.x, c2.x, c3.x, c1.y, c2.y, c3.y, c1.z, c2.z, c3.z};
}

} // namespace crewtest
