// The colony module as the host meets it, and what no end-to-end road shows: console answers,
// the HUD line's place and time, the turning habitat and the hard landing.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

#include "host/Keys.h"
#include "platform/WinApi.h"
#include "sim/world/HostStats.h"
#include "tests/support/TestRoot.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

// One colony in a root of the test's own, where its exchange files land.
class ColonyTest : public ::testing::Test {
protected:
    vx::VesselRecord& record() { return *vx::liveVessel(colony->GetHandle()); }

    vxtest::TestRoot root;
    vx::World world{colonyWorldOptions()};
    halcyra* colony = createColony(world, "Halcyra");
};

void put(std::string& out, const char* label, const std::vector<double>& values) {
    out += label;
    for (double value : values) {
        char text[32];
        std::snprintf(text, sizeof text, " %.15g", value); // the last unit of every figure
        out += text;
    }
    out += '\n';
}

std::string definitionOf(const vx::VesselRecord& vessel) {
    const vx::VesselDefinition& d = vessel.def;
    std::string out;
    const auto point = [&out](const char* label, const VECTOR3& p, const VECTOR3& u,
                              const VECTOR3& r) {
        put(out, label, {p.x, p.y, p.z, u.x, u.y, u.z, r.x, r.y, r.z});
    };
    put(out, "body",
        {d.size, vessel.emptyMass, d.visibilityLimit, d.spotLimit, d.albedo.x, d.albedo.y,
         d.albedo.z, d.trimScale, d.cameraOffset.x, d.cameraOffset.y, d.cameraOffset.z});
    put(out, "air",
        {d.cw[0], d.cw[1], d.cw[2], d.cw[3], d.wingAspect, d.wingEffectiveness, d.pitchMomentScale,
         d.bankMomentScale});
    point("drag", d.crossSections, d.rotDrag, d.pmi);
    point("touchdown", d.touchdownPoints[0], d.touchdownPoints[1], d.touchdownPoints[2]);
    std::vector<double> lift;
    for (double degrees :
         {0.0, 10.0, 15.0, 20.0, 22.5, 40.0, 90.0, 180.0, 200.0, -30.0, -45.0, -180.0, -200.0}) {
        // The factor the curve's own breakpoints are converted with, so that they fall exactly.
        lift.push_back(d.liftCoeff(degrees * 0.017453292519943278));
    }
    put(out, "lift", lift);
    for (const auto& p : vessel.docks) {
        point("dock", p->pos, p->dir, p->rot);
    }
    const VxAttachment& crewPoint = *vessel.childPoints.at(0);
    point(crewPoint.id.data(), crewPoint.pos, crewPoint.dir, crewPoint.rot);
    const vx::MeshRecord& mesh = vessel.meshes.at(0);
    put(out, mesh.name.c_str(),
        {double(vessel.childPoints.size()), double(vessel.meshes.size()), double(mesh.hasOffset),
         double(mesh.visibilityMode)});
    for (const vx::AnimationRecord& animation : vessel.animations) {
        const auto& part = *animation.components.at(0);
        const auto& turn = *static_cast<const MGROUP_ROTATE*>(part.transform);
        point("turn", turn.ref, turn.axis, {double(turn.angle), part.state0, part.state1});
        std::vector<double> groups{double(turn.mesh), double(animation.components.size())};
        groups.insert(groups.end(), turn.grp, turn.grp + turn.ngrp);
        put(out, " mesh parts groups", groups);
    }
    return out;
}

template <class Function> Function exported(void* module, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(module), name)));
}

class ColonyModule : public ::testing::TestWithParam<int> {};

