// The colony's step: the turning habitat, the arrival announcement, the hard landing, and the
// scenario block that carries the crew from one run to the next.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "sim/text/ScenarioText.h"
#include "sim/world/VesselRecord.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

class ColonyStep : public ::testing::Test {
protected:
    void SetUp() override {
        colony = createColony(world, "Halcyra");
        ASSERT_NE(colony, nullptr);
    }

    vx::VesselRecord& record() { return *vx::liveVessel(colony->GetHandle()); }
    double animationState(unsigned int id) { return record().animations.at(id).state; }

    vx::World world{colonyWorldOptions()};
    halcyra* colony = nullptr;
};

TEST_F(ColonyStep, FastPhaseWrapsOnTheHundredAndThirteenthSecond) {
    for (int i = 0; i < 112; ++i) {
        callbacksOf(*colony).clbkPreStep(0.0, 1.0, 0.0);
    }
    EXPECT_NEAR(colony->fastRotationPhase, 112 * 0.008888888888888889, 1e-12);
    EXPECT_NEAR(colony->slowRotationPhase, 112 * 0.0044444444444444444, 1e-12);
    callbacksOf(*colony).clbkPreStep(0.0, 1.0, 0.0);
    EXPECT_NEAR(colony->fastRotationPhase, 113 * 0.008888888888888889 - 1.0, 1e-12);
    EXPECT_EQ(animationState(colony->fastRotationAnim), colony->fastRotationPhase);
    EXPECT_EQ(animationState(colony->slowRotationAnim), colony->slowRotationPhase);
}

struct WrapCase {
    double start;
    double expected;
};

class ColonyPhaseWrap : public ColonyStep, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(ColonyPhaseWrap, KeepsOnlyTheFractionAboveOne) {
    colony->fastRotationPhase = GetParam().start;
    colony->slowRotationPhase = GetParam().start;
    callbacksOf(*colony).clbkPreStep(0.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(colony->fastRotationPhase, GetParam().expected);
    EXPECT_DOUBLE_EQ(colony->slowRotationPhase, GetParam().expected);
    // A step of no length still sets both animations.
    EXPECT_DOUBLE_EQ(animationState(colony->fastRotationAnim), GetParam().expected);
    EXPECT_DOUBLE_EQ(animationState(colony->slowRotationAnim), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Phases, ColonyPhaseWrap,
                         ::testing::Values(WrapCase{1.0, 1.0}, WrapCase{1.25, 0.25},
                                           WrapCase{3.5, 0.5}, WrapCase{0.4, 0.4}),
                         [](const ::testing::TestParamInfo<WrapCase>& param) {
                             return "From" +
                                    std::to_string(static_cast<int>(param.param.start * 100));
                         });

// Puts the colony on the ground, sinking at the given speed.
void touchDown(vx::VesselRecord& vessel, double sinkRate) {
    vessel.pos() = {6371000.0, 0.0, 0.0};
    vessel.vel() = {sinkRate, 0.0, 0.0};
    vessel.ground() = vx::GroundPhase::Impact;
}

TEST_F(ColonyStep, LandingAtThreeMetresASecondIsSurvived) {
    touchDown(record(), -3.0);
    callbacksOf(*colony).clbkPreStep(0.0, 0.1, 0.0);
    EXPECT_EQ(colony->crew.roster[0].pulse, 65);
    EXPECT_EQ(std::string(colony->hudMessage).rfind("Spacedock on line six", 0), 0u);
}

TEST_F(ColonyStep, HarderLandingLeavesNoPulseAndSaysSoEveryStep) {
    touchDown(record(), -3.01);
    callbacksOf(*colony).clbkPreStep(0.0, 0.1, 0.0);
    for (int i = 0; i < colony->crew.crewCount; ++i) {
        EXPECT_EQ(colony->crew.roster[i].pulse, 0) << "slot " << i;
    }
    EXPECT_EQ(colony->crew.crewCount, 12);
    const std::string text = "Orbital Drop Operation successful.  Tabulating casualty rates and "
                             "mushroom cloud height...";
    EXPECT_EQ(colony->hudMessage, text);
    std::snprintf(colony->GetHudMessageBuffer(), kHudMessageSize, "%s", "something else");
    colony->hudMessageTimer = 3.0;
    callbacksOf(*colony).clbkPreStep(0.0, 0.1, 0.0);
    EXPECT_EQ(colony->hudMessage, text);
    EXPECT_EQ(colony->hudMessageTimer, 30.0);
}

TEST_F(ColonyStep, CasualtiesDoNotSurviveASaveAndReload) {
    colony->crew.roster[3].pulse = 0;
    const std::string saved = world.scenarioText();
    EXPECT_NE(saved.find("CKITCREW Capt-Governer_Vasko-41-65-74"), std::string::npos) << saved;

    vx::ScenarioDoc doc;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText(saved, "saved.scn", doc, error)) << error;
    vx::World reloaded(colonyWorldOptions());
    ASSERT_TRUE(reloaded.load(doc, error)) << error;
    auto* again = static_cast<halcyra*>(vapiGetVesselInterface(vapiGetObjectByName("Halcyra")));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->crew.crewCount, 11);
    EXPECT_EQ(rosterSlot(*again, "Kenta Morisawa"), -1);
    EXPECT_NE(rosterSlot(*again, "Nerea Castelli"), -1);
    EXPECT_EQ(again->GetEmptyMass(), 3.9e12 + 579.0 - 45.0);
    EXPECT_EQ(again->fastRotationPhase, 0.0);
    EXPECT_EQ(again->selectedSlot, 0);
}

