// Crew lines in the vessel's scenario block: what is written, what is read back, what is
// refused, and the wipe of the default roster that the first line brings.
#include <cstring>
#include <string>

#include "sim/text/ScenarioText.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

class CrewScenarioTest : public CrewTest {
protected:
    // A ready carrier with 8 seats and two members (119 kg) aboard, the first line not yet
    // offered.
    Carrier* addCrewedCarrier(const std::string& name) {
        Carrier* carrier = addReadyCarrier(name);
        carrier->crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt");
        carrier->crew.AddCrewMember("Olef Brandt", 19, 70, 45, nullptr);
        return carrier;
    }

    // Loads scenario text into the (empty) world.
    void load(const std::string& text) {
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(vx::parseScenarioText(text, "test.scn", doc, error)) << error;
        ASSERT_TRUE(world().load(doc, error)) << error;
    }

    // A scenario of one Carrier whose crew manager is set up with 50 seats and the two
    // members above before its block is read.
    std::string scenarioWith(const std::vector<std::string>& blockLines) {
        carrierHooks().setClassCaps = [](Carrier& carrier) {
            carrier.crew.InitCrewManager(carrier.GetHandle());
            carrier.crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7);
            carrier.crew.SetMaxSeats(50);
            carrier.crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt");
            carrier.crew.AddCrewMember("Olef Brandt", 19, 70, 45, nullptr);
        };
        std::string text = "BEGIN_WORLD\n  TIME 0\nEND_WORLD\nBEGIN_VESSEL Carrier A\n";
        for (const std::string& line : blockLines) {
            text += "  " + line + "\n";
        }
        return text + "END_VESSEL\n";
    }

    Carrier* carrier(const std::string& name) {
        return static_cast<Carrier*>(vapiGetVesselInterface(vapiGetObjectByName(name.c_str())));
    }

    static std::vector<std::string> crewLines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t at = 0;
        while ((at = text.find("CKITCREW", at)) != std::string::npos) {
            const std::size_t end = text.find('\n', at);
            lines.push_back(text.substr(at, end - at));
            at = end;
        }
        return lines;
    }
};

struct WordCase {
    const char* word;
    int32_t result;
    const char *tag, *name;
    int32_t age, pulse;
    double weight;
};

