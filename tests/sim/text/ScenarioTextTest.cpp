#include "sim/text/ScenarioText.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using vx::ScenarioDoc;
using vx::WorldBlock;

ScenarioDoc parseOk(std::string_view text) {
    ScenarioDoc doc;
    std::string error;
    EXPECT_TRUE(vx::parseScenarioText(text, "demo.scn", doc, error)) << error;
    return doc;
}

TEST(ScenarioText, ReadsWorldAndVesselBlocksWithTheirLinesStripped) {
    const ScenarioDoc doc = parseOk("# colony and tender\r\n"
                                    "BEGIN_WORLD\r\n"
                                    "  TIME 12.5\r\n"
                                    "\tBODY Mars 3389500 0  \r\n"
                                    "  FOCUS Big  Tender\r\n"
                                    "  HUDSIZE 800 600\r\n"
                                    "END_WORLD\r\n"
                                    "\r\n"
                                    "BEGIN_VESSEL halcyra Halcyra\n"
                                    "  POS 7000000 0 0\n"
                                    "  # not one of the vessel's lines\n"
                                    "\t CKITCREW Capt-Governer_Vasko-41-65-74 \t\n"
                                    "END_VESSEL\n"
                                    "BEGIN_VESSEL   Tender   Big  Tender  \n"
                                    "END_VESSEL");
    EXPECT_EQ(doc.world.time, 12.5);
    EXPECT_EQ(doc.world.bodyName, "Mars");
    EXPECT_EQ(doc.world.bodyRadius, 3389500.0);
    EXPECT_EQ(doc.world.bodyGm, 0.0);
    EXPECT_EQ(doc.world.focus, "Big  Tender");
    EXPECT_EQ(doc.world.focusLine, 5);
    EXPECT_EQ(doc.world.hudWidth, 800);
    EXPECT_EQ(doc.world.hudHeight, 600);
    ASSERT_EQ(doc.vessels.size(), 2u);
    const vx::VesselBlock& colony = doc.vessels[0];
    EXPECT_EQ(colony.className + "|" + colony.name, "halcyra|Halcyra");
    EXPECT_EQ(colony.line, 9);
    ASSERT_EQ(colony.lines.size(), 2u);
    EXPECT_EQ(colony.lines[0].number, 10);
    EXPECT_EQ(colony.lines[0].text, "POS 7000000 0 0");
    EXPECT_EQ(colony.lines[1].number, 12);
    EXPECT_EQ(colony.lines[1].text, "CKITCREW Capt-Governer_Vasko-41-65-74");
    EXPECT_EQ(doc.vessels[1].className + "|" + doc.vessels[1].name, "Tender|Big  Tender");
}

TEST(ScenarioText, RefusalsNameTheLineAndTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"\n\nFOO 1\n", "3: unknown statement 'FOO' outside a vessel block"},
        {"TIME 0\n", "1: TIME outside the world block"},
        {"END_VESSEL\n", "1: END_VESSEL without BEGIN_VESSEL"},
        {"BEGIN_VESSEL\n", "1: BEGIN_VESSEL: missing class and vessel name"},
        {"BEGIN_VESSEL halcyra  \n", "1: BEGIN_VESSEL halcyra: missing vessel name"},
        {"BEGIN_VESSEL halcyra Halcyra\nPOS 0 0 0\n",
         "1: BEGIN_VESSEL halcyra Halcyra has no END_VESSEL"},
        {"BEGIN_VESSEL halcyra Halcyra\nBEGIN_VESSEL Tender T\nEND_VESSEL\n",
         "1: BEGIN_VESSEL halcyra Halcyra has no END_VESSEL"},
        {"BEGIN_VESSEL a b\nEND_VESSEL now\n", "2: END_VESSEL: unexpected 'now'"},
        {"BEGIN_VESSEL Tender Tender\nEND_VESSEL\nBEGIN_VESSEL CKit Tender\nEND_VESSEL\n",
         "3: vessel name 'Tender' is used twice"},
        {"BEGIN_WORLD\nTIME 0\n", "1: BEGIN_WORLD has no END_WORLD"},
        {"BEGIN_WORLD\nBEGIN_VESSEL a b\n", "1: BEGIN_WORLD has no END_WORLD"},
        {"BEGIN_WORLD\nEND_WORLD\nBEGIN_WORLD\n",
         "3: a second world block (the first begins at line 1)"},
        {"BEGIN_WORLD\nGRAVITY 1\n", "2: unknown statement 'GRAVITY' in the world block"},
        {"BEGIN_WORLD\n\n\nTIME soon\n", "4: TIME: 'soon' is not a number"},
        {"BEGIN_WORLD\nTIME\n", "2: TIME: missing value"},
        {"BEGIN_WORLD\nTIME 0 # start\n", "2: TIME: unexpected '#' after value"},
        {"BEGIN_WORLD\nTIME 1\nTIME 2\n",
         "3: TIME is given twice in the world block (first at line 2)"},
        {"BEGIN_WORLD\nBODY Earth 6371000\n", "2: BODY: missing gm"},
        {"BEGIN_WORLD\nBODY New Earth 1 1\n", "2: BODY: radius 'Earth' is not a number"},
        {"BEGIN_WORLD\nBODY Earth -6.0e6 1\n",
         "2: BODY: radius must be greater than 0, got '-6.0e6'"},
        {"BEGIN_WORLD\nBODY Earth 1 -1\n", "2: BODY: gm must not be negative, got '-1'"},
        {"BEGIN_WORLD\nBODY Earth 1 1 1\n", "2: BODY: unexpected '1' after gm"},
        {"BEGIN_WORLD\nFOCUS  \n", "2: FOCUS: missing vessel name"},
        {"BEGIN_WORLD\nHUDSIZE 800\n", "2: HUDSIZE: missing height"},
        {"BEGIN_WORLD\nHUDSIZE 0 600\n", "2: HUDSIZE: width must be greater than 0, got '0'"},
        {"BEGIN_WORLD\nHUDSIZE 800 600.5\n", "2: HUDSIZE: height '600.5' is not a whole number"},
        {"BEGIN_WORLD\nHUDSIZE 3000000000 1\n", "2: HUDSIZE: width '3000000000' is too large"},
    };
    for (const auto& [text, error] : cases) {
        ScenarioDoc doc;
        std::string got;
        EXPECT_FALSE(vx::parseScenarioText(text, "demo.scn", doc, got)) << text;
        EXPECT_EQ(got, std::string("demo.scn:") + error) << text;
    }
}

