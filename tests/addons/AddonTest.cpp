// The add-on vessels in the stand-in host, each test in a root folder of its own: who a walker
// is, how it leaves an airlock and what its block keeps (its HUD line and walking on the level are
// left to the colony's end-to-end roads); and the answers and published crew points of tenders.
#include <cmath>
#include <cstring>
#include <numbers>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "crew/CrewExchange.h"
#include "host/Vantrix.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace {

class AddonTest : public ::testing::Test {
protected:
    AddonTest() { restart(); }

    void restart() {
        world.reset(); // the host's functions work on one world at a time
        world = std::make_unique<vx::World>();
        warnings.clear();
        world->setWarningSink([this](std::string_view message) { warnings.emplace_back(message); });
    }
    void load(const std::string& text) {
        restart();
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(vx::parseScenarioText(text, "test.scn", doc, error)) << error;
        ASSERT_TRUE(world->load(doc, error)) << error;
    }
    VESSEL* create(const char* name, const char* className,
                   const MATRIX3& rot = {1, 0, 0, 0, 1, 0, 0, 0, 1},
                   const VECTOR3& pos = {7e6, 0, 0}) {
        return vapiGetVesselInterface(
            world->createVessel(name, className, {pos, {}, {}, rot, 0, 0, 0, nullptr, 0}));
    }

    vxtest::TestRoot root;
    std::vector<std::string> warnings;
    std::unique_ptr<vx::World> world;
};

// How many points for parents it has, the last one's id and position, and its mesh.
std::string pointsOf(const char* name) {
    const vx::VesselRecord& walker = *vx::World::current()->findVessel(name);
    const VxAttachment& p = *walker.parentPoints.back();
    return std::to_string(walker.parentPoints.size()) + " " + p.id.data() + " " +
           std::to_string(int(p.pos.x)) + " " + std::to_string(int(p.pos.y)) + " " +
           std::to_string(int(p.pos.z)) + " " + walker.meshes.at(0).name;
}

const char* const kPerson = "2 C-Ki 37 72 81 ckit/eng";
const char* const kNeutral = "2 C-Ki 30 70 70 ckit/ckit";

TEST_F(AddonTest, WalkerTakesThePersonOfTheExchangeFileOnlyWhenItsRecordNamesIt) {
    struct {
        const char* record; // vessel name in the exchange file: its first 40 characters
        const char* vessel;
        const char* points;
        std::size_t bytes = sizeof(CrewExchangeRecord); // of the file; 0 for none, first
    } const cases[] = {
        {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kNeutral, 0},
        {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kPerson},
        {"CKit_Eng-Ana Lee", "CKit_Eng-Ana_Lee90", kPerson},
        {"CKit_Doc-Ana Lee", "CKit_Eng-Ana_Lee", kNeutral},
        {"CKit_Eng-Vasko", "CKit_Eng-VaskoX", kNeutral},
        {"CKit_", "CKit_", kNeutral},
        {"CKit_AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "CKit_AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
         kNeutral},
        {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kNeutral, 103},
    };
    for (const auto& c : cases) {
        restart();
        CrewExchangeRecord record{{}, "ckit/eng", 37, 72, 100, 81, 0, 0};
        std::memcpy(record.vesselName, c.record, strnlen(c.record, sizeof record.vesselName));
        if (c.bytes > 0) {
            root.write("config/CKittmp.cfg",
                       std::string(reinterpret_cast<char*>(&record), c.bytes));
        }
        create(c.vessel, "CKit");
        EXPECT_EQ(pointsOf(c.vessel), c.points) << c.record << " for " << c.vessel;
    }
}

MATRIX3 turn(double xDegrees, double yDegrees) { // about y, then about x
    const double x = xDegrees * std::numbers::pi / 180, y = yDegrees * std::numbers::pi / 180;
    const double cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y);
    return {cy, sx * sy, cx * sy, 0, cx, -sx, -sy, sx * cy, cx * cy};
}

