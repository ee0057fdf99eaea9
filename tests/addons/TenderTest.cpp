// The docking ship "Tender" loaded from its module into the host, seen from outside as any
// other vessel sees it: its crew point, its answers on the HUD, its scenario block.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Keys.h"
#include "host/Vantrix.h"
#include "sim/world/VesselRecord.h"
#include "tests/sim/world/HostTestSupport.h"

namespace {

using ::testing::HasSubstr;

// The crew point as published: airlock state, the box and the free seats.
struct Published {
    bool present = false;
    double airlock = 0.0;
    double freeSeats = 0.0;
    VECTOR3 pos{}, dir{};
};

Published publishedOf(const char* name) {
    Published seen;
    const VESSEL* vessel = vapiGetVesselInterface(vapiGetObjectByName(name));
    if (vessel == nullptr) {
        return seen;
    }
    for (unsigned int i = 0; i < vessel->AttachmentCount(false); ++i) {
        ATTACHMENTHANDLE point = vessel->GetAttachmentHandle(false, i);
        if (std::string(vessel->GetAttachmentId(point)) == "CKit") {
            VECTOR3 rot{};
            vessel->GetAttachmentParams(point, seen.pos, seen.dir, rot);
            seen.present = true;
            seen.airlock = rot.x;
            seen.freeSeats = rot.z;
        }
    }
    return seen;
}

class TenderTest : public vx::test::HostTest {
protected:
    VESSEL2& create(const std::string& name, const VECTOR3& pos = {7e6, 0, 0}) {
        VESSELSTATUS status{};
        status.rpos = pos;
        status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::string reason;
        vx::VesselRecord* record = world().createVessel(name, "Tender", status, &reason);
        EXPECT_NE(record, nullptr) << reason;
        return callbacks(name.c_str());
    }
    static VESSEL2& callbacks(const char* name) {
        return *static_cast<VESSEL2*>(vapiGetVesselInterface(vapiGetObjectByName(name)));
    }
    int press(const char* name, std::uint32_t code, std::uint32_t held = 0) {
        char state[VXK_STATE_SIZE] = {};
        if (held != 0) {
            state[held] = static_cast<char>(0x80);
        }
        return callbacks(name).clbkConsumeBufferedKey(code, true, state);
    }
    std::string hudOf(const char* name) {
        world().setFocus(vx::liveVessel(vapiGetObjectByName(name)));
        world().step(0.1);
        return world().hudText();
    }
    static std::string block(const std::string& name, const std::string& lines) {
        return "BEGIN_VESSEL Tender " + name + "\n  POS 7000000 0 0\n  STATUS FLIGHT\n" + lines +
               "END_VESSEL\n";
    }
};

TEST_F(TenderTest, CreatedWithoutABlockItHasItsPilotAndAnOpenAirlockAtTheDock) {
    create("Tender");
    const Published seen = publishedOf("Tender");
    ASSERT_TRUE(seen.present);
    EXPECT_EQ(seen.airlock, 1.0);
    EXPECT_EQ(seen.freeSeats, 3.0);
    // The box surrounds the dock at z = 5.
    EXPECT_EQ(seen.pos.x, -2.0);
    EXPECT_EQ(seen.dir.y, 3.0);
    EXPECT_EQ(seen.dir.z, 7.0);
    EXPECT_THAT(hudOf("Tender"), ::testing::IsEmpty());
    press("Tender", VXK_1);
    EXPECT_EQ(hudOf("Tender"), "Tender: slot 0 Ilsa Brandvik selected");
}

struct BlockCase {
    const char* name;
    const char* lines;
    bool present;
    double airlock;
    double freeSeats;
};

class TenderBlock : public TenderTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(TenderBlock, LinesSetTheCabinUp) {
    loadText(block("Tender", GetParam().lines));
    const Published seen = publishedOf("Tender");
    ASSERT_EQ(seen.present, GetParam().present);
    if (seen.present) {
        EXPECT_EQ(seen.airlock, GetParam().airlock);
        EXPECT_EQ(seen.freeSeats, GetParam().freeSeats);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TenderBlock,
    ::testing::Values(
        BlockCase{"NoCrewLinesIsAnEmptyCabin", "", true, 1, 4},
        BlockCase{"CrewLinesAreTheRoster",
                  "  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n  CKITCREW -Olef_Brandt-19-70-45\n", true,
                  1, 2},
        BlockCase{"SeatsBeforeOrAfterTheCrew",
                  "  CKITCREW -Olef_Brandt-19-70-45\n  SEATS 2\n  CKITCREW -Duma_Okaro-32-70-45\n"
                  "  CKITCREW -WeiLin_Tsao-61-70-45\n",
                  true, 1, 0},
        BlockCase{"ClosedAirlock", "  AIRLOCK CLOSED\n", true, 0, 4},
        BlockCase{"NoCrewAtAll", "  NOCREW\n  CKITCREW -Olef_Brandt-19-70-45\n", false, 0, 0},
        BlockCase{"UnreadableSeatsKeepFour", "  SEATS 0\n  SEATS -3\n  SEATS 101\n  SEATS 2x\n",
                  true, 1, 4}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TenderTest, SaveAndReloadKeepsCrewSeatsAndAirlock) {
    loadText(block("Tender", "  SEATS 3\n  CKITCREW -Olef_Brandt-19-70-45\n"));
    press("Tender", VXK_A);
    const std::string saved = world().scenarioText();
    EXPECT_THAT(saved,
                HasSubstr("  SEATS 3\n  AIRLOCK CLOSED\n  CKITCREW -Olef_Brandt-19-70-45\n"));
    endWorld();
    loadText(saved);
    const Published seen = publishedOf("Tender");
    ASSERT_TRUE(seen.present);
    EXPECT_EQ(seen.airlock, 0.0);
    EXPECT_EQ(seen.freeSeats, 2.0);
    EXPECT_EQ(world().scenarioText(), saved);
}

TEST_F(TenderTest, CrewKeysAnswerAndRefuseShiftOrCtrl) {
    create("Tender");
    EXPECT_EQ(press("Tender", VXK_E, VXK_LSHIFT), 0);
    EXPECT_EQ(press("Tender", VXK_A, VXK_RCONTROL), 0);
    EXPECT_EQ(press("Tender", VXK_S), 0);
    EXPECT_EQ(publishedOf("Tender").airlock, 1.0);
    EXPECT_EQ(press("Tender", VXK_A), 1);
    EXPECT_EQ(hudOf("Tender"), "Tender: airlock closed");
    EXPECT_EQ(publishedOf("Tender").airlock, 0.0);
    press("Tender", VXK_E);
    EXPECT_EQ(hudOf("Tender"), "Tender: airlock closed");
    press("Tender", VXK_A);
    press("Tender", VXK_E);
    EXPECT_EQ(hudOf("Tender"), "Tender: Ilsa Brandvik out on EVA");
    EXPECT_NE(vapiGetObjectByName("CKit_Pil-Ilsa_Brandvik"), nullptr);
    EXPECT_EQ(publishedOf("Tender").freeSeats, 4.0);
    press("Tender", VXK_2);
    EXPECT_EQ(hudOf("Tender"), "Tender: nobody aboard");
}

TEST_F(TenderTest, MemberCrossesIntoADockedTenderAndIsTakenIn) {
    create("Near");
    create("Far", {7e6, 0, 10});
    std::string reason;
    ASSERT_TRUE(world().dock(vx::liveVessel(vapiGetObjectByName("Near")), 0,
                             vx::liveVessel(vapiGetObjectByName("Far")), 0, reason))
        << reason;
    press("Near", VXK_E);
    EXPECT_NE(vapiGetObjectByName("CKitTFar"), nullptr);
    EXPECT_EQ(publishedOf("Near").freeSeats, 4.0);
    EXPECT_EQ(hudOf("Near"), "Tender: Ilsa Brandvik crossed into the docked ship");
    world().setFocus(vx::liveVessel(vapiGetObjectByName("Far")));
    // The receiver scans at most every 0.25 s, from a random start within its first second.
    for (int i = 0; i < 12 && publishedOf("Far").freeSeats != 2.0; ++i) {
        world().step(0.1);
    }
    world().step(0.1);
    EXPECT_EQ(publishedOf("Far").freeSeats, 2.0);
    EXPECT_EQ(vapiGetObjectByName("CKitTFar"), nullptr);
    EXPECT_EQ(world().hudText(), "Tender: Ilsa Brandvik came aboard");
}

TEST_F(TenderTest, WithoutACrewCabinTheKeysSaySo) {
    loadText(block("Bare", "  NOCREW\n"));
    EXPECT_EQ(press("Bare", VXK_E), 1);
    EXPECT_EQ(hudOf("Bare"), "Tender: no crew cabin");
    EXPECT_THAT(world().scenarioText(), HasSubstr("  NOCREW\nEND_VESSEL"));
}

// What the colony's own reader accepts must survive the tender's keeping of the lines.
INSTANTIATE_TEST_SUITE_P(
    KeptCrewLines, TenderBlock,
    ::testing::Values(
        BlockCase{"KeyInLowerCase", "  ckitcrew -Olef_Brandt-19-70-45\n", true, 1, 3},
        BlockCase{"NamePartCutAtItsLimit",
                  "  CKITCREW Pil-Ilsa_Brandvik_of_the_far_northern_survey_station_number_four_"
                  "and_the_outer_ring_relay-34-68-62\n",
                  true, 1, 3},
        BlockCase{"CrewLinesPastTheSeatLimitAreLeftOut",
                  "  SEATS 1\n  CKITCREW -Olef_Brandt-19-70-45\n  CKITCREW -Duma_Okaro-32-70-45\n",
                  true, 1, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TenderTest, AnEmptyBlockKeepsThePilot) {
    loadText("BEGIN_VESSEL Tender Tender\nEND_VESSEL\n");
    const Published seen = publishedOf("Tender");
    ASSERT_TRUE(seen.present);
    EXPECT_EQ(seen.freeSeats, 3.0);
}

struct UntakenCase {
    const char* name;
    const char* lines;
    const char* reported; // the one line the host reports
};

class TenderUntakenLine : public TenderTest, public ::testing::WithParamInterface<UntakenCase> {};

// A line nobody takes is not dropped in silence: it reaches the host, as on the colony.
TEST_P(TenderUntakenLine, IsReportedByTheHost) {
    loadText(block("Tender", GetParam().lines));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_THAT(warnings[0], HasSubstr(GetParam().reported));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TenderUntakenLine,
    ::testing::Values(
        UntakenCase{"UnreadableSeats", "  SEATS many\n", "SEATS many"},
        UntakenCase{
            "PastTheSeatLimit",
            "  SEATS 1\n  CKITCREW -Olef_Brandt-19-70-45\n  CKITCREW -Duma_Okaro-32-70-45\n",
            "Duma_Okaro"},
        UntakenCase{"WithoutACrewCabin", "  NOCREW\n  CKITCREW -Olef_Brandt-19-70-45\n",
                    "Olef_Brandt"},
        UntakenCase{"RefusedByTheReader",
                    "  CKITCREW -Olef_Brandt-19-70-45\n  CKITCREW -Duma_Okaro-141-70-45\n",
                    "Duma_Okaro-141"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TenderTest, AWalkerLeavingOnFootStandsOutsideTheAirlockOnTheDockSide) {
    create("Tender");
    press("Tender", VXK_E);
    for (int i = 0; i < 30; ++i) {
        world().step(0.1);
    }
    const VESSEL* walker = vapiGetVesselInterface(vapiGetObjectByName("CKit_Pil-Ilsa_Brandvik"));
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(publishedOf("Tender").freeSeats, 4.0);
    VECTOR3 global{}, local{};
    walker->GetGlobalPos(global);
    callbacks("Tender").Global2Local(global, local);
    // Beyond the box's outer face at z = 7, in front of the dock.
    EXPECT_GT(local.z, 7.0);
    EXPECT_LT(local.z, 10.0);
    EXPECT_NEAR(local.x, 0.0, 0.5);
    EXPECT_NEAR(local.y, 0.0, 0.5);
}

struct DockedCase {
    const char* name;
    const char* farLines; // the block of the tender docked at dock 0
    const char* answer;
};

class TenderDocked : public TenderTest, public ::testing::WithParamInterface<DockedCase> {};

// E with a ship at dock 0 that cannot take her says why, and she stays aboard.
TEST_P(TenderDocked, EAnswersForTheDockedShip) {
    loadText(block("Near", "  DOCK 0 0 Far\n  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n") +
             block("Far", GetParam().farLines));
    EXPECT_EQ(press("Near", VXK_E), 1);
    EXPECT_EQ(publishedOf("Near").freeSeats, 3.0);
    EXPECT_EQ(vapiGetObjectByName("CKitTFar"), nullptr);
    EXPECT_EQ(hudOf("Near"), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TenderDocked,
    ::testing::Values(DockedCase{"FullCabin", "  SEATS 1\n  CKITCREW -Olef_Brandt-19-70-45\n",
                                 "Tender: the docked ship is full"},
                      DockedCase{"ClosedAirlock", "  AIRLOCK CLOSED\n",
                                 "Tender: the docked ship's airlock is closed"},
                      DockedCase{"NoCrewCabin", "  NOCREW\n",
                                 "Tender: the docked ship takes no crew"}),
    [](const auto& param) { return std::string(param.param.name); });

struct SelectionCase {
    const char* name;
    std::vector<std::uint32_t> keys;
    const char* answer; // the answer to the last key
};

class TenderSelection : public TenderTest, public ::testing::WithParamInterface<SelectionCase> {};

// Selection moves one slot per key and stops at either end of the roster, as on the colony.
TEST_P(TenderSelection, StopsAtTheEnds) {
    loadText(block("Tender",
                   "  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n"
                   "  CKITCREW -Olef_Brandt-19-70-45\n  CKITCREW -Duma_Okaro-32-70-45\n"));
    for (std::uint32_t key : GetParam().keys) {
        EXPECT_EQ(press("Tender", key), 1);
    }
    EXPECT_EQ(hudOf("Tender"), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TenderSelection,
    ::testing::Values(
        SelectionCase{"NextOnce", {VXK_1}, "Tender: slot 1 Olef Brandt selected"},
        SelectionCase{
            "NextPastTheLast", {VXK_1, VXK_1, VXK_1, VXK_1}, "Tender: slot 2 Duma Okaro selected"},
        SelectionCase{"PreviousAtTheFirst", {VXK_2}, "Tender: slot 0 Ilsa Brandvik selected"},
        SelectionCase{
            "BackFromTheLast", {VXK_1, VXK_1, VXK_2}, "Tender: slot 1 Olef Brandt selected"},
        // After a member has gone the selection starts again at the first slot.
        SelectionCase{
            "AfterAnEva", {VXK_1, VXK_1, VXK_E, VXK_1}, "Tender: slot 1 Olef Brandt selected"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TenderTest, TheSelectedMemberIsTheOneWhoLeaves) {
    loadText(block("Crewed", "  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n"
                             "  CKITCREW -Olef_Brandt-19-70-45\n"));
    press("Crewed", VXK_1);
    press("Crewed", VXK_E);
    EXPECT_EQ(hudOf("Crewed"), "Tender: Olef Brandt out on EVA");
    EXPECT_NE(vapiGetObjectByName("CKit_Olef_Brandt"), nullptr);
}

struct HudCase {
    int height;
    const char* place;
};

class TenderHud : public TenderTest, public ::testing::WithParamInterface<HudCase> {};

// The answer stands where the colony's does: 5 pixels in, a quarter of the way down.
TEST_P(TenderHud, AnswerIsDrawnAtTheColonysPlace) {
    create("Tender");
    world().setHudSize(1024, GetParam().height);
    press("Tender", VXK_A);
    hudOf("Tender");
    EXPECT_THAT(
        vx::test::eventsOf(events, "hud"),
        ::testing::Contains(std::string("Tender ") + GetParam().place + " Tender: airlock closed"));
}

INSTANTIATE_TEST_SUITE_P(Heights, TenderHud,
                         ::testing::Values(HudCase{600, "(5,150)"}, HudCase{768, "(5,180)"},
                                           HudCase{59, "(5,0)"}));

TEST_F(TenderTest, AnswerRunsDownOnlyWhileTheHudIsDrawn) {
    create("Tender");
    create("Other", {7e6, 1000, 0});
    press("Tender", VXK_A);
    world().setFocus(vx::liveVessel(vapiGetObjectByName("Tender")));
    for (int i = 0; i < 290; ++i) { // 29 s drawn
        world().step(0.1);
    }
    EXPECT_EQ(world().hudText(), "Tender: airlock closed");
    world().setFocus(vx::liveVessel(vapiGetObjectByName("Other")));
    for (int i = 0; i < 100; ++i) { // 10 s not drawn: the answer keeps its last second
        world().step(0.1);
    }
    EXPECT_EQ(hudOf("Tender"), "Tender: airlock closed");
    for (int i = 0; i < 20; ++i) {
        world().step(0.1);
    }
    EXPECT_THAT(world().hudText(), ::testing::IsEmpty());
}

} // namespace