TEST(ScenarioText, RefusesANulByteAnywhere) {
    using namespace std::string_view_literals;
    const std::pair<std::string_view, const char*> cases[] = {
        {"BEGIN_VESSEL Probe Bet\0a\nEND_VESSEL\n"sv, "1"},
        {"BEGIN_VESSEL Probe Beta\n  MESSAGE hi\0there\nEND_VESSEL\n"sv, "2"},
        {"BEGIN_WORLD\n  FOCUS Al\0pha\nEND_WORLD\n"sv, "2"},
        {"# a comment\0 too\n"sv, "1"},
    };
    for (const auto& [text, line] : cases) {
        ScenarioDoc doc;
        std::string got;
        EXPECT_FALSE(vx::parseScenarioText(text, "demo.scn", doc, got)) << line;
        EXPECT_EQ(got, std::string("demo.scn:") + line + ": a NUL byte in the line");
    }
}

TEST(ScenarioText, AppendedWorldBlockReadsBackTheSame) {
    WorldBlock awkward;
    awkward.time = 0.1;
    awkward.bodyName = "Vesta";
    awkward.bodyRadius = 1e-300;
    awkward.bodyGm = static_cast<double>(6.2831855f);
    awkward.focus = "CKit_Capt-Governer Vasko";
    awkward.hudWidth = 1;
    awkward.hudHeight = 2147483647;
    WorldBlock negativeZero;
    negativeZero.time = -0.0;
    negativeZero.bodyGm = 3900000000579.0;

    for (const WorldBlock& world : {WorldBlock{}, awkward, negativeZero}) {
        std::string text;
        vx::appendWorldBlock(text, world);
        const WorldBlock back = parseOk(text).world;
        EXPECT_EQ(back.time, world.time) << text;
        EXPECT_EQ(std::signbit(back.time), std::signbit(world.time)) << text;
        EXPECT_EQ(back.bodyName, world.bodyName) << text;
        EXPECT_EQ(back.bodyRadius, world.bodyRadius) << text;
        EXPECT_EQ(back.bodyGm, world.bodyGm) << text;
        EXPECT_EQ(back.focus, world.focus) << text;
        EXPECT_EQ(back.hudWidth, world.hudWidth) << text;
        EXPECT_EQ(back.hudHeight, world.hudHeight) << text;
    }
    // No FOCUS line for an empty focus: a loader would refuse "FOCUS" with no name.
    std::string text;
    vx::appendWorldBlock(text, WorldBlock{});
    EXPECT_EQ(text, "BEGIN_WORLD\n  TIME 0\n  BODY Earth 6371000 398600441800000\n"
                    "  HUDSIZE 1024 768\nEND_WORLD\n");
}

} // namespace