TEST_F(AddonTest, PersonCreatedInsideAnAirlockBoxStepsOutAlongItsOwnZToOneMetrePast) {
    struct {
        const char* name;
        double pitch, yaw;  // the walker's, in the frame of the tender publishing the box
        VECTOR3 start, end; // in that frame, where the box is x -2..2, y -2..2, z 3..7
    } const cases[] = {
        {"CKit_Eng-Vasko", 0, 0, {0, 0, 4}, {0, 0, 8}},
        {"CKit_Eng-Vasko", 0, -90, {1, 0, 5}, {-3, 0, 5}},
        {"CKit_Eng-Vasko", -90, 0, {0, 0.5, 5}, {0, 3, 5}},
        {"CKit_Eng-Vasko", 0, -45, {0, 0, 4}, {-2.70710678, 0, 6.70710678}},
        {"CKit_Eng-Vasko", 0, 0, {0, 11, 4}, {0, 11, 8}}, // in the later boxes
        {"CKit_Eng-Vasko", 0, 0, {11, -1, 4}, {11, -1, 8}},
        // On a face of the box it stays.
        {"CKit_Eng-Vasko", 0, 0, {0, 0, 7}, {0, 0, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.start.z));
        restart();
        VESSEL* tender = create("Tender", "Tender", turn(0, 90), {7e6, 100, -50});
        // Boxes lying across x = y, as pos {xmin, xmax, ymin} and dir {ymax, zmin, zmax}.
        for (const VECTOR3& box : {VECTOR3{-2, 2, 10}, VECTOR3{10, 12, -2}}) {
            tender->CreateAttachment(false, box, {box.z + 2, 3, 7}, {}, "CKit");
        }
        VECTOR3 at{}, now{};
        tender->Local2Rel(c.start, at);
        create(c.name, "CKit", turn(c.pitch, c.yaw + 90), at)->GetGlobalPos(at);
        tender->Global2Local(at, now);
        EXPECT_NEAR(now.x, c.end.x, 1e-6);
        EXPECT_NEAR(now.y, c.end.y, 1e-6);
        EXPECT_NEAR(now.z, c.end.z, 1e-6);
    }
}

