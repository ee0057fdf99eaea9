// The colony's vessel object: what vvcInit builds, what each colony owns alone, its HUD line
// and its destruction.
#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/vessel/ColonyWorld.h"

namespace {

// The object as vvcInit left it, before the host's first callback.
struct FreshColony {
    bool seen = false;
    int version = 0;
    std::int32_t selectedSlot = -1;
    std::array<char, kHudMessageSize> hudMessage{};
    double hudMessageTimer = -1.0;
    double fastRotationPhase = -1.0;
    double slowRotationPhase = -1.0;
    bool crewBlank = false;
};

FreshColony fresh;
VesselInitFunc moduleInit = nullptr;
VesselExitFunc moduleExit = nullptr;

// Registered as a class of the test's own: hands the host what the module's vvcInit made,
// after noting how it was made.
VESSEL* snapshotInit(OBJHANDLE vessel, int flightModel) {
    VESSEL* made = moduleInit(vessel, flightModel);
    if (made == nullptr) {
        return nullptr;
    }
    const halcyra* colony = static_cast<const halcyra*>(made);
    static const CrewManager blank{};
    fresh.seen = true;
    fresh.version = colony->Version();
    fresh.selectedSlot = colony->selectedSlot;
    std::memcpy(fresh.hudMessage.data(), colony->hudMessage, kHudMessageSize);
    fresh.hudMessageTimer = colony->hudMessageTimer;
    fresh.fastRotationPhase = colony->fastRotationPhase;
    fresh.slowRotationPhase = colony->slowRotationPhase;
    fresh.crewBlank = std::memcmp(&colony->crew, &blank, sizeof blank) == 0;
    return made;
}

void snapshotExit(VESSEL* vessel) {
    moduleExit(vessel);
}

TEST(HalcyraObject, VvcInitBuildsAColonyAtItsInitialValues) {
    HalcyraModule module;
    ASSERT_NE(module.init(), nullptr);
    moduleInit = module.init();
    moduleExit = module.exit();
    vx::World world(colonyWorldOptions());
    world.classes().add("snapshot", &snapshotInit, &snapshotExit);
    ASSERT_NE(world.createVessel("Halcyra", "snapshot", orbitStatus()), nullptr);

    ASSERT_TRUE(fresh.seen);
    EXPECT_EQ(fresh.version, 2);
    EXPECT_EQ(fresh.selectedSlot, 0);
    EXPECT_STREQ(fresh.hudMessage.data(), "");
    EXPECT_EQ(fresh.hudMessageTimer, 0.0);
    EXPECT_EQ(fresh.fastRotationPhase, 0.0);
    EXPECT_EQ(fresh.slowRotationPhase, 0.0);
    EXPECT_TRUE(fresh.crewBlank) << "the crew manager must start with every byte zero";
}

TEST(HalcyraObject, ColonySpeaksForTheVesselAndFlightModelItWasCreatedWith) {
    vx::WorldOptions options = colonyWorldOptions();
    options.flightModel = 0; // not the interface's default
    vx::World world(options);
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    EXPECT_STREQ(colony->GetName(), "Halcyra");
    EXPECT_EQ(colony->GetHandle(), vapiGetObjectByName("Halcyra"));
    EXPECT_EQ(colony->GetFlightModel(), 0);
}

TEST(HalcyraObject, TwoColoniesKeepSeparateFields) {
    vx::World world(colonyWorldOptions());
    halcyra* first = createColony(world, "Halcyra");
    halcyra* second = createColony(world, "Halcyra 2");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);

    const std::string secondMessage = second->hudMessage;
    const double secondTimer = second->hudMessageTimer;
    const std::int32_t secondSlot = second->selectedSlot;
    const double secondPhase = second->fastRotationPhase;
    const std::int32_t secondCrewCount = second->crew.crewCount;
    std::strcpy(first->GetHudMessageBuffer(), "first colony only");
    first->selectedSlot = 7;
    first->fastRotationPhase = secondPhase + 0.25;
    first->crew.crewCount = secondCrewCount + 3;

    EXPECT_EQ(second->hudMessage, secondMessage);
    EXPECT_EQ(second->hudMessageTimer, secondTimer);
    EXPECT_EQ(second->selectedSlot, secondSlot);
    EXPECT_EQ(second->fastRotationPhase, secondPhase);
    EXPECT_EQ(second->crew.crewCount, secondCrewCount);
}

TEST(HalcyraObject, HudMessageBufferIsShownForThirtySecondsFromEachRequest) {
    vx::World world(colonyWorldOptions());
    halcyra* colony = createColony(world, "Halcyra");
    ASSERT_NE(colony, nullptr);
    colony->hudMessageTimer = 0.0;
    char* buffer = colony->GetHudMessageBuffer();
    EXPECT_EQ(buffer, colony->hudMessage);
    EXPECT_EQ(colony->hudMessageTimer, 30.0);

    colony->hudMessageTimer = 12.5;
    colony->GetHudMessageBuffer();
    EXPECT_EQ(colony->hudMessageTimer, 30.0);
}

TEST(HalcyraObject, DeletedColonyIsDestroyedAndTheOtherLivesOn) {
    // Destroying through the wrong type frees an address that was never allocated; the
    // address sanitizer of the test build reports that.
    vx::World world(colonyWorldOptions());
    halcyra* first = createColony(world, "Halcyra");
    halcyra* second = createColony(world, "Halcyra 2");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    std::strcpy(second->GetHudMessageBuffer(), "still here");
    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("Halcyra")));
    world.step(0.1);
    EXPECT_EQ(vapiGetObjectByName("Halcyra"), nullptr);
    ASSERT_EQ(vapiGetVesselInterface(vapiGetObjectByName("Halcyra 2")), second);
    EXPECT_STREQ(second->hudMessage, "still here");
}

} // namespace
