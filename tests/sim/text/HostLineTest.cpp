#include "sim/text/HostLine.h"

#include <bit>
#include <cstdint>

#include <gtest/gtest.h>

namespace {

using vx::HostLine;
using vx::HostLineKind;
using vx::HostLineResult;

HostLine parseOk(std::string_view text) {
    HostLine line;
    std::string reason;
    EXPECT_EQ(vx::parseHostLine(text, line, reason), HostLineResult::Parsed) << text << reason;
    return line;
}

TEST(HostLine, ReadsEachKeyWithItsValues) {
    const HostLine pos = parseOk("POS 7000000 0\t -0.5");
    EXPECT_EQ(pos.kind, HostLineKind::Pos);
    EXPECT_EQ(pos.value.x, 7000000.0);
    EXPECT_EQ(pos.value.z, -0.5);
    EXPECT_EQ(parseOk("VEL 0 7546 0").kind, HostLineKind::Vel);
    EXPECT_EQ(parseOk("ORI 90 -45 1e-3").value.z, 0.001);
    EXPECT_EQ(parseOk("AVEL .5 5. +3.2").kind, HostLineKind::Avel);
    EXPECT_EQ(parseOk("STATUS FLIGHT").status, 0);
    EXPECT_EQ(parseOk("STATUS LANDED").status, 1);
    const HostLine dock = parseOk("DOCK 3 12  Big  Tender Two");
    EXPECT_EQ(dock.kind, HostLineKind::Dock);
    EXPECT_EQ(dock.ownPort, 3);
    EXPECT_EQ(dock.otherPort, 12);
    EXPECT_EQ(dock.otherName, "Big  Tender Two");
}

TEST(HostLine, LinesWithoutAHostKeyBelongToNobody) {
    for (const char* text :
         {"CKITCREW Capt-Governer_Vasko-41-65-74", "pos 1 2 3", "POSITION 1 2 3", "", "SEATS 4"}) {
        HostLine line;
        std::string reason;
        EXPECT_EQ(vx::parseHostLine(text, line, reason), HostLineResult::NotHost) << text;
    }
}

TEST(HostLine, BadValuesNameTheKeyAndTheWord) {
    const std::pair<const char*, const char*> cases[] = {
        {"POS 1 two 3", "POS: 'two' is not a number"},
        {"POS 1 2", "POS: needs 3 numbers, got 2"},
        {"VEL 1 2 3 4", "VEL: unexpected '4' after the 3 numbers"},
        {"ORI nan 0 0", "ORI: 'nan' is not a number"},
        {"STATUS", "STATUS: missing FLIGHT or LANDED"},
        {"STATUS landed", "STATUS: 'landed' is neither FLIGHT nor LANDED"},
        {"STATUS LANDED now", "STATUS: unexpected 'now' after LANDED"},
        {"DOCK 0", "DOCK: missing other port"},
        {"DOCK 0 0", "DOCK: missing the other vessel's name"},
        {"DOCK 0 1.5 Tender", "DOCK: other port '1.5' is not a whole number"},
        {"DOCK -1 0 Tender", "DOCK: own port '-1' is negative"},
        {"DOCK 0 99999999999 Tender", "DOCK: other port '99999999999' is too large"},
    };
    for (const auto& [text, expected] : cases) {
        HostLine line;
        std::string reason;
        EXPECT_EQ(vx::parseHostLine(text, line, reason), HostLineResult::Bad) << text;
        EXPECT_EQ(reason, expected) << text;
    }
}

HostLine roundTrip(const HostLine& line) {
    return parseOk(std::string(vx::hostLineKey(line.kind)) + ' ' + vx::formatHostValue(line));
}

TEST(HostLine, WrittenValuesReadBackExactly) {
    const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
    for (HostLineKind kind :
         {HostLineKind::Pos, HostLineKind::Vel, HostLineKind::Ori, HostLineKind::Avel}) {
        for (double v : {0.1, 1e-300, -0.0, 3900000000579.0, static_cast<double>(6.2831855f)}) {
            HostLine line;
            line.kind = kind;
            line.value = {v, -v, v * 3.0};
            const HostLine back = roundTrip(line);
            EXPECT_EQ(back.kind, kind);
            EXPECT_EQ(bits(back.value.x), bits(line.value.x)) << vx::formatHostValue(line);
            EXPECT_EQ(bits(back.value.y), bits(line.value.y)) << vx::formatHostValue(line);
            EXPECT_EQ(bits(back.value.z), bits(line.value.z)) << vx::formatHostValue(line);
        }
    }
    for (int status : {0, 1}) {
        HostLine line;
        line.kind = HostLineKind::Status;
        line.status = status;
        EXPECT_EQ(roundTrip(line).status, status);
    }
    HostLine dock;
    dock.kind = HostLineKind::Dock;
    dock.ownPort = 4;
    dock.otherPort = 2147483647;
    dock.otherName = "CKit_Capt-Governer Vasko";
    EXPECT_EQ(vx::formatHostValue(dock), "4 2147483647 CKit_Capt-Governer Vasko");
    const HostLine back = roundTrip(dock);
    EXPECT_EQ(back.ownPort, 4);
    EXPECT_EQ(back.otherPort, 2147483647);
    EXPECT_EQ(back.otherName, dock.otherName);
}

} // namespace