// Each world loads the module afresh and unloads it when it ends.
TEST_P(ColonyModule, LoadsOnceAsksTheDateOnceAndTellsTheHostTheColonysWholeDefinition) {
    vxtest::TestRoot root;
    const vx::HostStats before = vx::hostStats();
    vx::WorldOptions options = colonyWorldOptions();
    options.flightModel = GetParam();
    vx::World world(options);
    const halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    ASSERT_NE(createColony(world, "Halcyra 2"), nullptr);
    std::string founders;
    for (int i = 0; i < colony->crew.crewCount; ++i) {
        const CrewRecord& m = colony->crew.roster[i];
        founders += std::string(m.miscId) + " " + m.name + " " + std::to_string(m.age) + " " +
                    std::to_string(m.pulse) + " " + std::to_string(int(m.weight)) + ",";
    }
    EXPECT_EQ(founders, "Capt Governer Vasko 41 65 74,Eng Marietta Vasko 37 67 55,Doc Tobiah "
                        "Renart 29 70 45,Sci Kenta Morisawa 25 70 45, Olef Brandt 19 70 45, Duma "
                        "Okaro 32 70 45, WeiLin Tsao 61 70 45, Lucien Marrot 48 70 45,Eng Siobha "
                        "Carrick 31 70 45, Matthias Petrovan 38 70 45, Anselm Varadi 26 70 45,Eng "
                        "Nerea Castelli 23 70 45,");
    EXPECT_EQ(vx::hostStats().initLibCalls, before.initLibCalls + 1);
    void* module = vx::hostStats().lastInitLibModule;
    const auto version = exported<ModuleVersionFunc>(module, kModuleVersionExport);
    ASSERT_NE(version, nullptr) << "InitLib was not given the module's own handle";
    const int asked = vx::hostStats().date2IntCalls;
    EXPECT_EQ(version(), 20060425);
    EXPECT_EQ(version(), 20060425);
    EXPECT_EQ(vx::hostStats().date2IntCalls, asked + 1);
    exported<VesselExitFunc>(module, kVesselExitExport)(nullptr);
    // Below flight model 1 the host keeps its own moment scales.
    EXPECT_EQ(
        definitionOf(*world.findVessel("Halcyra")),
        "body 10000 3900000000579 0.001 1e-09 1 1 1 0 0 0 0\n"
        "air 0.3 0.3 0.6 0.9 0.7 2.5" +
            std::string(GetParam() >= 1 ? " 0.0001 0.0001\n" : " 0 0\n") +
            "drag 300000000 300000000 30000000 300000000 300000000 30000000 300000000 "
            "300000000 30000000\n"
            "touchdown -1000 -3000 -20000 1000 -3000 -20000 0 -3000 20000\n"
            "lift 0.0125 0.1375 0.2 0.25 0.225 0.114285714285714 0 0 0 -0.1 -0.05 0 0\n"
            "dock 81.74 189.56 21699.4 0 0 1 0 1 0\ndock -277.8 -161.5 21655.64 0 0 1 0 1 0\n"
            "dock 323.983 72.23 21455.67 0 0 1 0 1 0\ndock 323.8 -161.75 21455.67 0 0 1 0 1 0\n"
            "dock -277.8 189.16 21456.98 0 0 1 0 1 0\nCKit -3 3 -4 4 -7 7 1 0 38\nhalcyra 1 1 0 3\n"
            "turn 0 0 0 0 0 1 6.28318548202515 0 1\n mesh parts groups 0 1 1 2 7 6 8 9 10\n"
            "turn 0 0 0 0 0 1 6.28318548202515 0 1\n mesh parts groups 0 1 11\n");
}

INSTANTIATE_TEST_SUITE_P(FlightModels, ColonyModule, ::testing::Values(1, 0));

struct ConsoleCase {
    const char* keys; // a character a key: e 1 2 a s c m 3 q ^ (left Shift); E A S C released
    int taken;        // presses the colony took
    std::string message;
    void (*prepare)(halcyra&) = [](halcyra&) {}; // before the first key
    std::string name = "Halcyra 2";
};

const ConsoleCase kConsoleCases[] = {
    {"EASCm3q^", 0,
     "Spacedock on line six, transferring control now... E=EVA, 1/2=Select personnel "
     "A=Open/Close airlock S=info M=Add personnel"},
    {"e", 1,
     "Error: No one by this name in Spacedock area.  Repeat,  please report to information "
     "kiosk...",
     [](halcyra& c) { c.selectedSlot = 20; }},
    {"e", 1, "Misc error with CKIT - Please reinstall.", [](halcyra& c) { c.crew.readyFlags = 0; }},
    {"eeeeeeeeeeee1", 13,
     "No personnel available in Spacedock area - Please add to roster.  Trams to Hab Section are "
     "standing by."},
    {"eeeeeeeeeeees", 13,
     "Currently 0 personnel available in Halcyra 2 Spacedock, with 50 positions available."},
    {"s", 1, "Currently 12 personnel available in " + std::string(200, 'x') + " Spacedock, with 38",
     [](halcyra&) {}, std::string(200, 'x')},
};

