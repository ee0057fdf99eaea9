// The checks themselves: each broken invariant is named, and the people audit tells a loss
// at a full roster from a person who vanishes for no reason.
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "addons/tender/Tender.h"
#include "host/Keys.h"
#include "sim/text/ScenarioText.h"
#include "tests/property/ColonyInvariants.h"
#include "tests/property/PropertyRoot.h"
#include "vessel/Halcyra.h"

namespace colonycheck {
namespace {

// The colony with one member, undocked, and a tender in orbit beside it with the given crew.
std::string TwoShips(int tenderCrew) {
    std::string text = "BEGIN_WORLD\n  TIME 0\n  BODY Earth 6371000 3.986004418e14\n"
                       "  FOCUS Halcyra\nEND_WORLD\n"
                       "BEGIN_VESSEL halcyra Halcyra\n  POS 7000000 0 0\n  VEL 0 7546.0 0\n"
                       "  STATUS FLIGHT\n  CKITCREW Eng-Marietta_Vasko-37-67-55\nEND_VESSEL\n"
                       "BEGIN_VESSEL Tender Tender\n  POS 7000000 0 1000\n  VEL 0 7546.0 0\n"
                       "  STATUS FLIGHT\n";
    static const char* const kCrew[] = {"Pil-Ilsa_Brandvik-34-68-62", "-Olef_Brandt-19-70-45",
                                        "-Duma_Okaro-32-70-45", "-WeiLin_Tsao-61-70-45"};
    for (int i = 0; i < tenderCrew; ++i) {
        text += std::string("  CKITCREW ") + kCrew[i] + "\n";
    }
    return text + "END_VESSEL\n";
}

class InvariantsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root_.ready()); }

    void load(const std::string& text) {
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(vx::parseScenarioText(text, "test.scn", doc, error)) << error;
        ASSERT_TRUE(driver.start(doc, error)) << error;
        ASSERT_EQ(driver.check(), "");
    }
    void loadDemo() {
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(LoadDemo(doc, error)) << error;
        ASSERT_TRUE(driver.start(doc, error)) << error;
        ASSERT_EQ(driver.check(), "");
    }

    halcyra& colony() {
        return *static_cast<halcyra*>(vapiGetVesselInterface(driver.world().findVessel("Halcyra")));
    }
    tender::Tender& ship() {
        return *static_cast<tender::Tender*>(
            vapiGetVesselInterface(driver.world().findVessel("Tender")));
    }
    void press(const char* vessel, std::uint32_t code) {
        driver.world().setFocus(driver.world().findVessel(vessel));
        driver.world().pressKey(MakeKey(code, false, false, false, false));
    }
    // Sends the colony's selected member out on foot; the walker's record.
    vx::VesselRecord* walkOut() {
        press("Halcyra", VXK_E);
        return driver.world().findVessel("CKit_Eng-Marietta_Vasko");
    }
    // Runs two seconds in half-second steps: every crew manager scans more than once.
    std::string stepAudited(PeopleAudit& audit) {
        audit.before(driver, true);
        for (int i = 0; i < 4; ++i) {
            driver.world().step(0.5);
        }
        std::string broken = driver.check();
        return broken.empty() ? audit.after(driver, tally) : broken;
    }

    PropertyRoot root_;
    ColonyDriver driver;
    Tally tally;
};

struct Tampering {
    const char* name;
    std::function<void(halcyra&, tender::Tender&)> breakIt;
    const char* reported;
};

// Names the case in the test list rather than its bytes.
void PrintTo(const Tampering& tampering, std::ostream* out) {
    *out << tampering.name;
}

class BrokenInvariantTest : public InvariantsTest,
                            public ::testing::WithParamInterface<Tampering> {};

void SetPublished(VESSEL& vessel, double VECTOR3::*field, double delta) {
    ATTACHMENTHANDLE point = CrewPoint(vessel);
    VECTOR3 pos{}, dir{}, rot{};
    vessel.GetAttachmentParams(point, pos, dir, rot);
    rot.*field += delta;
    vessel.SetAttachmentParams(point, pos, dir, rot);
}

