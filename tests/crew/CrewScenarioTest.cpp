// Crew lines in the vessel's scenario block: what is read or refused, the wipe of the default
// roster that the first line brings, and a whole block saved and read back.
#include <cstring>
#include <sstream>

#include "sim/text/ScenarioText.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using CrewScenarioTest = CrewTest;

TEST_F(CrewScenarioTest, ValueWordsAreReadWholeOrRefusedWithoutTrace) {
    const std::string cases[][2] = {
        {"CKITCREW Capt-Governer_Vasko-41-65-74", "Capt|Governer Vasko|41|65|74"},
        {"CKITCREW -Olef_Brandt-19-70-45", "|Olef Brandt|19|70|45"},
        {"CKITCREW Captain-Olef_Brandt-19-70-45", "Capt|Olef Brandt|19|70|45"},
        {"CKITCREW Eng-Olef_Brandt-19-70-45", "Eng|Olef Brandt|19|70|45"},
        {"ckitcrew Doc-Ann-1-1-5", "Doc|Ann|1|1|5"},
        {"CKITCREW \t Doc-Ann-140-180-300   trailing words", "Doc|Ann|140|180|300"},
        {"CKITCREW Doc-Ann-30-70-74kg", "Doc|Ann|30|70|74"},
        {"CKITCREW Doc-Ann-30-70-74-and-more", "Doc|Ann|30|70|74"},
        {"CKITCREWDoc-Ann-30-70-74", "Doc|Ann|30|70|74"},
        {"CKITCREW Doc-Ann_O'Neil-30-70-74", "Doc|Ann O Neil|30|70|74"},
        {"CKITCREW Doc-Ann-000030-70-000074", "Doc|Ann|3|70|7"},
        {"CKITCREW Doc-Ann-+30-070-74", "Doc|Ann|30|70|74"},
        {"CKITCREW A_b-Ann-30-70-74", "A_b|Ann|30|70|74"},
        {"CKITCREW Eng-" + std::string(30, 'N') + "-30-70-80",
         "Eng|" + std::string(25, 'N') + "|30|70|80"},
        {"CKITCREW Doc-___-30-70-74", "Doc|   |30|70|74"},
        {"CKITCREW A-B-30-70-74-80", "A|B|30|70|74"},
        {"CKITCREW Doc-Ann-30-70-74-" + std::string(5000, 'x'), "Doc|Ann|30|70|74"},
        {"CKITCREW Doc-" + std::string(1000, 'N') + "-30-70-74", ""},
        {"CKITCREW Doc-Ann-0-70-74", ""},
        {"CKITCREW Doc-Ann-141-70-74", ""},
        {"CKITCREW Doc-Ann-30-0-74", ""},
        {"CKITCREW Doc-Ann-30-181-74", ""},
        {"CKITCREW Doc-Ann-30-70-4", ""},
        {"CKITCREW Doc-Ann-30-70-301", ""},
        {"CKITCREW Doc-Ann-30-70", ""},
        {"CKITCREW Doc-Ann-30", ""},
        {"CKITCREW Doc-Ann", ""},
        {"CKITCREW DocAnn3070", ""},
        {"CKITCREW Doc--30-70-74", ""},
        {"CKITCREW A-B-Ann-30-70-74", ""},
        {"CKITCREW Doc-Ann-99999999-70-74", ""},
        {"CKITCREW", ""},
        {"CKITCRE Doc-Ann-30-70-74", ""},
        {"", ""},
    };
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.SetMaxSeats(100), 1);
    ASSERT_EQ(crew.ParseCrewScenarioLine("STATUS first line"), 0);
    for (const auto& [line, stored] : cases) {
        SCOPED_TRACE(line.substr(0, 60));
        const int32_t count = crew.crewCount;
        const double mass = carrier->GetEmptyMass();
        EXPECT_EQ(crew.ParseCrewScenarioLine(line.c_str()), stored.empty() ? 0 : 1);
        const CrewRecord& r = crew.roster[count];
        std::ostringstream got;
        if (crew.crewCount > count) {
            got << r.miscId << '|' << r.name << '|' << r.age << '|' << r.pulse << '|' << r.weight;
        }
        EXPECT_EQ(got.str(), stored);
        EXPECT_EQ(carrier->GetEmptyMass(), mass + r.weight);
        EXPECT_EQ(point(*carrier)[8], 100 - crew.crewCount);
        const CrewRecord zero{};
        EXPECT_TRUE(!stored.empty() || std::memcmp(&r, &zero, sizeof r) == 0) << "a trace left";
    }
    EXPECT_EQ(crew.loadedLineCount, crew.crewCount);
}