TEST_F(CrewScenarioTest, ValueWordsAreReadOrRefusedWhole) {
    const std::string longName = "CKITCREW Eng-" + std::string(30, 'N') + "-30-70-80";
    const WordCase cases[] = {
        {"CKITCREW Capt-Governer_Vasko-41-65-74", 1, "Capt", "Governer Vasko", 41, 65, 74},
        {"CKITCREW -Olef_Brandt-19-70-45", 1, "", "Olef Brandt", 19, 70, 45},
        {"CKITCREW Captain-Olef_Brandt-19-70-45", 1, "Capt", "Olef Brandt", 19, 70, 45},
        {"CKITCREW Eng-Olef_Brandt-19-70-45", 1, "Eng", "Olef Brandt", 19, 70, 45},
        {"ckitcrew Doc-Ann-1-1-5", 1, "Doc", "Ann", 1, 1, 5},
        {"CKITCREW    Doc-Ann-140-180-300   trailing words", 1, "Doc", "Ann", 140, 180, 300},
        {"CKITCREW Doc-Ann-30-70-74kg", 1, "Doc", "Ann", 30, 70, 74},
        {"CKITCREW Doc-Ann-30-70-74-and-more", 1, "Doc", "Ann", 30, 70, 74},
        {"CKITCREWDoc-Ann-30-70-74", 1, "Doc", "Ann", 30, 70, 74},
        {"CKITCREW Doc-Ann_O'Neil-30-70-74", 1, "Doc", "Ann O Neil", 30, 70, 74},
        {"CKITCREW Doc-Ann-000030-70-000074", 1, "Doc", "Ann", 3, 70, 7},
        {"CKITCREW Doc-Ann-+30-070-74", 1, "Doc", "Ann", 30, 70, 74},
        {"CKITCREW A_b-Ann-30-70-74", 1, "A_b", "Ann", 30, 70, 74},
        {longName.c_str(), 1, "Eng", "NNNNNNNNNNNNNNNNNNNNNNNNN", 30, 70, 80},
        {"CKITCREW Doc-Ann-0-70-74", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-141-70-74", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30-0-74", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30-181-74", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30-70-4", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30-70-301", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30-70", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann-30", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-Ann", 0, "", "", 0, 0, 0},
        {"CKITCREW DocAnn3070", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc--30-70-74", 0, "", "", 0, 0, 0},
        {"CKITCREW Doc-___-30-70-74", 1, "Doc", "   ", 30, 70, 74},
        {"CKITCREW A-B-Ann-30-70-74", 0, "", "", 0, 0, 0},
        {"CKITCREW A-B-30-70-74-80", 1, "A", "B", 30, 70, 74},
        {"CKITCREW Doc-Ann-99999999-70-74", 0, "", "", 0, 0, 0},
        {"CKITCREW", 0, "", "", 0, 0, 0},
        {"CKITCREW ", 0, "", "", 0, 0, 0},
        {"CKITCRE Doc-Ann-30-70-74", 0, "", "", 0, 0, 0},
        {"STATUS Orbiting Earth", 0, "", "", 0, 0, 0},
        {"", 0, "", "", 0, 0, 0},
    };
    Carrier* vessel = addReadyCarrier("A");
    CrewManager& crew = vessel->crew;
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    ASSERT_EQ(crew.ParseCrewScenarioLine("STATUS first line"), 0);
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.word);
        const int32_t count = crew.crewCount;
        const double mass = vessel->GetEmptyMass();
        EXPECT_EQ(crew.ParseCrewScenarioLine(c.word), c.result);
        const CrewRecord& slot = crew.roster[count];
        if (c.result == 1) {
            ASSERT_EQ(crew.crewCount, count + 1);
            EXPECT_STREQ(slot.miscId, c.tag);
            EXPECT_STREQ(slot.name, c.name);
            EXPECT_EQ(slot.age, c.age);
            EXPECT_EQ(slot.pulse, c.pulse);
            EXPECT_EQ(slot.weight, c.weight);
            EXPECT_EQ(vessel->GetEmptyMass(), mass + c.weight);
            EXPECT_EQ(publishedPoint(*vessel)[8], 100 - crew.crewCount);
        } else {
            EXPECT_EQ(crew.crewCount, count);
            EXPECT_EQ(vessel->GetEmptyMass(), mass);
            const CrewRecord zero{};
            EXPECT_EQ(std::memcmp(&slot, &zero, sizeof zero), 0) << "a refusal leaves no trace";
        }
    }
    EXPECT_EQ(crew.loadedLineCount, crew.crewCount);
}

TEST_F(CrewScenarioTest, WordsLongerThanTheReadRoomAreCutNotOverrun) {
    Carrier* vessel = addReadyCarrier("A");
    CrewManager& crew = vessel->crew;
    // The member's fields come first; the cut falls in the ignored tail.
    const std::string tail(5000, 'x');
    EXPECT_EQ(crew.ParseCrewScenarioLine(("CKITCREW Doc-Ann-30-70-74-" + tail).c_str()), 1);
    // A name part far beyond the read room: what is left after the cut has no numbers.
    const std::string name(1000, 'N');
    EXPECT_EQ(crew.ParseCrewScenarioLine(("CKITCREW Doc-" + name + "-30-70-74").c_str()), 0);
    EXPECT_EQ(crew.crewCount, 1);
}

TEST_F(CrewScenarioTest, FirstLineOfAnyKindReplacesTheDefaultRoster) {
    Carrier* vessel = addCrewedCarrier("A");
    CrewManager& crew = vessel->crew;
    ASSERT_EQ(vessel->GetEmptyMass(), kCarrierMass + 119);
    EXPECT_EQ(crew.ParseCrewScenarioLine("STATUS Landed Earth"), 0);
    EXPECT_EQ(crew.crewCount, 0);
    EXPECT_EQ(crew.crewMass, 0.0);
    EXPECT_EQ(vessel->GetEmptyMass(), kCarrierMass);
    EXPECT_EQ(crew.loadedLineCount, 0);
    EXPECT_THAT(publishedPoint(*vessel), ::testing::ElementsAre(-3, 3, -4, 4, -7, 7, 1, 0, 8));
    // Only once: later lines add to what was read.
    EXPECT_EQ(crew.ParseCrewScenarioLine("CKITCREW -Olef_Brandt-19-70-45"), 1);
    EXPECT_EQ(crew.ParseCrewScenarioLine("STATUS Landed Earth"), 0);
    EXPECT_EQ(crew.crewCount, 1);
    EXPECT_EQ(vessel->GetEmptyMass(), kCarrierMass + 45);
}