TEST_F(ColonyStep, BlockWithoutCrewLinesLeavesAnEmptySpacedock) {
    const std::string text = "BEGIN_VESSEL halcyra Halcyra\n  STATUS FLIGHT\n  POS 7000000 0 0\n"
                             "  VEL 0 7546 0\nEND_VESSEL\n";
    vx::ScenarioDoc doc;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText(text, "bare.scn", doc, error)) << error;
    vx::World bare(colonyWorldOptions());
    ASSERT_TRUE(bare.load(doc, error)) << error;
    auto* loaded = static_cast<halcyra*>(vapiGetVesselInterface(vapiGetObjectByName("Halcyra")));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->crew.crewCount, 0);
    EXPECT_EQ(vx::liveVessel(loaded->GetHandle())->pos().x, 7000000.0);
}

TEST_F(ColonyStep, WalkerInTheAirlockIsAnnouncedWithTagNameAndAge) {
    std::array<char, 256> state{};
    for (int i = 0; i < 2; ++i) {
        callbacksOf(*colony).clbkConsumeBufferedKey(0x02, true, state.data());
    }
    ASSERT_EQ(callbacksOf(*colony).clbkConsumeBufferedKey(0x12, true, state.data()), 1);
    OBJHANDLE walker = vapiGetObjectByName("CKit_Doc-Tobiah_Renart");
    ASSERT_NE(walker, nullptr);
    world.setFocus(vx::liveVessel(walker));
    // Back into the middle of the airlock box.
    world.place(vx::liveVessel(walker), &record(), VECTOR3{0, 0, 0});
    for (int i = 0; i < 20 && colony->crew.crewCount < 12; ++i) {
        world.step(0.1);
    }
    ASSERT_EQ(colony->crew.crewCount, 12);
    EXPECT_EQ(vapiGetObjectByName("CKit_Doc-Tobiah_Renart"), nullptr);
    EXPECT_STREQ(colony->hudMessage,
                 "Doc \"Tobiah Renart\" aged 29 has entered the Colony - Zero-G tow lines to the "
                 "Central Hub are available in the Green Area...");
    EXPECT_EQ(world.focus(), &record());
}

} // namespace
