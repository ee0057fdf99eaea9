// The walking-crew class "CKit": who a walker is, how it leaves an airlock, how it walks and
// what its scenario block keeps.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "crew/CrewExchange.h"
#include "tests/addons/AddonWorld.h"

namespace {

// Its points for parents, "id x y z; " each, then its meshes.
std::string pointsOf(const char* name) {
    std::string out;
    const vx::VesselRecord& walker = *vx::World::current()->findVessel(name);
    for (const auto& p : walker.parentPoints) {
        out += std::string(p->id.data()) + " " + std::to_string(int(p->pos.x)) + " " +
               std::to_string(int(p->pos.y)) + " " + std::to_string(int(p->pos.z)) + "; ";
    }
    return out + walker.meshes.at(0).name;
}

const std::string kPerson = "CK-Hold 0 0 0; C-Ki 37 72 81; ckit/eng";
const std::string kNeutral = "CK-Hold 0 0 0; C-Ki 30 70 70; ckit/ckit";
const std::string kNoData = "CK-Hold 0 0 0; ckit/ckit";

struct IdentityCase {
    const char* record; // vessel name in the EVA exchange file: its first 40 characters
    const char* vessel;
    std::string points;
    std::string hud;                                // before " - arrows walk, ..."
    std::size_t bytes = sizeof(CrewExchangeRecord); // of the file; 0 for none
};

const IdentityCase kIdentityCases[] = {
    {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kPerson, "Vasko (Eng) aged 37"},
    {"CKit_Eng-Marietta Vasko", "CKit_Eng-Marietta_Vasko2", kPerson,
     "Marietta Vasko (Eng) aged 37"},
    {"CKit_Ana Lee", "CKit_Ana_Lee", kPerson, "Ana Lee aged 37"},
    {"CKit_Doc-Ana Lee", "CKit_Eng-Marietta_Vasko", kNeutral, "Marietta Vasko (Eng) aged 30"},
    {"CKit_Eng-Vasko", "CKit_Eng-VaskoX", kNeutral, "VaskoX (Eng) aged 30"},
    {"CKit_Eng-Vasko", "CKit_Eng-Vasko2b", kNeutral, "Vasko2b (Eng) aged 30"},
    {"CKit_Eng-Vasko2", "CKit_Eng-Vasko", kNeutral, "Vasko (Eng) aged 30"},
    {"CKit_Eng-Ana Lee", "CKit_Eng-Ana Lee", kNeutral, "Ana Lee (Eng) aged 30"},
    {"", "CKit_Eng-Vasko", kNeutral, "Vasko (Eng) aged 30"},
    {"CKit_AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "CKit_AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
     kNeutral, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA aged 30"},
    {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kNeutral, "Vasko (Eng) aged 30", 103},
    {"CKit_Eng-Vasko", "CKit_Eng-Vasko", kNeutral, "Vasko (Eng) aged 30", 0},
    {"CKitTColony", "CKitTColony", kNoData, ""},
    {"Rover", "Rover", kNoData, ""},
};

class WalkerTest : public AddonTest {
protected:
    // In a new world, the exchange file as a crew manager writes it, then the walker.
    void createWalker(const IdentityCase& c) {
        restart();
        CrewExchangeRecord record{{}, "ckit/eng", 37, 72, 100, 81, 0, 0};
        std::memcpy(record.vesselName, c.record, std::min(std::strlen(c.record), std::size_t{40}));
        root.remove("config/CKittmp.cfg");
        if (c.bytes > 0) {
            root.write("config/CKittmp.cfg",
                       std::string(reinterpret_cast<char*>(&record), c.bytes));
        }
        create(c.vessel, "CKit");
    }
};

TEST_F(WalkerTest, TakesThePersonOfTheExchangeFileOnlyWhenItsRecordNamesTheWalker) {
    for (const IdentityCase& c : kIdentityCases) {
        createWalker(c);
        EXPECT_EQ(pointsOf(c.vessel), c.points) << c.record << " for " << c.vessel;
    }
}

TEST_F(WalkerTest, HudSaysWhoItIs) {
    for (const IdentityCase& c : kIdentityCases) {
        createWalker(c);
        world->setFocus(world->findVessel(c.vessel));
        world->setHudSize(1024, 600);
        world->step(0.1);
        EXPECT_EQ(world->hudText(),
                  c.hud + (c.hud.empty() ? "" : " - arrows walk, PgUp/PgDn climb"));
        EXPECT_EQ(c.hud.empty() ? 150 : world->hudFrame().at(0).y, 150) << c.vessel;
    }
}

MATRIX3 turn(double xDegrees, double yDegrees) { // about y, then about x
    const double x = xDegrees * std::numbers::pi / 180, y = yDegrees * std::numbers::pi / 180;
    const double cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y);
    return {cy, sx * sy, cx * sy, 0, cx, -sx, -sy, sx * cy, cx * cy};
}

void expectNear(const VECTOR3& got, const VECTOR3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-6);
    EXPECT_NEAR(got.y, want.y, 1e-6);
    EXPECT_NEAR(got.z, want.z, 1e-6);
}