TEST_F(AddonTest, WalkerBlockKeepsThePersonWhereItWasSavedThroughASaveAndAReload) {
    const std::string neutral = "  CREW 30 70 70\n  MESH ckit/ckit\n";
    struct {
        const char* name;
        const char* lines;
        const char* points;
        std::string saved; // the block's last lines
    } const cases[] = {
        {"CKit_Eng-Vasko", "CREW 37 72 81\n  MESH ckit/eng", kPerson,
         "  CREW 37 72 81\n  MESH ckit/eng\n"},
        {"CKitTColony", "CREW 44 66 90", "2 C-Ki 44 66 90 ckit/ckit",
         "  CREW 44 66 90\n  MESH ckit/ckit\n"},
        {"Rover", "CREW 44 66 90", "1 CK-Hold 0 0 0 ckit/ckit", ""},
        {"CKit_Eng-Vasko", "CREW 37 72 81 x", kNeutral, neutral},
        {"CKit_Eng-Vasko", "CREW 37 72 99999999999", kNeutral, neutral},
        {"CKit_Eng-Vasko", "CREW -2147483648 72 81\n  MESH ckit/eng",
         "2 C-Ki -2147483648 72 81 ckit/eng", "  CREW -2147483648 72 81\n  MESH ckit/eng\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        // Inside a tender's airlock box, where a person leaving it would step out at once.
        load(std::string("BEGIN_VESSEL Tender T\n  POS 7000000 0 -5\nEND_VESSEL\nBEGIN_VESSEL "
                         "CKit ") +
             c.name + "\n  POS 7000000 0 0\n  " + c.lines + "\nEND_VESSEL\n");
        EXPECT_EQ(pointsOf(c.name), c.points);
        EXPECT_EQ(world->findVessel(c.name)->pos().z, 0.0);
        static_cast<VESSEL2*>(world->findVessel(c.name)->iface)
            ->clbkConsumeBufferedKey(VXK_PRIOR, true, nullptr);
        EXPECT_EQ(world->findVessel(c.name)->pos().y,
                  std::string_view(c.name).starts_with("CKit_") ? 0.5 : 0.0)
            << "a person climbs";
        // A line it cannot read is left to the host, which reports it.
        EXPECT_EQ(warnings.size(), c.saved == neutral ? 1u : 0u);
        const std::string saved = world->scenarioText();
        EXPECT_TRUE(saved.ends_with("  STATUS FLIGHT\n" + c.saved + "END_VESSEL\n")) << saved;
    }
}

std::string block(const char* name, const std::string& lines) {
    return std::string("BEGIN_VESSEL Tender ") + name + "\n  POS 7000000 0 0\n" + lines +
           "END_VESSEL\n";
}

const std::string kOlef = "  CKITCREW -Olef_Brandt-19-70-45\n";
const std::string kDuma = "  CKITCREW -Duma_Okaro-32-70-45\n";

const struct {          // answers as "result text;", published points as "name airlock/free-seats"
    std::string blocks; // scenario text; empty: a tender created without a block
    const char* keys;   // pressed on the first vessel, one a step; "-" for none
    std::string expected;
} kRoads[] = {
    {"", "- shift+e rctrl+a s 1 a e a e 2",
     "-;0;0;0;1 slot 0 Ilsa Brandvik selected;1 airlock closed;1 airlock closed;1 airlock open;1 "
     "Ilsa Brandvik out on EVA;1 nobody aboard;| Tender 1/4; CKit_Pil-Ilsa_Brandvik 2 C-Ki 34 68 "
     "62 ckit/ckit; "},
    {block("Tender", "  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n" + kOlef + kDuma), "2 1 1 1 2 e e 1",
     "1 slot 0 Ilsa Brandvik selected;1 slot 1 Olef Brandt selected;1 slot 2 Duma Okaro selected;1 "
     "slot 2 Duma Okaro selected;1 slot 1 Olef Brandt selected;1 Olef Brandt out on EVA;1 Ilsa "
     "Brandvik out on EVA;1 slot 0 Duma Okaro selected;| Tender 1/3; CKit_Olef_Brandt 2 C-Ki 19 70 "
     "45 ckit/ckit; CKit_Pil-Ilsa_Brandvik 2 C-Ki 34 68 62 ckit/ckit; "},
    {block("Bare", "") + block("Mixed", kOlef + "  SEATS 2\n" + kDuma) +
         block("Shut", "  AIRLOCK CLOSED\n") + block("Max", "  SEATS 100\n") +
         block("Cabinless", "  NOCREW\n" + kOlef) +
         block("Seats", "  SEATS 0\n  SEATS 101\n  SEATS 2x\n") +
         block("Lower", "  ckitcrew -Olef_Brandt-19-70-45\n") +
         block("Over", "  SEATS 1\n" + kOlef + kDuma) +
         block("Refused", kOlef + "  CKITCREW -Duma_Okaro-141-70-45\n") +
         "BEGIN_VESSEL Tender Empty\nEND_VESSEL\n",
     "",
     "| Bare 1/4; Mixed 1/0; Shut 0/4; Max 1/100; Cabinless ; Seats 1/4; Lower 1/3; Over 1/0; "
     "Refused 1/3; Empty 1/3; CKITCREW -Olef_Brandt-19-70-45; SEATS 0; SEATS 101; SEATS 2x; "
     "CKITCREW -Duma_Okaro-32-70-45; CKITCREW -Duma_Okaro-141-70-45; "},
};

std::string published(const vx::World& world) {
    std::string out;
    for (const vx::VesselRecord* v : world.vessels()) {
        out += v->name + " " + (v->className == "CKit" ? pointsOf(v->name.c_str()) : "");
        for (const auto& p : v->childPoints) { // the crew point, where there is one
            out += std::to_string(int(p->rot.x)) + "/" + std::to_string(int(p->rot.z));
        }
        out += "; ";
    }
    return out;
}

TEST_F(AddonTest, TenderRoadsGetTheirAnswersAndLeaveTheCrewWhereTheySaveIt) {
    for (const auto& road : kRoads) {
        road.blocks.empty() ? (restart(), void(create("Tender", "Tender"))) : load(road.blocks);
        std::string got;
        std::istringstream keys(road.keys);
        for (std::string name; keys >> name;) {
            vx::KeySpec key;
            got += vx::parseKeySpec(name, key) ? std::to_string(world->pressKey(key)) : "-";
            world->step(0.1);
            got += world->hudText().substr(world->hudText().find(':') + 1) + ";"; // after "Tender:"
        }
        got += "| " + published(*world);
        for (const std::string& warning : warnings) {
            got += warning.substr(warning.find("skipped: ") + 9) + "; ";
        }
        EXPECT_EQ(got, road.expected);
        const std::string before = published(*world);
        load(world->scenarioText());
        EXPECT_EQ(published(*world), before) << "not the same after a save and a reload";
        EXPECT_TRUE(warnings.empty());
    }
    const vx::VesselRecord& tender = *world->vessels().front(); // as every tender is built
    const VECTOR3 &pmi = tender.def.pmi, &rot = tender.docks.at(0)->rot;
    EXPECT_EQ(std::vector<double>({tender.def.size, pmi.x, pmi.y, pmi.z, rot.x, rot.y, rot.z}),
              std::vector<double>({12, 4, 4, 2, 0, 1, 0}));
}

} // namespace
