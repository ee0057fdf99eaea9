// The Spacedock console: which keys it takes, what each answers, and the HUD line that shows
// the answer.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "sim/world/VesselRecord.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

class ColonyConsole : public ::testing::Test {
protected:
    void SetUp() override {
        colony = createColony(world, "Halcyra");
        ASSERT_NE(colony, nullptr);
        world.setFocus(vx::liveVessel(colony->GetHandle()));
        world.setEventSink([this](double, std::string_view kind, std::string_view text) {
            if (kind == "hud") {
                hud.emplace_back(text);
            }
        });
    }

    int press(std::uint32_t code, std::uint32_t held = 0) {
        std::array<char, VXK_STATE_SIZE> state{};
        if (held != 0) {
            state[held] = static_cast<char>(0x80);
        }
        return callbacksOf(*colony).clbkConsumeBufferedKey(code, true, state.data());
    }

    std::string message() const { return colony->hudMessage; }

    vx::World world{colonyWorldOptions()};
    halcyra* colony = nullptr;
    std::vector<std::string> hud;
};

TEST_F(ColonyConsole, KeyReleasesAndUnknownKeysAreLeftToTheHost) {
    std::array<char, VXK_STATE_SIZE> state{};
    for (std::uint32_t code : {VXK_E, VXK_1, VXK_2, VXK_A, VXK_S, VXK_C}) {
        EXPECT_EQ(callbacksOf(*colony).clbkConsumeBufferedKey(code, false, state.data()), 0)
            << code;
    }
    for (std::uint32_t code : {VXK_M, VXK_3, VXK_Q, VXK_LSHIFT}) {
        EXPECT_EQ(press(code), 0) << code;
    }
    EXPECT_EQ(colony->crew.crewCount, 12);
    EXPECT_EQ(colony->selectedSlot, 0);
}

TEST_F(ColonyConsole, ShiftOrCtrlRefusesTheCrewKeysButNotTheInformationKeys) {
    const std::string before = message();
    for (std::uint32_t modifier : {VXK_LSHIFT, VXK_RSHIFT, VXK_LCONTROL, VXK_RCONTROL}) {
        for (std::uint32_t code : {VXK_E, VXK_1, VXK_2, VXK_A}) {
            EXPECT_EQ(press(code, modifier), 0) << code << " with " << modifier;
        }
    }
    EXPECT_EQ(message(), before);
    EXPECT_EQ(colony->crew.crewCount, 12);
    EXPECT_EQ(publishedAirlock(*colony), 1);
    EXPECT_EQ(press(VXK_S, VXK_LSHIFT), 1);
    EXPECT_EQ(message(), "Currently 12 personnel available in Halcyra Spacedock, with 38 positions "
                         "available.");
    EXPECT_EQ(press(VXK_C, VXK_RCONTROL), 1);
    EXPECT_EQ(message(), "Mesh changed");
}

TEST_F(ColonyConsole, SelectionMovesWithinTheRosterAndNamesTheMember) {
    EXPECT_EQ(press(VXK_2), 1);
    EXPECT_EQ(colony->selectedSlot, 0);
    EXPECT_EQ(message(), "Slot 0 Capt \"Governer Vasko\" aged 41 Selected for EVA or Transfer, "
                         "please press \"E\" to EVA");
    EXPECT_EQ(press(VXK_1), 1);
    EXPECT_EQ(message(), "Position 1  Eng \"Marietta Vasko\" aged 37 Selected for EVA or "
                         "Transfer - Press \"E\" to EVA.");
    for (int i = 0; i < 12; ++i) {
        press(VXK_1);
    }
    EXPECT_EQ(colony->selectedSlot, 11);
    EXPECT_EQ(message(), "Position 11  Eng \"Nerea Castelli\" aged 23 Selected for EVA or "
                         "Transfer - Press \"E\" to EVA.");
    press(VXK_2);
    EXPECT_EQ(colony->selectedSlot, 10);
    // A member without a tag shows as a blank before the quoted name.
    EXPECT_EQ(message(), "Slot 10  \"Anselm Varadi\" aged 26 Selected for EVA or Transfer, "
                         "please press \"E\" to EVA");
}

TEST_F(ColonyConsole, AirlockKeyTogglesAndReportsTheStateReadBack) {
    EXPECT_EQ(press(VXK_A), 1);
    EXPECT_EQ(message(), "Airlock is now closed");
    EXPECT_EQ(publishedAirlock(*colony), 0);
    EXPECT_EQ(press(VXK_A), 1);
    EXPECT_EQ(message(), "Airlock is now open");
    EXPECT_EQ(publishedAirlock(*colony), 1);
}