TEST_F(WalkerTest, PersonCreatedInsideAnAirlockBoxStepsOutAlongItsOwnZToOneMetrePast) {
    struct {
        const char* name;
        const char* pointId;
        double colonyYaw, walkerPitch, walkerYaw;
        VECTOR3 start, end; // in the colony's frame
    } const cases[] = {
        {"CKit_Eng-Vasko", "CKit", 0, 0, 0, {0, 0, 1}, {0, 0, 5}},
        {"CKit_Eng-Vasko", "CKit", 0, 0, -90, {1, 0, 2}, {-3, 0, 2}},
        {"CKit_Eng-Vasko", "CKit", 0, -90, 0, {0, 0.5, 2}, {0, 2, 2}},
        {"CKit_Eng-Vasko", "CKit", 90, 0, 0, {1, 0, 2}, {-3, 0, 2}},
        {"CKit_Eng-Vasko", "CKit", 0, 0, -45, {0, 0, 1}, {-2.70710678, 0, 3.70710678}},
        // On a face of the box, in a box on no crew point, or not a person: it stays.
        {"CKit_Eng-Vasko", "CKit", 0, 0, 0, {0, 0, 4}, {0, 0, 4}},
        {"CKit_Eng-Vasko", "CKit", 0, 0, 0, {2, 0, 2}, {2, 0, 2}},
        {"CKit_Eng-Vasko", "CKitX", 0, 0, 0, {0, 0, 1}, {0, 0, 1}},
        {"CKitTColony", "CKit", 0, 0, 0, {0, 0, 1}, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.pointId + " " + std::to_string(c.start.z));
        restart();
        boxPointId = c.pointId;
        VESSEL* colony = create("Colony", "Box", {7e6, 100, -50}, turn(0, c.colonyYaw));
        VECTOR3 at{}, now{};
        colony->Local2Rel(c.start, at);
        create(c.name, "CKit", at, turn(c.walkerPitch, c.walkerYaw))->GetGlobalPos(at);
        colony->Global2Local(at, now);
        expectNear(now, c.end);
    }
}

TEST_F(WalkerTest, KeysWalkAPersonHalfAMetreAlongItsOwnAxes) {
    struct {
        const char* name;
        const char* key;
        VECTOR3 move; // in the walker's frame
    } const cases[] = {
        {"CKit_Eng-Vasko", "left", {-0.5, 0, 0}}, {"CKit_Eng-Vasko", "right", {0.5, 0, 0}},
        {"CKit_Eng-Vasko", "up", {0, 0, 0.5}},    {"CKit_Eng-Vasko", "down", {0, 0, -0.5}},
        {"CKit_Eng-Vasko", "pgup", {0, 0.5, 0}},  {"CKit_Eng-Vasko", "pgdn", {0, -0.5, 0}},
        {"CKit_Eng-Vasko", "e", {0, 0, 0}},       {"CKitTColony", "up", {0, 0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.key);
        restart();
        VESSEL* walker = create(c.name, "CKit", {7e6, 0, 0}, turn(0, 90));
        world->setFocus(world->findVessel(c.name));
        vx::KeySpec key;
        VECTOR3 before{}, back{};
        walker->GetGlobalPos(before);
        ASSERT_TRUE(vx::parseKeySpec(c.key, key));
        EXPECT_EQ(world->pressKey(key), c.move.x + c.move.y + c.move.z != 0 ? 1 : 0);
        walker->Global2Local(before, back); // where it stood, seen from where it stands
        expectNear({-back.x, -back.y, -back.z}, c.move);
    }
}

TEST_F(WalkerTest, BlockKeepsThePersonWhereItWasSavedThroughASaveAndAReload) {
    const std::string neutral = "  CREW 30 70 70\n  MESH ckit/ckit\n";
    struct {
        const char* name;
        const char* lines;
        std::string points;
        std::string saved; // the block's last lines
    } const cases[] = {
        {"CKit_Eng-Vasko", "CREW 37 72 81\n  MESH ckit/eng",
         "CK-Hold 0 0 0; C-Ki 37 72 81; ckit/ckit", "  CREW 37 72 81\n  MESH ckit/eng\n"},
        {"CKitTColony", "CREW 44 66 90", "CK-Hold 0 0 0; C-Ki 44 66 90; ckit/ckit",
         "  CREW 44 66 90\n  MESH ckit/ckit\n"},
        {"Rover", "CREW 44 66 90", kNoData, ""},
        {"CKit_Eng-Vasko", "CREW 37 72", kNeutral, neutral},
        {"CKit_Eng-Vasko", "CREW 37 old 81", kNeutral, neutral},
        {"CKit_Eng-Vasko", "CREW 37 72 81 x", kNeutral, neutral},
        {"CKit_Eng-Vasko", "CREW 37 72 99999999999", kNeutral, neutral},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        warnings.clear();
        // Inside the box of a colony, where a person on EVA would step out at once.
        load(std::string(
                 "BEGIN_VESSEL Box Colony\n  POS 7000000 0 -1\nEND_VESSEL\nBEGIN_VESSEL CKit ") +
             c.name + "\n  POS 7000000 0 0\n  " + c.lines + "\nEND_VESSEL\n");
        EXPECT_EQ(pointsOf(c.name), c.points);
        EXPECT_EQ(world->findVessel(c.name)->pos().z, 0.0);
        // A line it cannot read is left to the host, which reports it.
        EXPECT_EQ(warnings.size(), c.saved == neutral ? 1u : 0u);
        const std::string saved = world->scenarioText();
        EXPECT_TRUE(saved.ends_with("  STATUS FLIGHT\n" + c.saved + "END_VESSEL\n")) << saved;
        load(saved);
        EXPECT_EQ(pointsOf(c.name), c.points);
        EXPECT_EQ(world->scenarioText(), saved);
    }
    // What the sender of a transfer vessel gave it is kept, in whole numbers.
    restart();
    create("CKitTColony", "CKit")->CreateAttachment(true, {44, 66, 90.7}, {}, {}, "C-Ki");
    EXPECT_TRUE(world->scenarioText().ends_with("  CREW 44 66 90\n  MESH ckit/ckit\nEND_VESSEL\n"));
}

} // namespace
