// The line formats: numbers that read back to the same double, the host's own lines of a
// vessel block, and scenario texts, with the line and reason of every refusal.
#include <string_view>

#include <gtest/gtest.h>

#include "sim/text/HostLine.h"
#include "sim/text/NumberText.h"
#include "sim/text/ScenarioText.h"

namespace {

using namespace std::string_view_literals;

TEST(NumberText, WritesTheShortestFormThatReadsBackAndReadsNothingButOneFiniteNumber) {
    for (const char* text : {"0.1", "3900000000579", "-0", "1e-300", "7e+06", "5e-324",
                             "0.3333333333333333", "-1.7976931348623157e+308"}) {
        double value = 1.0;
        EXPECT_TRUE(vx::parseNumber(text, value));
        EXPECT_EQ(vx::formatNumber(value), text);
    }
    for (const auto& [text, want] :
         {std::pair{"1E+3", 1e3}, {"-.5", -0.5}, {"5.", 5.0}, {"+2", 2.0}}) {
        double value = 0.0;
        EXPECT_TRUE(vx::parseNumber(text, value) && value == want) << text;
    }
    long long n = 0;
    EXPECT_TRUE(vx::parseInteger("+9223372036854775807", n) && n == 9223372036854775807LL);
    for (const char* text : {"", "nan", "inf", "-inf", "+inf", "0x10", " 1", "1 ", "+", "-", "+-1",
                             "++1", ".", "1e", "e5", "1e999", "1e-400", "1,5", "1f"}) {
        double value = 0.0;
        EXPECT_FALSE(vx::parseNumber(text, value)) << "'" << text << "'";
    }
    for (const char* text : {"", "1.0", "1e3", " 1", "9223372036854775808", "+", "+-3", "-"}) {
        EXPECT_FALSE(vx::parseInteger(text, n)) << "'" << text << "'";
    }
}

TEST(HostLine, BadValuesNameTheKeyAndTheWord) {
    vx::HostLine line;
    std::string reason;
    const std::pair<const char*, const char*> bad[] = {
        {"POS 1 2", "POS: needs 3 numbers, got 2"},
        {"VEL 1 2 3 4", "VEL: unexpected '4' after the 3 numbers"},
        {"STATUS", "STATUS: missing FLIGHT or LANDED"},
        {"STATUS landed", "STATUS: 'landed' is neither FLIGHT nor LANDED"},
        {"STATUS LANDED now", "STATUS: unexpected 'now' after LANDED"},
        {"DOCK 0", "DOCK: missing other port"},
        {"DOCK 0 0", "DOCK: missing the other vessel's name"},
        {"DOCK 0 1.5 Tender", "DOCK: other port '1.5' is not a whole number"},
        {"DOCK -1 0 Tender", "DOCK: own port '-1' is out of range, 0 .. 2147483647"},
        {"DOCK 0 2147483648 Tender",
         "DOCK: other port '2147483648' is out of range, 0 .. 2147483647"},
        {"POS 1 2 1e14", "POS: '1e14' is out of range, -1e13 .. 1e13 m"},
        {"AVEL 0 -2e6 0", "AVEL: '-2e6' is out of range, -1e6 .. 1e6 degrees/s"}};
    for (const auto& [text, want] : bad) {
        EXPECT_EQ(vx::parseHostLine(text, line, reason), vx::HostLineResult::Bad) << text;
        EXPECT_EQ(reason, want) << text;
    }
}

TEST(ScenarioText, ReadsBlocksWithTheirLinesStrippedAndNumbered) {
    vx::ScenarioDoc doc;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText("# colony\r\nBEGIN_WORLD\r\n\tHUDSIZE 16384 1  \r\n"
                                      "END_WORLD\n\nBEGIN_VESSEL   Tender   Big  Tender  \n"
                                      "  # not a line\n\t CKITCREW x-41 \t\nEND_VESSEL",
                                      "demo.scn", doc, error));
    ASSERT_EQ(doc.vessels.size(), 1u);
    const vx::VesselBlock& tender = doc.vessels[0];
    ASSERT_EQ(tender.lines.size(), 1u);
    EXPECT_EQ(tender.className + "|" + tender.name + "|" + std::to_string(tender.line) + "|" +
                  std::to_string(tender.lines[0].number) + "|" + tender.lines[0].text + "|" +
                  std::to_string(doc.world.hudWidth),
              "Tender|Big  Tender|6|8|CKITCREW x-41|16384");
}

TEST(ScenarioText, RefusalsNameTheLineAndTheReason) {
    const std::pair<std::string_view, const char*> cases[] = {
        {"\n\nFOO 1\n", "3: unknown statement 'FOO' outside a vessel block"},
        {"TIME 0\n", "1: TIME outside the world block"},
        {"FOCUS a\n", "1: FOCUS outside the world block"},
        {"HUDSIZE 1 1\n", "1: HUDSIZE outside the world block"},
        {"END_VESSEL\n", "1: END_VESSEL without BEGIN_VESSEL"},
        {"BEGIN_VESSEL\n", "1: BEGIN_VESSEL: missing class and vessel name"},
        {"BEGIN_VESSEL halcyra  \n", "1: BEGIN_VESSEL halcyra: missing vessel name"},
        {"BEGIN_VESSEL a A\nPOS 0 0 0\n", "1: BEGIN_VESSEL a A has no END_VESSEL"},
        {"BEGIN_VESSEL a A\nBEGIN_WORLD\n", "1: BEGIN_VESSEL a A has no END_VESSEL"},
        {"BEGIN_VESSEL a b\nEND_VESSEL now\n", "2: END_VESSEL: unexpected 'now'"},
        {"BEGIN_VESSEL a T\nEND_VESSEL\nBEGIN_VESSEL b T\n", "3: vessel name 'T' is used twice"},
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
        {"BEGIN_WORLD\nBODY New Earth 1 1\n", "2: BODY: radius 'Earth' is not a number"},
        {"BEGIN_WORLD\nBODY Earth 0 1\n", "2: BODY: radius '0' is out of range, 1e-3 .. 1e10 m"},
        {"BEGIN_WORLD\nBODY Earth 1 -1\n", "2: BODY: gm '-1' is out of range, 0 .. 1e22 m^3/s^2"},
        {"BEGIN_WORLD\nTIME 1e300\n", "2: TIME: '1e300' is out of range, 0 .. 1e10 s"},
        {"BEGIN_WORLD\nFOCUS  \n", "2: FOCUS: missing vessel name"},
        {"BEGIN_WORLD\nHUDSIZE 800\n", "2: HUDSIZE: missing height"},
        {"BEGIN_WORLD\nHUDSIZE 0 600\n",
         "2: HUDSIZE: width '0' is out of range, 1 .. 16384 pixels"},
        {"BEGIN_WORLD\nHUDSIZE 8 6.5\n", "2: HUDSIZE: height '6.5' is not a whole number"},
        {"BEGIN_WORLD\nHUDSIZE 2147483648 1\n",
         "2: HUDSIZE: width '2147483648' is out of range, 1 .. 16384 pixels"},
        {"BEGIN_VESSEL a b\n\n  MESSAGE hi\0there\n"sv, "3: a NUL byte in the line"},
    };
    for (const auto& [text, want] : cases) {
        vx::ScenarioDoc doc;
        std::string error;
        EXPECT_FALSE(vx::parseScenarioText(text, "demo.scn", doc, error)) << text;
        EXPECT_EQ(error, std::string("demo.scn:") + want) << text;
    }
}

} // namespace