const Tampering kTamperings[] = {
    {"CrewMassOffTheWeights", [](halcyra& c, tender::Tender&) { c.crew.crewMass += 1.0; },
     "crew mass is the sum of the weights"},
    {"CrewAboveTheSeats", [](halcyra&, tender::Tender& t) { t.crew.crewCount = t.seats + 1; },
     "crew within the seats"},
    {"EmptyMassWithoutTheCrew",
     [](halcyra& c, tender::Tender&) { c.SetEmptyMass(c.GetEmptyMass() - c.crew.crewMass); },
     "empty mass is the structure and the crew"},
    {"FreeSeatsStale", [](halcyra&, tender::Tender& t) { SetPublished(t, &VECTOR3::z, 1.0); },
     "published free seats"},
    {"AirlockHalfOpen", [](halcyra& c, tender::Tender&) { SetPublished(c, &VECTOR3::x, 0.5); },
     "airlock published open or closed"},
    {"SelectionPastTheRoster", [](halcyra& c, tender::Tender&) { c.selectedSlot = 40; },
     "selection within the roster"},
    {"ManagerNotReady", [](halcyra&, tender::Tender& t) { t.crew.readyFlags = 1; },
     "crew manager ready"},
};

TEST_P(BrokenInvariantTest, IsNamedWithTheVessel) {
    loadDemo();
    GetParam().breakIt(colony(), ship());
    const std::string broken = driver.check();
    EXPECT_NE(broken.find(GetParam().reported), std::string::npos) << broken;
}

