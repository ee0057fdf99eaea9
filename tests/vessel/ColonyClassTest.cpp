// The colony as its class set-up leaves it: body, lift curve, habitat rotations, ports, mesh,
// founding crew and greeting.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/world/VesselRecord.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

constexpr double kDegree = 0.017453292519943278;

vx::VesselRecord& recordOf(halcyra& colony) {
    return *vx::liveVessel(colony.GetHandle());
}

TEST(ColonyClass, BodyAndAerodynamicsAreTheColonysOwn) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    const vx::VesselDefinition& def = recordOf(*colony).def;
    EXPECT_EQ(def.size, 10000.0);
    EXPECT_EQ(def.visibilityLimit, 0.001);
    EXPECT_EQ(def.spotLimit, 1e-9);
    EXPECT_EQ(def.cw, (std::array<double, 4>{0.3, 0.3, 0.6, 0.9}));
    EXPECT_EQ(def.wingAspect, 0.7);
    EXPECT_EQ(def.wingEffectiveness, 2.5);
    EXPECT_EQ(def.crossSections.z, 3e7);
    EXPECT_EQ(def.rotDrag.x, 3e8);
    EXPECT_EQ(def.pmi.z, 3e7);
    EXPECT_EQ(def.pitchMomentScale, 0.0001);
    EXPECT_EQ(def.bankMomentScale, 0.0001);
    ASSERT_TRUE(def.hasTouchdownPoints);
    EXPECT_EQ(def.touchdownPoints[2].z, 20000.0);
    EXPECT_EQ(def.touchdownPoints[0].x, -1000.0);
    // The structure and the twelve founders' weights.
    EXPECT_EQ(colony->GetEmptyMass(), 3.9e12 + 579.0);
}

TEST(ColonyClass, FlightModelZeroLeavesTheMomentScalesToTheHost) {
    vx::WorldOptions options = colonyWorldOptions();
    options.flightModel = 0;
    vx::World world(options);
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    EXPECT_EQ(recordOf(*colony).def.pitchMomentScale, vx::VesselDefinition{}.pitchMomentScale);
    EXPECT_EQ(recordOf(*colony).def.bankMomentScale, vx::VesselDefinition{}.bankMomentScale);
}

struct LiftCase {
    double degrees;
    double expected;
};

class ColonyLiftCurve : public ::testing::TestWithParam<LiftCase> {};

TEST_P(ColonyLiftCurve, GivesTheCoefficientOfItsBreakpointLines) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    LiftCoeffFunc lift = recordOf(*colony).def.liftCoeff;
    ASSERT_NE(lift, nullptr);
    EXPECT_NEAR(lift(GetParam().degrees * kDegree), GetParam().expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Angles, ColonyLiftCurve,
                         ::testing::Values(LiftCase{0, 0.0125}, LiftCase{10, 0.1375},
                                           LiftCase{20, 0.25}, LiftCase{22.5, 0.225},
                                           LiftCase{40, 0.2 - 15.0 * 0.2 / 35.0},
                                           LiftCase{-45, -0.05}, LiftCase{-30, -0.1},
                                           LiftCase{15, 0.2}, LiftCase{90, 0}, LiftCase{180, 0},
                                           LiftCase{200, 0}, LiftCase{-180, 0}, LiftCase{-200, 0}));

TEST(ColonyClass, HabitatTurnsSevenFastGroupsAndOneSlowAboutTheLongAxis) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    halcyra* second = createColony(world, "Halcyra 2");
    ASSERT_NE(colony, nullptr);
    ASSERT_NE(second, nullptr);
    vx::VesselRecord& record = recordOf(*colony);
    ASSERT_EQ(record.animations.size(), 2u);
    const auto* fast = static_cast<const MGROUP_ROTATE*>(
        record.animations[colony->fastRotationAnim].components.at(0)->transform);
    const auto* slow = static_cast<const MGROUP_ROTATE*>(
        record.animations[colony->slowRotationAnim].components.at(0)->transform);
    ASSERT_EQ(fast->ngrp, 7u);
    const unsigned int fastGroups[] = {1, 2, 7, 6, 8, 9, 10};
    for (unsigned int i = 0; i < 7; ++i) {
        EXPECT_EQ(fast->grp[i], fastGroups[i]) << "group " << i;
    }
    ASSERT_EQ(slow->ngrp, 1u);
    EXPECT_EQ(slow->grp[0], 11u);
    EXPECT_EQ(fast->angle, 6.2831855f);
    EXPECT_EQ(fast->axis.z, 1.0);
    EXPECT_EQ(fast->mesh, 0u);
    // Every colony shares the same two transforms: the host keeps them by pointer.
    const vx::VesselRecord& other = recordOf(*second);
    EXPECT_EQ(other.animations[second->fastRotationAnim].components.at(0)->transform,
              record.animations[colony->fastRotationAnim].components.at(0)->transform);
}