TEST_F(CrewScenarioTest, FirstLineOfAnyKindReplacesTheDefaultRosterOnce) {
    Carrier* carrier = add("A");
    CrewManager& crew = carrier->crew;
    ASSERT_EQ(crew.ParseCrewScenarioLine(nullptr), 0);
    ASSERT_EQ(crew.AddCrewMember("Governer Vasko", 41, 65, 74, "Capt"), 1);
    ASSERT_EQ(crew.SetMaxSeats(2), 1);
    carrier->SetEmptyMass(1500); // the structure changed since the member came aboard
    EXPECT_EQ(crew.ParseCrewScenarioLine("STATUS Landed Earth"), 0);
    EXPECT_EQ(crew.crewCount, 0);
    EXPECT_EQ(crew.crewMass, 0.0);
    EXPECT_EQ(carrier->GetEmptyMass(), 1500 - 74);
    EXPECT_EQ(crew.loadedLineCount, 0);
    EXPECT_EQ(point(*carrier), (Numbers{-3, 3, -4, 4, -7, 7, 1, 0, 2}));
    EXPECT_EQ(crew.ParseCrewScenarioLine("CKITCREW -Olef_Brandt-19-70-45"), 1);
    EXPECT_EQ(crew.ParseCrewScenarioLine("STATUS Landed Earth"), 0);
    EXPECT_EQ(crew.ParseCrewScenarioLine("CKITCREW -Ann-19-70-45"), 1);
    EXPECT_EQ(crew.ParseCrewScenarioLine("CKITCREW -Bob-19-70-45"), 0) << "beyond the seats";
    EXPECT_EQ(crew.crewCount, 2);
    EXPECT_EQ(carrier->GetEmptyMass(), 1500 - 74 + 90);
}

TEST_F(CrewScenarioTest, SavedBlockKeepsTheLivingAndReadsBackToTheSameCrewAndMass) {
    std::string text = "BEGIN_WORLD\n  TIME 0\nEND_WORLD\nBEGIN_VESSEL Carrier A\n  STATUS FLIGHT\n"
                       "  CKITCREW Capt-Governer_Vasko-41-65-74\n  ckitcrew -Olef_Brandt-19-70-45\n"
                       "  CKITCREW Doc-Ann_Lee-33-0-61\n";
    for (int i = 0; i < 7; ++i) {
        text += "  CKITCREW Eng-Crew" + std::to_string(i) + "-30-70-70\n";
    }
    text += "END_VESSEL\nBEGIN_VESSEL Carrier B\n  STATUS FLIGHT\nEND_VESSEL\n";
    std::vector<std::string> warnings;
    const auto load = [&](const std::string& scenario) {
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(vx::parseScenarioText(scenario, "test.scn", doc, error)) << error;
        world().setWarningSink([&](std::string_view w) { warnings.emplace_back(w); });
        ASSERT_TRUE(world().load(doc, error)) << error;
    };
    const auto crewLines = [](const std::string& saved) {
        std::string lines;
        for (std::size_t at = 0; (at = saved.find("CKITCREW", at)) != std::string::npos;) {
            const std::size_t end = saved.find('\n', at) + 1;
            lines += saved.substr(at, end - at);
            at = end;
        }
        return lines;
    };
    load(text);
    Carrier* a = static_cast<Carrier*>(vessel("A"));
    EXPECT_EQ(a->crew.crewCount, 8) << "the casualty and the line beyond the seats are not read";
    EXPECT_EQ(warnings.size(), 2u) << "both go on to the host";
    ASSERT_EQ(a->crew.SetCrewPulseBySlot(1, 0), 1);
    ASSERT_EQ(a->crew.RemoveCrewMember("Crew0"), 1);
    ASSERT_EQ(a->crew.AddCrewMember("Zed Ox", 40, 60, 70, "Ab c"), 1);
    const std::string saved = world().scenarioText();
    EXPECT_EQ(crewLines(saved), "CKITCREW Capt-Governer_Vasko-41-65-74\n"
                                "CKITCREW -Olef_Brandt-19-0-45\n"
                                "CKITCREW Eng-Crew5-30-70-70\n"
                                "CKITCREW Eng-Crew1-30-70-70\n"
                                "CKITCREW Eng-Crew2-30-70-70\n"
                                "CKITCREW Eng-Crew3-30-70-70\n"
                                "CKITCREW Eng-Crew4-30-70-70\n"
                                "CKITCREW Ab_c-Zed_Ox-40-60-70\n");
    EXPECT_EQ(a->GetEmptyMass(), kMass + 74 + 45 + 5 * 70 + 70);

    endWorld();
    load(saved);
    a = static_cast<Carrier*>(vessel("A"));
    EXPECT_EQ(a->GetEmptyMass(), kMass + 74 + 5 * 70 + 70) << "the casualty is gone";
    EXPECT_STREQ(a->crew.GetCrewMiscIdByName("Zed Ox"), "Ab_c");
    const std::string again = world().scenarioText();
    EXPECT_EQ(crewLines(again), crewLines(saved).erase(38, 30));
}

} // namespace
} // namespace crewtest