TEST_F(ColonyConsole, EvaAnswersWithTheCrewManagersVerdict) {
    press(VXK_A); // closed
    EXPECT_EQ(press(VXK_E), 1);
    EXPECT_EQ(message(), "Error: Airlock is closed.  Unable to EVA.");
    EXPECT_EQ(colony->crew.crewCount, 12);
    press(VXK_A); // open again

    // A selection past the roster asks for nobody by name.
    colony->selectedSlot = 20;
    EXPECT_EQ(press(VXK_E), 1);
    EXPECT_EQ(message(), "Error: No one by this name in Spacedock area.  Repeat,  please report to "
                         "information kiosk...");
    EXPECT_EQ(colony->selectedSlot, 20);
    colony->selectedSlot = 0;

    for (int i = 0; i < 5; ++i) {
        press(VXK_1);
    }
    ASSERT_EQ(colony->selectedSlot, 5);
    EXPECT_EQ(press(VXK_E), 1);
    EXPECT_EQ(message(), "EVA OK - Duma Okaro commencing spacewalk.  All traffic, be advised.");
    EXPECT_EQ(colony->selectedSlot, 0);
    EXPECT_EQ(colony->crew.crewCount, 11);
    EXPECT_NE(vapiGetObjectByName("CKit_Duma_Okaro"), nullptr);
}

TEST_F(ColonyConsole, EmptyRosterIsReportedByEveryCrewKey) {
    // Everyone out on EVA, one after the other from slot 0.
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(press(VXK_E), 1);
        ASSERT_EQ(message().rfind("EVA OK - ", 0), 0u) << message();
    }
    ASSERT_EQ(colony->crew.crewCount, 0);
    press(VXK_1);
    const std::string empty = "No personnel available in Spacedock area - Please add to roster.  "
                              "Trams to Hab Section are standing by.";
    EXPECT_EQ(message(), empty);
    press(VXK_2);
    EXPECT_EQ(message(), empty);
    press(VXK_E);
    EXPECT_EQ(message(), "Error: No qualified personnel in Spacedock area.  Unable to EVA.");
    press(VXK_S);
    EXPECT_EQ(message(), "Currently 0 personnel available in Halcyra Spacedock, with 50 "
                         "positions available.");
}

TEST_F(ColonyConsole, UnreadyCrewManagerGivesTheReinstallText) {
    colony->crew.readyFlags = 0;
    EXPECT_EQ(press(VXK_E), 1);
    EXPECT_EQ(message(), "Misc error with CKIT - Please reinstall.");
    EXPECT_EQ(press(VXK_A), 1);
    EXPECT_EQ(message(), "Airlock is now closed");
}

TEST_F(ColonyConsole, LongVesselNameCannotOverrunTheHudLine) {
    std::string longName(200, 'x');
    ASSERT_NE(createColony(world, longName.c_str()), nullptr);
    halcyra* other =
        static_cast<halcyra*>(vapiGetVesselInterface(vapiGetObjectByName(longName.c_str())));
    std::array<char, VXK_STATE_SIZE> state{};
    EXPECT_EQ(callbacksOf(*other).clbkConsumeBufferedKey(VXK_S, true, state.data()), 1);
    EXPECT_EQ(std::string(other->hudMessage).size(), static_cast<std::size_t>(kHudMessageSize - 1));
    EXPECT_EQ(std::string(other->hudMessage).rfind("Currently 12 personnel available in xxx", 0),
              0u);
}

struct HudRowCase {
    int height;
    int y;
};

class ColonyHudRow : public ColonyConsole, public ::testing::WithParamInterface<HudRowCase> {};

TEST_P(ColonyHudRow, LineIsDrawnAQuarterDownInWholeSixtieths) {
    world.setHudSize(1024, GetParam().height);
    world.step(0.1);
    ASSERT_FALSE(hud.empty());
    EXPECT_EQ(hud.back().rfind("Halcyra (5," + std::to_string(GetParam().y) + ") Spacedock on", 0),
              0u)
        << hud.back();
}

INSTANTIATE_TEST_SUITE_P(Heights, ColonyHudRow,
                         ::testing::Values(HudRowCase{600, 150}, HudRowCase{768, 180},
                                           HudRowCase{59, 0}),
                         [](const ::testing::TestParamInfo<HudRowCase>& param) {
                             return "Height" + std::to_string(param.param.height);
                         });

TEST_F(ColonyConsole, TimerRunsDownOnlyWhileTheHudIsDrawn) {
    world.step(0.5);
    EXPECT_DOUBLE_EQ(colony->hudMessageTimer, 29.5);
    halcyra* other = createColony(world, "Halcyra 2");
    ASSERT_NE(other, nullptr);
    world.setFocus(vx::liveVessel(other->GetHandle()));
    for (int i = 0; i < 10; ++i) {
        world.step(1.0);
    }
    EXPECT_DOUBLE_EQ(colony->hudMessageTimer, 29.5);
    world.setFocus(vx::liveVessel(colony->GetHandle()));
    for (int i = 0; i < 29; ++i) {
        world.step(1.0);
    }
    EXPECT_DOUBLE_EQ(colony->hudMessageTimer, 0.5);
    hud.clear();
    world.step(1.0); // drawn once more, then the timer stops at zero
    EXPECT_EQ(colony->hudMessageTimer, 0.0);
    world.step(1.0);
    ASSERT_FALSE(hud.empty());
    EXPECT_EQ(hud.back(), "Halcyra -");
}

} // namespace