INSTANTIATE_TEST_SUITE_P(Checks, BrokenInvariantTest, ::testing::ValuesIn(kTamperings),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(InvariantsTest, ReloadKeepsTheDemoAsItIs) {
    loadDemo();
    const int people = driver.people();
    EXPECT_EQ(driver.reload(), "");
    EXPECT_EQ(driver.people(), people);
    EXPECT_EQ(driver.check(), "");
}

// A walker inside the tender's airlock is taken in while a seat is free; at a full roster it
// is gone all the same, and that is the one loss the audit allows.
TEST_F(InvariantsTest, WalkerInsideTheTenderArrivesOrIsTheOneAllowedLoss) {
    struct Case {
        int seats;
        int allowedLosses;
        int arrivals;
        int fullLosses;
    };
    for (const Case c : {Case{4, 1, 0, 1}, Case{3, 0, 1, 0}}) {
        SCOPED_TRACE(c.seats);
        tally = {};
        load(TwoShips(c.seats));
        vx::VesselRecord* walker = walkOut();
        ASSERT_NE(walker, nullptr);
        driver.world().place(walker, driver.world().findVessel("Tender"),
                             SpotIn(*driver.world().findVessel("Tender"), Spot::Inside));
        PeopleAudit audit;
        EXPECT_EQ(stepAudited(audit), "");
        EXPECT_EQ(audit.allowedLosses(), c.allowedLosses);
        EXPECT_EQ(driver.world().findVessel("CKit_Eng-Marietta_Vasko"), nullptr);
        EXPECT_EQ(ship().crew.crewCount, 4);
        EXPECT_EQ(tally.arrivals, c.arrivals);
        EXPECT_EQ(tally.fullLosses, c.fullLosses);
    }
}

TEST_F(InvariantsTest, LeavingOnFootIsCountedAndKeepsThePeople) {
    load(TwoShips(1));
    PeopleAudit audit;
    audit.before(driver, false);
    ASSERT_NE(walkOut(), nullptr);
    EXPECT_EQ(audit.after(driver, tally), "");
    EXPECT_EQ(tally.evas, 1);
    EXPECT_EQ(tally.transfers, 0);
}

TEST_F(InvariantsTest, CrossingIntoTheDockedTenderIsCountedAndArrives) {
    loadDemo();
    PeopleAudit audit;
    audit.before(driver, false);
    press("Halcyra", VXK_E);
    EXPECT_EQ(audit.after(driver, tally), "");
    EXPECT_EQ(tally.transfers, 1);
    EXPECT_EQ(tally.evas, 0);
    EXPECT_EQ(stepAudited(audit), "");
    EXPECT_EQ(ship().crew.crewCount, 2);
    EXPECT_EQ(tally.arrivals, 1);
}

// A second crossing sent before the tender's intake gets a numbered name, which names no
// receiver: it is nobody's arrival, so nothing may be lost, and it stays where it is.
TEST_F(InvariantsTest, SecondCrossingBeforeTheIntakeIsNobodysArrival) {
    loadDemo();
    PeopleAudit audit;
    for (int crossing = 0; crossing < 2; ++crossing) {
        press("Halcyra", VXK_E);
        ASSERT_EQ(stepAudited(audit), "");
    }
    ASSERT_EQ(ship().crew.crewCount, 3);
    press("Halcyra", VXK_E);
    press("Halcyra", VXK_E);
    ASSERT_NE(driver.world().findVessel("CKitTTender1"), nullptr);
    const int people = driver.people();
    EXPECT_EQ(stepAudited(audit), "");
    EXPECT_EQ(audit.allowedLosses(), 0);
    EXPECT_EQ(ship().crew.crewCount, 4);
    EXPECT_NE(driver.world().findVessel("CKitTTender1"), nullptr);
    EXPECT_EQ(driver.people(), people);
}

TEST_F(InvariantsTest, WalkerGoneWithoutTimeRunningIsReported) {
    load(TwoShips(1));
    vx::VesselRecord* walker = walkOut();
    ASSERT_NE(walker, nullptr);
    PeopleAudit audit;
    audit.before(driver, false);
    driver.world().deleteVessel(walker);
    EXPECT_NE(audit.after(driver, tally).find("runs no time"), std::string::npos);
}

TEST_F(InvariantsTest, WalkerDeletedOnPurposeIsAccountedFor) {
    load(TwoShips(1));
    vx::VesselRecord* walker = walkOut();
    ASSERT_NE(walker, nullptr);
    PeopleAudit audit;
    audit.before(driver, false);
    driver.world().deleteVessel(walker);
    audit.removed(1);
    EXPECT_EQ(audit.after(driver, tally), "");
}

TEST_F(InvariantsTest, WalkerGoneFarFromEveryAirlockIsReported) {
    load(TwoShips(4));
    vx::VesselRecord* walker = walkOut();
    ASSERT_NE(walker, nullptr);
    driver.world().place(walker, driver.world().findVessel("Tender"),
                         SpotIn(*driver.world().findVessel("Tender"), Spot::FarOff));
    PeopleAudit audit;
    audit.before(driver, true);
    EXPECT_EQ(audit.allowedLosses(), 0);
    driver.world().deleteVessel(walker);
    driver.world().step(0.5);
    const std::string broken = audit.after(driver, tally);
    EXPECT_NE(broken.find("beyond what full rosters explain"), std::string::npos) << broken;
    EXPECT_EQ(tally.fullLosses, 0);
}

TEST_F(InvariantsTest, WalkerJustOutsideMayDriftInOnlyOverALongRun) {
    load(TwoShips(4));
    vx::VesselRecord* walker = walkOut();
    ASSERT_NE(walker, nullptr);
    vx::VesselRecord* tender = driver.world().findVessel("Tender");
    driver.world().place(walker, tender, SpotIn(*tender, Spot::JustBeyond));
    PeopleAudit audit;
    audit.before(driver, true, 0.5);
    EXPECT_EQ(audit.allowedLosses(), 0);
    audit.before(driver, true, 600.0);
    EXPECT_EQ(audit.allowedLosses(), 1);
}

// Every sequence loads the modules anew: the crew link table is finite and never handed back,
// so a module kept loaded across sequences would run out of records.
TEST_F(InvariantsTest, EveryWorldStartsWithFreshModules) {
    for (int world = 0; world < 3; ++world) {
        loadDemo();
        EXPECT_EQ(colony().crew.linkIndex, 0) << "world " << world;
        EXPECT_EQ(ship().crew.linkIndex, 0) << "world " << world;
    }
}

} // namespace
} // namespace colonycheck
