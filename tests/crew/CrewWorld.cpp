#include "tests/crew/CrewWorld.h"

#include <fstream>

#include "tests/support/MakeTempFolder.h"

namespace crewtest {

CarrierHooks& carrierHooks() {
    static CarrierHooks hooks;
    return hooks;
}

namespace {

VESSEL* carrierInit(OBJHANDLE vessel, int flightModel) {
    return new Carrier(vessel, flightModel);
}
void carrierExit(VESSEL* vessel) {
    delete static_cast<Carrier*>(vessel);
}

} // namespace

Carrier::Carrier(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}

void Carrier::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    SetEmptyMass(kCarrierMass);
    if (carrierHooks().setClassCaps) {
        carrierHooks().setClassCaps(*this);
    }
}

void Carrier::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    crew.SaveCrewState(scn);
}

void Carrier::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        offered.emplace_back(line);
        if (crew.ParseCrewScenarioLine(line) != 1) {
            ParseScenarioLineEx(line, status);
        }
    }
}

void Carrier::clbkPreStep(double simt, double /*simdt*/, double /*mjd*/) {
    if (carrierHooks().preStep) {
        carrierHooks().preStep(*this, simt);
    }
}

void CrewTest::SetUp() {
    started_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "crew-test-XXXXXX").string();
    ASSERT_TRUE(vxtest::makeTempFolder(pattern));
    root = pattern;
    std::filesystem::create_directories(root / "modules");
    std::filesystem::create_directories(root / "meshes/CKit");
    std::filesystem::create_directories(root / "config/CKITIdConfig");
    std::filesystem::current_path(root);
    // The runtime's module file only has to exist; the version file says 2.0.
    writeFile("modules/CKit.dll", "");
    writeFile("meshes/CKit/ver.dtf", "2.0\n");
    carrierHooks() = CarrierHooks{};
}

void CrewTest::TearDown() {
    world_.reset();
    carrierHooks() = CarrierHooks{};
    std::filesystem::current_path(started_);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

vx::World& CrewTest::world() {
    if (!world_) {
        world_ = std::make_unique<vx::World>(options);
        world_->classes().add("Carrier", carrierInit, carrierExit);
        world_->setWarningSink([](std::string_view) {});
    }
    return *world_;
}

Carrier* CrewTest::addCarrier(const std::string& name) {
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::string reason;
    vx::VesselRecord* record = world().createVessel(name, "Carrier", status, &reason);
    EXPECT_NE(record, nullptr) << reason;
    if (record == nullptr) {
        return nullptr;
    }
    return static_cast<Carrier*>(vapiGetVesselInterface(vapiGetObjectByName(name.c_str())));
}

Carrier* CrewTest::addReadyCarrier(const std::string& name) {
    const CarrierHooks saved = carrierHooks();
    carrierHooks().setClassCaps = [](Carrier& carrier) {
        carrier.initResult = carrier.crew.InitCrewManager(carrier.GetHandle());
        carrier.crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7);
    };
    Carrier* carrier = addCarrier(name);
    carrierHooks() = saved;
    EXPECT_NE(carrier, nullptr);
    if (carrier != nullptr) {
        EXPECT_TRUE(carrier->crew.IsReady()) << "set-up result " << carrier->initResult;
    }
    return carrier;
}

void CrewTest::writeFile(const std::string& path, const std::string& content) const {
    std::ofstream out(root / path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

void CrewTest::removeFile(const std::string& path) const {
    std::error_code ignored;
    std::filesystem::remove(root / path, ignored);
}

std::vector<ATTACHMENTHANDLE> CrewTest::crewPoints(const VESSEL& vessel) {
    std::vector<ATTACHMENTHANDLE> points;
    for (unsigned int i = 0; i < vessel.AttachmentCount(false); ++i) {
        ATTACHMENTHANDLE point = vessel.GetAttachmentHandle(false, i);
        const char* id = vessel.GetAttachmentId(point);
        if (id != nullptr && std::string(id) == "CKit") {
            points.push_back(point);
        }
    }
    return points;
}

PointNumbers CrewTest::publishedPoint(const VESSEL& vessel) {
    const std::vector<ATTACHMENTHANDLE> points = crewPoints(vessel);
    PointNumbers numbers{};
    EXPECT_FALSE(points.empty()) << "no crew point";
    if (points.empty()) {
        return numbers;
    }
    VECTOR3 pos{}, dir{}, rot{};
    vessel.GetAttachmentParams(points.front(), pos, dir, rot);
    numbers = {pos.x, pos.y, pos.z, dir.x, dir.y, dir.z, rot.x, rot.y, rot.z};
    return numbers;
}

} // namespace crewtest