TEST_F(ColonyTest, ConsoleAnswersEachKeyOnTheHudLine) {
    const std::string keys = "e12ascm3q^";
    const std::uint32_t codes[] = {VXK_E, VXK_1, VXK_2, VXK_A, VXK_S,
                                   VXK_C, VXK_M, VXK_3, VXK_Q, VXK_LSHIFT};
    for (const ConsoleCase& c : kConsoleCases) {
        SCOPED_TRACE(c.keys);
        halcyra* target = createColony(world, c.name.c_str());
        ASSERT_NE(target, nullptr);
        c.prepare(*target);
        int taken = 0;
        for (const char* key = c.keys; *key != '\0'; ++key) {
            std::array<char, VXK_STATE_SIZE> state{};
            taken += callbacksOf(*target).clbkConsumeBufferedKey(
                codes[keys.find(char(std::tolower(*key)))], std::tolower(*key) == *key,
                state.data());
        }
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(target->hudMessage, c.message);
        ASSERT_TRUE(vapiDeleteVessel(target->GetHandle()));
    }
}

TEST_F(ColonyTest, HudLineStandsAQuarterDownAndItsTimerRunsOnlyWhileDrawn) {
    world.setFocus(&record());
    for (const auto& [height, y] : {std::pair{600, 150}, {768, 180}, {59, 0}}) {
        world.setHudSize(1024, height);
        world.step(0.5);
        EXPECT_EQ(world.hudFrame().at(0).x, 5);
        EXPECT_EQ(world.hudFrame().at(0).y, y) << height;
    }
    world.setFocus(vx::liveVessel(createColony(world, "Halcyra 2")->GetHandle()));
    world.step(10.0);
    world.setFocus(&record());
    world.step(28.0);
    EXPECT_DOUBLE_EQ(colony->hudMessageTimer, 0.5);
    world.step(1.0); // drawn once more, then the timer stops at zero
    EXPECT_EQ(colony->hudMessageTimer, 0.0);
    world.step(1.0);
    EXPECT_EQ(world.hudText(), "");
}

TEST_F(ColonyTest, HabitatTurnsAtItsTwoRatesKeepingOnlyTheFractionPastOne) {
    for (const auto& [start, seconds, fast, slow] :
         {std::tuple{0.0, 113.0, 0.00444444444444448, 0.50222222222222222},
          {1.0, 0.0, 1.0, 1.0},
          {3.5, 0.0, 0.5, 0.5}}) {
        colony->fastRotationPhase = colony->slowRotationPhase = start;
        callbacksOf(*colony).clbkPreStep(0.0, seconds, 0.0);
        EXPECT_NEAR(record().animations.at(0).state, fast, 1e-12) << start;
        EXPECT_NEAR(record().animations.at(1).state, slow, 1e-12) << start;
    }
}

TEST_F(ColonyTest, LandingFasterThanThreeMetresASecondStopsEveryPulseAndSaysSo) {
    for (const auto& [sinkRate, stopped, message] :
         {std::tuple{-3.0, 0, "other"},
          {-3.01, 12,
           "Orbital Drop Operation successful.  Tabulating casualty rates and mushroom cloud "
           "height..."}}) {
        record().pos() = {6371000.0, 0.0, 0.0};
        record().vel() = {sinkRate, 0.0, 0.0};
        record().ground() = vx::GroundPhase::Impact;
        std::snprintf(colony->hudMessage, kHudMessageSize, "other");
        callbacksOf(*colony).clbkPreStep(0.0, 0.1, 0.0);
        EXPECT_STREQ(colony->hudMessage, message) << sinkRate;
        const auto* crew = colony->crew.roster;
        EXPECT_EQ(std::count_if(crew, crew + 12, [](const auto& m) { return m.pulse == 0; }),
                  stopped);
    }
}

} // namespace