TEST_F(CrewScenarioTest, RefusedWhileNotReady) {
    Carrier* vessel = addCarrier("A");
    EXPECT_EQ(vessel->crew.ParseCrewScenarioLine("CKITCREW Doc-Ann-30-70-74"), 0);
    EXPECT_EQ(vessel->crew.loadedLineCount, 0) << "a blank manager is left blank";
    Carrier* ready = addReadyCarrier("B");
    EXPECT_EQ(ready->crew.ParseCrewScenarioLine(nullptr), 0);
    EXPECT_EQ(ready->crew.loadedLineCount, -1) << "a null line is not the first line";
    EXPECT_EQ(vessel->crew.SaveCrewState(nullptr), 0);
}

TEST_F(CrewScenarioTest, SavedBlockReadsBackToTheSameCrewAndMass) {
    load(scenarioWith({"STATUS FLIGHT"}));
    // The block had a host line but no crew line: the default crew is gone.
    EXPECT_EQ(carrier("A")->crew.crewCount, 0);
    EXPECT_EQ(carrier("A")->GetEmptyMass(), kCarrierMass);

    ASSERT_EQ(carrier("A")->crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt"), 1);
    ASSERT_EQ(carrier("A")->crew.AddCrewMember("Olef Brandt", 19, 70, 45, nullptr), 1);
    ASSERT_EQ(carrier("A")->crew.AddCrewMember("Ann Lee", 33, 0, 61, "Doc"), 1);
    const std::string saved = world().scenarioText();
    EXPECT_THAT(crewLines(saved),
                ::testing::ElementsAre(::testing::HasSubstr("Capt-Governer_Vasko-41-65-74"),
                                       ::testing::HasSubstr("-Olef_Brandt-19-70-45"),
                                       ::testing::HasSubstr("Doc-Ann_Lee-33-0-61")));
}

TEST_F(CrewScenarioTest, RoundTripKeepsTheLivingAndLosesCasualties) {
    load(scenarioWith({"STATUS FLIGHT", "CKITCREW Capt-Governer_Vasko-41-65-74",
                       "CKITCREW -Olef_Brandt-19-70-45", "CKITCREW Doc-Ann_Lee-33-0-61",
                       "CKITCREW Sci-Bo-50-80-100"}));
    const std::string first = world().scenarioText();
    EXPECT_EQ(carrier("A")->crew.crewCount, 3) << "pulse 0 is refused on reading";
    EXPECT_EQ(carrier("A")->GetEmptyMass(), kCarrierMass + 219);
    EXPECT_EQ(crewLines(first).size(), 3u);

    // The saved text, loaded into a fresh world, saves identically.
    endWorld();
    load(first);
    EXPECT_EQ(world().scenarioText(), first);
    EXPECT_EQ(carrier("A")->GetEmptyMass(), kCarrierMass + 219);
    EXPECT_STREQ(carrier("A")->crew.GetCrewNameBySlot(2), "Bo");
}

TEST_F(CrewScenarioTest, LinesBeyondTheSeatLimitGoToTheHost) {
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i) {
        lines.push_back("CKITCREW Eng-Crew" + std::to_string(i) + "-30-70-70");
    }
    load(scenarioWith(lines));
    Carrier* vessel = carrier("A");
    EXPECT_EQ(vessel->crew.crewCount, 50);
    EXPECT_STREQ(vessel->crew.GetCrewNameBySlot(49), "Crew49");
    EXPECT_EQ(vessel->GetEmptyMass(), kCarrierMass + 50 * 70);
    EXPECT_EQ(publishedPoint(*vessel)[8], 0);
    EXPECT_EQ(vessel->offered.size(), 60u);
}

TEST_F(CrewScenarioTest, EmptyRosterWritesNothingAndReloadsEmpty) {
    Carrier* vessel = addReadyCarrier("A");
    EXPECT_EQ(vessel->crew.SaveCrewState(nullptr), 0);
    const std::string saved = world().scenarioText();
    EXPECT_TRUE(crewLines(saved).empty());
}

} // namespace
} // namespace crewtest
