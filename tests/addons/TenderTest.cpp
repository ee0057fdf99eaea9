// The docking ship "Tender" as any other vessel sees it: roads of keys with each answer, then
// each vessel's airlock and free seats as its crew point publishes them, then the lines the host
// was left to report.
#include <string>
#include <utility>
#include <vector>

#include "host/Keys.h"
#include "tests/addons/AddonWorld.h"

namespace {

struct Road {
    std::string blocks; // scenario text; empty: a tender created without a block
    std::vector<std::pair<const char*, const char*>> keys; // vessel, key; "" steps 1.2 s
    std::string expected;
};

std::string block(const char* name, const std::string& lines, const char* at = "7000000 0 0") {
    return std::string("BEGIN_VESSEL Tender ") + name + "\n  POS " + at + "\n" + lines +
           "END_VESSEL\n";
}

const std::string kPilot = "  CKITCREW Pil-Ilsa_Brandvik-34-68-62\n";
const std::string kOlef = "  CKITCREW -Olef_Brandt-19-70-45\n";
const std::string kDuma = "  CKITCREW -Duma_Okaro-32-70-45\n";

const Road kRoads[] = {
    {"",
     {{"Tender", ""},
      {"Tender", "shift+e"},
      {"Tender", "rctrl+a"},
      {"Tender", "s"},
      {"Tender", "1"},
      {"Tender", "a"},
      {"Tender", "e"},
      {"Tender", "a"},
      {"Tender", "e"},
      {"Tender", "2"}},
     "- ; 0 ; 0 ; 0 ; 1 Tender: slot 0 Ilsa Brandvik selected; 1 Tender: airlock closed; 1 Tender: "
     "airlock closed; 1 Tender: airlock open; 1 Tender: Ilsa Brandvik out on EVA; 1 Tender: "
     "nobody aboard; \nTender 1/4 CKit_Pil-Ilsa_Brandvik -\n"},
    {block("Tender", kPilot + kOlef + kDuma),
     {{"Tender", "2"},
      {"Tender", "1"},
      {"Tender", "1"},
      {"Tender", "1"},
      {"Tender", "2"},
      {"Tender", "e"},
      {"Tender", "1"}},
     "1 Tender: slot 0 Ilsa Brandvik selected; 1 Tender: slot 1 Olef Brandt selected; 1 Tender: "
     "slot 2 Duma Okaro selected; 1 Tender: slot 2 Duma Okaro selected; 1 Tender: slot 1 Olef "
     "Brandt selected; 1 Tender: Olef Brandt out on EVA; 1 Tender: slot 1 Duma Okaro selected; "
     "\nTender 1/2 CKit_Olef_Brandt -\n"},
    {block("Bare", "") + block("Crewed", kPilot + kOlef) +
         block("Mixed", kOlef + "  SEATS 2\n" + kDuma) + block("Shut", "  AIRLOCK CLOSED\n") +
         block("Cabinless", "  NOCREW\n" + kOlef) +
         block("Seats", "  SEATS 0\n  SEATS -3\n  SEATS 101\n  SEATS 2x\n  SEATS many\n") +
         block("Lower", "  ckitcrew -Olef_Brandt-19-70-45\n") +
         block("Over", "  SEATS 1\n" + kOlef + kDuma) +
         block("Refused", kOlef + "  CKITCREW -Duma_Okaro-141-70-45\n") +
         "BEGIN_VESSEL Tender Empty\nEND_VESSEL\n",
     {},
     "\nBare 1/4 Crewed 1/2 Mixed 1/0 Shut 0/4 Cabinless - Seats 1/4 Lower 1/3 Over 1/0 "
     "Refused 1/3 Empty 1/3\nCKITCREW -Olef_Brandt-19-70-45; SEATS 0; SEATS -3; SEATS 101; SEATS "
     "2x; SEATS many; CKITCREW -Duma_Okaro-32-70-45; CKITCREW -Duma_Okaro-141-70-45; "},
    {block("Near1", "  DOCK 0 0 Full\n" + kPilot) +
         block("Full", "  SEATS 1\n" + kOlef, "7e6 0 10") +
         block("Near2", "  DOCK 0 0 Shut\n" + kPilot, "7e6 100 0") +
         block("Shut", "  AIRLOCK CLOSED\n", "7e6 100 10") +
         block("Near3", "  DOCK 0 0 Bare\n" + kPilot, "7e6 200 0") +
         block("Bare", "  NOCREW\n", "7e6 200 10") +
         block("Near4", "  DOCK 0 0 Far\n" + kPilot, "7e6 300 0") + block("Far", "", "7e6 300 10"),
     {{"Near1", "e"}, {"Near2", "e"}, {"Near3", "e"}, {"Near4", "e"}, {"Far", ""}},
     "1 Tender: the docked ship is full; 1 Tender: the docked ship's airlock is closed; 1 Tender: "
     "the docked ship takes no crew; 1 Tender: Ilsa Brandvik crossed into the docked ship; - "
     "Tender: Ilsa Brandvik came aboard; \nNear1 1/3 Full 1/0 Near2 1/3 Shut 0/4 Near3 1/3 Bare - "
     "Near4 1/4 Far 1/3\n"},
};

class TenderTest : public AddonTest {
protected:
    std::string published() {
        std::string out;
        for (const vx::VesselRecord* v : world->vessels()) {
            const auto& points = v->childPoints;
            out += v->name + (points.empty() ? std::string(" -")
                                             : " " + std::to_string(int(points[0]->rot.x)) + "/" +
                                                   std::to_string(int(points[0]->rot.z)));
            out += v == world->vessels().back() ? "\n" : " ";
        }
        return out;
    }
};

TEST_F(TenderTest, RoadsGetTheirAnswersAndLeaveTheirCrewWhereTheySaveIt) {
    for (const Road& road : kRoads) {
        warnings.clear();
        if (road.blocks.empty()) {
            restart();
            create("Tender", "Tender");
        } else {
            load(road.blocks);
        }
        std::string got;
        for (const auto& [vessel, name] : road.keys) {
            world->setFocus(world->findVessel(vessel));
            vx::KeySpec key;
            got += vx::parseKeySpec(name, key) ? std::to_string(world->pressKey(key)) : "-";
            for (int step = 0; step < (*name != '\0' ? 1 : 12); ++step) {
                world->step(0.1);
            }
            got += " " + world->hudText() + "; ";
        }
        got += "\n" + published();
        for (const std::string& warning : warnings) {
            got += warning.substr(warning.find("skipped: ") + 9) + "; ";
        }
        EXPECT_EQ(got, road.expected);
        const std::string before = published();
        warnings.clear();
        load(world->scenarioText());
        EXPECT_EQ(published(), before) << "not the same after a save and a reload";
        EXPECT_TRUE(warnings.empty());
    }
}

TEST_F(TenderTest, AnswerStandsAQuarterDownForThirtySecondsOfBeingDrawn) {
    create("Tender", "Tender");
    vx::KeySpec key;
    key.code = VXK_A;
    world->pressKey(key);
    world->setHudSize(1024, 600);
    world->step(29.5);
    EXPECT_EQ(world->hudFrame().at(0).x, 5);
    EXPECT_EQ(world->hudFrame().at(0).y, 150);
    world->step(0.5);
    world->step(0.1);
    EXPECT_EQ(world->hudText(), "");
}

} // namespace
