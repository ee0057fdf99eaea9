// The screen's views of the demo world: the vessel rows, what a crew vessel publishes as the
// screen reads it, and the map a person walks back in by.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/screen/NearbyMap.h"
#include "sim/screen/PublishedCrew.h"
#include "sim/screen/VesselPanel.h"
#include "sim/script/Script.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/World.h"
#include "tests/property/PropertyRoot.h"

namespace {

constexpr const char* kWalker = "CKit_Eng-Marietta_Vasko";

class SpacedockView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.ready());
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(colonycheck::LoadDemo(doc, error)) << error;
        world.setWarningSink([](std::string_view) {});
        ASSERT_TRUE(world.load(doc, error)) << error;
        world.step(0.1);
    }

    void press(const char* name) {
        vx::KeySpec key;
        ASSERT_TRUE(vx::parseKeySpec(name, key)) << name;
        world.pressKey(key);
    }

    // The demo's road out: the tender casts off and the selected member leaves on foot,
    // stepping out to 1 m beyond the colony's airlock.
    vx::VesselRecord* walkOut() {
        std::string reason;
        EXPECT_TRUE(world.undock(world.findVessel("Halcyra"), 0, reason)) << reason;
        press("1");
        press("e");
        vx::VesselRecord* walker = world.findVessel(kWalker);
        if (walker != nullptr) {
            world.setFocus(walker);
        }
        return walker;
    }

    colonycheck::PropertyRoot root;
    vx::World world{[] {
        vx::WorldOptions options;
        options.moduleFolder = VX_MODULE_DIR;
        options.logFile = "vxsim.log";
        return options;
    }()};
};

TEST_F(SpacedockView, RowsShowDocksDistancesAndTheSeatsEachShipPublishes) {
    std::vector<vx::VesselRow> rows;
    vx::collectVesselRows(world, rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Halcyra");
    EXPECT_TRUE(rows[0].focus);
    EXPECT_EQ(rows[0].docks, "0>Tender");
    EXPECT_TRUE(rows[0].crew.published);
    EXPECT_TRUE(rows[0].crew.open);
    EXPECT_EQ(rows[0].crew.freeSeats, 38);
    EXPECT_EQ(rows[1].name, "Tender");
    EXPECT_FALSE(rows[1].focus);
    EXPECT_EQ(rows[1].docks, "0>Halcyra");
    EXPECT_EQ(rows[1].crew.freeSeats, 3);
    EXPECT_GT(rows[1].distance, 0.0);

    // Someone leaving is one seat more on the colony, and a walker publishes no airlock.
    ASSERT_NE(walkOut(), nullptr);
    vx::collectVesselRows(world, rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].crew.freeSeats, 39);
    EXPECT_EQ(rows[0].docks, "");
    EXPECT_TRUE(rows[2].focus);
    EXPECT_FALSE(rows[2].crew.published);
    EXPECT_NEAR(rows[0].distance, 8.0, 1e-6);
}

TEST_F(SpacedockView, PublishedAirlockFollowsTheColonysKey) {
    vx::VesselRecord* colony = world.findVessel("Halcyra");
    ASSERT_NE(colony, nullptr);
    vx::PublishedCrew crew = vx::readPublishedCrew(*colony->iface);
    ASSERT_TRUE(crew.published);
    const double box[6] = {-3, 3, -4, 4, -7, 7};
    EXPECT_TRUE(std::equal(std::begin(box), std::end(box), std::begin(crew.box)));
    press("a");
    crew = vx::readPublishedCrew(*colony->iface);
    EXPECT_FALSE(crew.open);
    EXPECT_EQ(crew.freeSeats, 38);
}

TEST_F(SpacedockView, MapLeadsTheWalkerBackIntoTheAirlock) {
    ASSERT_NE(walkOut(), nullptr);
    vx::NearbyMap map;
    vx::drawNearbyMap(world, 41, 13, map);
    ASSERT_EQ(map.lines.size(), 13u);
    // The whole box, 1 to 15 m behind her, fits at 2 m a column and 4 m a line.
    EXPECT_EQ(map.metresPerColumn, 2.0);
    const std::size_t middle = 6;
    EXPECT_EQ(map.lines[middle][20], '@');
    EXPECT_EQ(map.lines[middle].find('#'), std::string::npos) << "she stands outside";
    EXPECT_NE(map.lines[middle + 1].find('#'), std::string::npos) << "the box's near edge";
    EXPECT_EQ(map.lines[middle + 2][20], 'h') << "the colony, at the box's centre";
    EXPECT_NE(map.caption.find("Halcyra airlock (open) at x 0.0 y 0.0 z -8.0 m"), std::string::npos)
        << map.caption;

    for (int i = 0; i < 3; ++i) {
        press("down");
    }
    vx::drawNearbyMap(world, 41, 13, map);
    EXPECT_NE(map.caption.find("inside Halcyra's airlock"), std::string::npos) << map.caption;
    EXPECT_EQ(map.lines[middle][20], '@');
    EXPECT_NE(map.lines[middle].find('#'), std::string::npos) << "the box reaches her line";
}

TEST_F(SpacedockView, ClosedAirlockIsDrawnApartFromAnOpenOne) {
    press("a");
    vx::NearbyMap map;
    vx::drawNearbyMap(world, 41, 13, map);
    const auto count = [&map](char mark) {
        std::size_t n = 0;
        for (const std::string& line : map.lines) {
            n += static_cast<std::size_t>(std::count(line.begin(), line.end(), mark));
        }
        return n;
    };
    EXPECT_GT(count(':'), 0u);
    EXPECT_EQ(count('.'), 0u);
    EXPECT_NE(map.caption.find("(closed)"), std::string::npos) << map.caption;
}

TEST(VesselPanelText, EveryLineIsExactlyTheWidthAsked) {
    vx::VesselRow row;
    row.name = std::string(200, 'N');
    row.className = "halcyra";
    row.distance = 21700.0;
    row.speed = 0.2;
    row.docks = "0>Tender 1>Shuttle";
    for (int width : {40, 56, 83, 200}) {
        EXPECT_EQ(vx::vesselPanelHeader(width).size(), static_cast<std::size_t>(width));
        EXPECT_EQ(vx::formatVesselRow(row, width).size(), static_cast<std::size_t>(width));
    }
    row.focus = true;
    EXPECT_EQ(vx::formatVesselRow(row, 56).rfind("> ", 0), 0u);
}

TEST(VesselPanelText, MeasuresFitTheirColumn) {
    struct Case {
        double value;
        const char* unit;
        const char* text;
    };
    for (const Case& c :
         {Case{12.34, "m", "12.3 m"}, Case{4100.0, "m", "4.1 km"}, Case{7.6e6, "m", "7.6 Mm"},
          Case{-3.21, "m/s", "-3.2 m/s"}, Case{999.9, "m/s", "999.9 m/s"}}) {
        EXPECT_EQ(vx::shortMeasure(c.value, c.unit), c.text);
    }
}

} // namespace