TEST(ColonyClass, FivePortsFaceAlongTheLongAxisWithDockZeroFirst) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    const vx::VesselRecord& record = recordOf(*colony);
    ASSERT_EQ(record.docks.size(), 5u);
    const VECTOR3 positions[] = {{81.74, 189.56, 21699.4},
                                 {-277.8, -161.5, 21655.64},
                                 {323.983, 72.23, 21455.67},
                                 {323.8, -161.75, 21455.67},
                                 {-277.8, 189.16, 21456.98}};
    for (std::size_t i = 0; i < 5; ++i) {
        const VxDock& dock = *record.docks[i];
        EXPECT_EQ(dock.pos.x, positions[i].x) << "dock " << i;
        EXPECT_EQ(dock.pos.z, positions[i].z) << "dock " << i;
        EXPECT_EQ(dock.dir.z, 1.0);
        EXPECT_EQ(dock.rot.y, 1.0);
    }
    ASSERT_EQ(record.meshes.size(), 1u);
    EXPECT_EQ(record.meshes[0].name, "halcyra");
    EXPECT_FALSE(record.meshes[0].hasOffset);
    EXPECT_EQ(record.meshes[0].visibilityMode, 3);
}

TEST(ColonyClass, SpacedockOpensWithTheTwelveFoundersAndTheGreeting) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    const char* names[] = {"Governer Vasko",    "Marietta Vasko", "Tobiah Renart",
                           "Kenta Morisawa",    "Olef Brandt",    "Duma Okaro",
                           "WeiLin Tsao",       "Lucien Marrot",  "Siobha Carrick",
                           "Matthias Petrovan", "Anselm Varadi",  "Nerea Castelli"};
    const char* tags[] = {"Capt", "Eng", "Doc", "Sci", "", "", "", "", "Eng", "", "", "Eng"};
    ASSERT_EQ(colony->crew.crewCount, 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_STREQ(colony->crew.roster[i].name, names[i]) << "slot " << i;
        EXPECT_STREQ(colony->crew.roster[i].miscId, tags[i]) << "slot " << i;
    }
    EXPECT_EQ(colony->crew.roster[6].age, 61);
    EXPECT_EQ(publishedAirlock(*colony), 1);
    EXPECT_STREQ(colony->hudMessage,
                 "Spacedock on line six, transferring control now... E=EVA, 1/2=Select "
                 "personnel A=Open/Close airlock S=info M=Add personnel");
    EXPECT_EQ(std::strlen(colony->hudMessage), 122u);
    EXPECT_EQ(colony->hudMessageTimer, 30.0);

    // The airlock box and the free seats, as any other vessel reads them.
    VESSEL* reader = colony;
    ATTACHMENTHANDLE point = reader->GetAttachmentHandle(false, 0);
    ASSERT_NE(point, nullptr);
    EXPECT_STREQ(reader->GetAttachmentId(point), "CKit");
    VECTOR3 pos{}, dir{}, rot{};
    reader->GetAttachmentParams(point, pos, dir, rot);
    EXPECT_EQ(pos.x, -3.0);
    EXPECT_EQ(dir.z, 7.0);
    EXPECT_EQ(rot.x, 1.0);
    EXPECT_EQ(rot.z, 38.0);
}

TEST(ColonyClass, LogsEachAnimationSetUp) {
    vx::World world(colonyWorldOptions());
    std::vector<std::string> logged;
    world.setEventSink([&](double, std::string_view kind, std::string_view text) {
        if (kind == "log") {
            logged.emplace_back(text);
        }
    });
    ASSERT_NE(createColony(world, "Halcyra"), nullptr);
    ASSERT_NE(createColony(world, "Halcyra 2"), nullptr);
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Created animation"), 2);
}

} // namespace
