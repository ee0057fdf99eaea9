// People crossing and coming aboard: the transfer vessel in the docked ship's airlock and the
// transfer exchange file; when the arrival scan runs, which vessels it takes for a walking
// member in the airlock or a transfer vessel, and how a label becomes a tag and a name.
#include <cstdio>
#include <cstring>

#include "crew/CrewExchange.h"
#include "crew/CrewLink.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

class CrewArrivalTest : public CrewTest {
protected:
    // The receiving ship: ready, 50 seats, its airlock open over -3..3, -4..4, -7..7.
    Carrier* ship() {
        if (ship_ == nullptr) {
            ship_ = add("Dock");
            EXPECT_EQ(ship_->crew.SetMaxSeats(50), 1);
        }
        return ship_;
    }
    CrewLinkRecord& link() { return ship()->crew.Link(); }
    // One scan now, whatever the timer says.
    int32_t scanNow() {
        link().pollTimer = 1.0;
        return ship()->crew.ProcessArrivals();
    }
    VESSEL* walkerAt(const std::string& name, const VECTOR3& local, VECTOR3 data = {35, 70, 62}) {
        VESSEL* created = walker(name, &data);
        place(name, ship()->GetName(), local);
        return created;
    }
    std::string member(int32_t slot) {
        const CrewRecord& r = ship()->crew.roster[slot];
        return std::string(r.name) + "|" + r.miscId + "|" + std::to_string(r.age) + "|" +
               std::to_string(r.pulse) + "|" + std::to_string(static_cast<int>(r.weight));
    }

private:
    Carrier* ship_ = nullptr;
};

// Where a point of a vessel's frame is; the body sits at the origin, so this is global too.
VECTOR3 At(const VESSEL& vessel, const VECTOR3& local) {
    VECTOR3 rel{};
    vessel.Local2Rel(local, rel);
    return rel;
}

void ExpectNear(const VECTOR3& got, const VECTOR3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-6);
    EXPECT_NEAR(got.y, want.y, 1e-6);
    EXPECT_NEAR(got.z, want.z, 1e-6);
}

TEST_F(CrewArrivalTest, TransferredMemberStandsInTheShipsAirlockAndIsTakenInAtItsNextPoll) {
    Carrier* alpha = add("Alpha", kDock | kReady);
    Carrier* bravo = add("Bravo", kDock | kReady);
    VESSELSTATUS pose{};
    pose.rpos = {7e6, 40, 20};
    pose.rrot = FromColumns({0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    bravo->DefSetState(&pose);
    ASSERT_EQ(bravo->crew.DefineAirlockShape(1, 1, 3, -2, 0, 4, 10), 1); // off the centre
    dock(alpha, bravo);
    ASSERT_EQ(alpha->crew.AddCrewMember("Ann", 33, 72, 80, "Eng"), 1);
    vapiSetFocusObject(alpha->GetHandle());
    world().step(1.0); // so that the next poll is at most a quarter second away

    ASSERT_EQ(alpha->crew.EvaCrewMember("Ann"), 2);
    EXPECT_EQ(alpha->crew.GetCrewCount(), 0);
    EXPECT_EQ(point(*alpha)[8], 8.0);
    EXPECT_EQ(alpha->GetEmptyMass(), kMass);
    VESSEL* transfer = vessel("CKitTBravo");
    ASSERT_NE(transfer, nullptr);
    EXPECT_STREQ(transfer->GetClassNameA(), "CKit");
    VECTOR3 where{};
    transfer->GetGlobalPos(where);
    ExpectNear(where, At(*bravo, {2, -1, 7}));
    ASSERT_EQ(transfer->AttachmentCount(true), 2u);
    ATTACHMENTHANDLE data = transfer->GetAttachmentHandle(true, 1);
    EXPECT_STREQ(transfer->GetAttachmentId(data), "C-Ki");
    VECTOR3 p{}, d{1, 1, 1}, r{1, 1, 1};
    transfer->GetAttachmentParams(data, p, d, r);
    EXPECT_EQ((Numbers{p.x, p.y, p.z, d.x, d.y, d.z, r.x, r.y, r.z}),
              (Numbers{33, 72, 80, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(record(kTransferFile), "CKit_Eng-Ann||33|72|100|80|0|0");

    int steps = 0;
    while (bravo->arrivals.back() == 0 && steps < 40) {
        world().step(0.05);
        ++steps;
    }
    EXPECT_LE(steps, 6) << "within a quarter second and a step";
    EXPECT_EQ(bravo->arrivals.back(), 2);
    EXPECT_EQ(root.read(kTransferFile), "");
    EXPECT_FALSE(exists("CKitTBravo"));
    ASSERT_EQ(bravo->crew.GetCrewCount(), 1);
    const CrewRecord& m = bravo->crew.roster[0];
    EXPECT_EQ(std::string(m.name) + m.miscId + std::to_string(m.age) + std::to_string(m.pulse),
              "AnnEng3372");
    EXPECT_EQ(bravo->GetEmptyMass(), kMass + 80.0);
    EXPECT_STREQ(bravo->crew.GetLastArrivedName(), "Ann");
    EXPECT_EQ(point(*bravo)[8], 7.0);
    EXPECT_EQ(vapiGetFocusObject(), alpha->GetHandle()) << "a transfer leaves the focus alone";
}

struct HandPoint {
    const char* id;
    double open, seats;
    float box[6];
};

TEST_F(CrewArrivalTest, TransferVesselStandsInTheFirstOpenCrewPoint) {
    const HandPoint closedA{"CKit", 0, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint openA{"CKit", 1, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint openB{"CKit", -1e-300, 5, {1, 3, -2, 0, 4, 10}};
    const HandPoint fullA{"CKit", 1, 0, {10, 12, 10, 12, 10, 12}};
    const HandPoint fullClosedA{"CKit", 0, 0.9, {10, 12, 10, 12, 10, 12}};
    const HandPoint longId{"CKitX", 1, 3, {10, 12, 10, 12, 10, 12}};
    const HandPoint lowerCase{"ckit", 1, 3, {10, 12, 10, 12, 10, 12}};
    const struct {
        std::vector<HandPoint> points;
        int32_t code;
        VECTOR3 centre; // of the box the transfer vessel stands in, ship frame
    } cases[] = {
        {{closedA, openB}, 2, {2, -1, 7}}, {{openA, openB}, 2, {11, 11, 11}},
        {{closedA, closedA}, -2, {}},      {{longId, openB}, 2, {2, -1, 7}},
        {{longId, lowerCase}, -5, {}},     {{}, -5, {}},
        {{fullA, openB}, -3, {}},          {{fullClosedA, openB}, -3, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const std::string name = "Ship" + std::to_string(i);
        Carrier* sender = add("Sender" + std::to_string(i), kDock | kReady);
        Carrier* ship = add(name, kDock);
        VESSELSTATUS pose{};
        pose.rpos = {7e6, -30, 5};
        pose.rrot = FromColumns({0, 1, 0}, {0, 0, 1}, {1, 0, 0});
        ship->DefSetState(&pose);
        for (const HandPoint& p : cases[i].points) {
            ship->CreateAttachment(false, {p.box[0], p.box[1], p.box[2]},
                                   {p.box[3], p.box[4], p.box[5]}, {p.open, 0.0, p.seats}, p.id,
                                   false);
        }
        dock(sender, ship);
        ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
        root.remove(kTransferFile);
        EXPECT_EQ(sender->crew.EvaCrewMember("Ann"), cases[i].code);
        VESSEL* transfer = vessel("CKitT" + name);
        if (cases[i].code != 2) {
            EXPECT_EQ(transfer, nullptr);
            EXPECT_EQ(record(kTransferFile), "0 bytes") << "nothing is written for a refusal";
            continue;
        }
        ASSERT_NE(transfer, nullptr);
        VECTOR3 where{};
        transfer->GetGlobalPos(where);
        ExpectNear(where, At(*ship, cases[i].centre));
    }
}

TEST_F(CrewArrivalTest, ReceiverWithASpaceInItsNameNeverTakesItsTransferVesselIn) {
    Carrier* sender = add("Sender", kDock | kReady);
    Carrier* ship = add("Big Ship", kDock | kReady);
    dock(sender, ship);
    ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
    ASSERT_EQ(sender->crew.EvaCrewMember("Ann"), 2);
    for (int i = 0; i < 30; ++i) {
        world().step(0.1);
    }
    EXPECT_TRUE(exists("CKitTBig_Ship"));
    EXPECT_EQ(record(kTransferFile), "CKit_Ann||33|72|100|80|0|0");
    EXPECT_EQ(ship->crew.GetCrewCount(), 0);
}

TEST_F(CrewArrivalTest, ScanRunsPastAQuarterSecondOnlyWhileTheAirlockIsOpenAndPublished) {
    walkerAt("CKit_Ann", {0, 0, 0});
    link().pollTimer = 0.125;
    world().step(0.125);
    EXPECT_EQ(link().pollTimer, 0.25) << "exactly a quarter second is not enough";
    EXPECT_TRUE(exists("CKit_Ann"));
    world().step(0.125);
    EXPECT_EQ(link().pollTimer, 0.0);
    EXPECT_FALSE(exists("CKit_Ann"));

    ASSERT_EQ(ship()->crew.SetAirlockState(0), 1);
    walkerAt("CKit_Bob", {0, 0, 0});
    link().pollTimer = 0.2;
    for (int i = 0; i < 3; ++i) {
        world().step(0.5);
    }
    EXPECT_EQ(link().pollTimer, 0.2) << "a closed airlock keeps the timer";
    ASSERT_EQ(ship()->crew.SetAirlockState(1), 1);
    world().step(0.1);
    EXPECT_FALSE(exists("CKit_Bob")) << "the first step past a quarter second scans";

    // The crew manager's copy says open while the published state is closed.
    ASSERT_EQ(ship()->crew.SetAirlockState(0), 1);
    ship()->crew.airlockStateCopy = 1;
    walkerAt("CKit_Cy", {0, 0, 0});
    world().step(0.3);
    EXPECT_EQ(link().pollTimer, 0.0);
    world().step(0.2);
    EXPECT_NEAR(link().pollTimer, 0.2, 1e-12);
    EXPECT_TRUE(exists("CKit_Cy"));
    EXPECT_EQ(ship()->arrivals, (std::vector<int32_t>{0, 1, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(ship()->crew.GetCrewCount(), 2);
}

TEST_F(CrewArrivalTest, WalkerIsTakenInOnlyStrictlyInsideWithItsDataPointLast) {
    const struct {
        VECTOR3 local;
        bool ownPoint;                  // the class's own point for parents comes first
        std::vector<const char*> after; // ids of the points for parents added after it
        const char* className;
        int32_t code;
    } cases[] = {
        {{0, 0, 0}, true, {"C-Ki"}, "CKit", 1},
        {{2.99, -3.99, 6.99}, true, {"C-Ki"}, "CKit", 1},
        {{3, 0, 0}, true, {"C-Ki"}, "CKit", 0},
        {{-3, 0, 0}, true, {"C-Ki"}, "CKit", 0},
        {{0, 4, 0}, true, {"C-Ki"}, "CKit", 0},
        {{0, -4, 0}, true, {"C-Ki"}, "CKit", 0},
        {{0, 0, 7}, true, {"C-Ki"}, "CKit", 0},
        {{0, 0, -7}, true, {"C-Ki"}, "CKit", 0},
        {{0, 0, 0}, false, {"C-Ki"}, "CKit", 0},
        {{0, 0, 0}, true, {"C-Kid"}, "CKit", 0},
        {{0, 0, 0}, true, {"c-ki"}, "CKit", 0},
        {{0, 0, 0}, false, {"C-Ki", "Own"}, "CKit", 0},
        {{0, 0, 0}, true, {"Spare", "C-Ki"}, "CKit", 1},
        {{0, 0, 0}, true, {"C-Ki"}, "CKitRover", 1},
        {{0, 0, 0}, true, {"C-Ki"}, "Rover", 0},
        {{0, 0, 0}, true, {"C-Ki"}, "CKi", 0},
    };
    ship();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const std::string name = "CKit_W" + std::to_string(i);
        VESSEL* w = walker(name, nullptr, cases[i].className, cases[i].ownPoint);
        for (const char* id : cases[i].after) {
            w->CreateAttachment(true, {35, 70, 62}, {0, 0, 0}, {0, 0, 0}, id, false);
        }
        place(name, "Dock", cases[i].local);
        const int32_t before = ship()->crew.GetCrewCount();
        EXPECT_EQ(scanNow(), cases[i].code);
        EXPECT_EQ(exists(name), cases[i].code == 0);
        EXPECT_EQ(ship()->crew.GetCrewCount(), before + cases[i].code);
        EXPECT_EQ(link().arrivedVessel, nullptr);
        if (exists(name)) {
            ASSERT_TRUE(vapiDeleteVessel(w->GetHandle()));
        }
    }
}

TEST_F(CrewArrivalTest, ScanThatTakesNobodyInLeavesTheLastExaminedWalkersData) {
    walkerAt("CKit_Doc-Ann_Lee", {0, 0, 9}, {31, 65, 58});
    walkerAt("CKit_Eng-Bob_Ray_Long_Name_Longer_Than_Fits", {0, 0, -9}, {44, 72, 81.5});
    for (const bool foreignTransferLast : {false, true}) {
        SCOPED_TRACE(foreignTransferLast);
        if (foreignTransferLast) {
            const VECTOR3 data{20, 60, 70};
            walker("CKitTElsewhere", &data); // ends the scan
        }
        std::memset(link().arrivalName, 'x', sizeof link().arrivalName);
        link().arrivalAge = 0;
        EXPECT_EQ(scanNow(), 0);
        // 39 characters of the second walker's name, underscores as spaces.
        EXPECT_STREQ(link().arrivalName, "CKit Eng-Bob Ray Long Name Longer Than ");
        EXPECT_EQ(link().arrivalAge, 44);
        EXPECT_EQ(link().arrivalPulse, 72);
        EXPECT_EQ(link().arrivalWeight, 81);
    }
}

TEST_F(CrewArrivalTest, WalkerComesAboardWithTheFocusItsLabelSplitAtTheFirstHyphen) {
    const char* const cases[][3] = {
        // vessel name, member as stored (name|tag|age|pulse|weight), last arrived name
        {"CKit_Doc-Two_Words", "Two Words|Doc|35|70|62", "Two Words"},
        {"CKit_Bob_Ray", "Bob Ray||35|70|62", "Bob Ray"},
        {"CKit_Eng-Al-Bo", "Al Bo|Eng|35|70|62", "Al-Bo"},
        {"CKit_-Lone", "Lone||35|70|62", "Lone"},
        {"CKit_Engineer-Bo", "Bo|Engi|35|70|62", "Bo"},
        {"CKit_Abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqrstuvwxy||35|70|62",
         "Abcdefghijklmnopqrstuvwxy"},
        {"CKit_Tag45678901-Abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqrst|Tag4|35|70|62",
         "Abcdefghijklmnopqrst"},
    };
    for (const auto& [vesselName, stored, arrived] : cases) {
        SCOPED_TRACE(vesselName);
        VESSEL* w = walkerAt(vesselName, {1, 1, 1}, {35, 70, 62.9});
        vapiSetFocusObject(w->GetHandle());
        ASSERT_EQ(scanNow(), 1);
        const int32_t count = ship()->crew.GetCrewCount();
        EXPECT_EQ(member(count - 1), stored);
        EXPECT_STREQ(ship()->crew.GetLastArrivedName(), arrived);
        EXPECT_FALSE(exists(vesselName));
        EXPECT_EQ(vapiGetFocusObject(), ship()->GetHandle());
        EXPECT_EQ(ship()->GetEmptyMass(), kMass + 62 * count);
        EXPECT_EQ(point(*ship())[8], 50 - count);
    }
}

TEST_F(CrewArrivalTest, ForeignTransferVesselEndsEveryScanThatReachesIt) {
    const VECTOR3 data{20, 60, 70};
    walker("CKitTElsewhere", &data);
    walkerAt("CKit_Ann", {0, 0, 0});
    root.write(kTransferFile, "the file of another receiver");
    EXPECT_EQ(scanNow(), 0);
    EXPECT_EQ(scanNow(), 0);
    EXPECT_TRUE(exists("CKit_Ann"));
    EXPECT_EQ(root.read(kTransferFile), "the file of another receiver");
    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKitTElsewhere")));
    EXPECT_EQ(scanNow(), 1);
    // One that comes after a walker in the vessel list stops only the scans after it.
    walkerAt("CKit_Bob", {0, 0, 0});
    walker("CKitTLater", &data);
    walkerAt("CKit_Cy", {0, 0, 0});
    EXPECT_EQ(scanNow(), 1);
    EXPECT_EQ(scanNow(), 0);
    EXPECT_TRUE(exists("CKit_Cy"));
}

CrewExchangeRecord Sent(const char* vesselName, int32_t age, int32_t pulse, int32_t weight) {
    CrewExchangeRecord record{};
    std::snprintf(record.vesselName, sizeof record.vesselName, "%s", vesselName);
    record.age = age;
    record.pulse = pulse;
    record.supply = 100;
    record.weight = weight;
    return record;
}

std::string Bytes(const CrewExchangeRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST_F(CrewArrivalTest, OwnTransferVesselIsTakenInWhereverItIsAndItsFileDeletedWhatever) {
    const CrewExchangeRecord kept = Sent("CKit_Cap-Old Hand", 60, 61, 62);
    const std::string valid = Bytes(Sent("CKit_Eng-New Hand", 30, 40, 50));
    const std::string xs(25, 'x'), spaces(25, ' ');
    const struct {
        const char* bytes; // null: no file
        std::string content;
        std::string stored;
    } cases[] = {
        {nullptr, "", "Old Hand|Cap|60|61|62"},
        {"empty", "", "Old Hand|Cap|60|61|62"},
        {"short", valid.substr(0, 103), "Old Hand|Cap|60|61|62"},
        {"valid", valid, "New Hand|Eng|30|40|50"},
        {"longer", valid + std::string(96, '\xff'), "New Hand|Eng|30|40|50"},
        {"unterminated", std::string(104, 'x'), xs + "||140|180|300"},
        {"hyphens", std::string(104, '-'), spaces + "||140|180|300"},
        {"shorter than the prefix", Bytes(Sent("Bob", 30, 40, 50)), "||30|40|50"},
        {"negative", Bytes(Sent("CKit_Neg", -5, -1, -70)), "Neg||1|0|5"},
    };
    const VECTOR3 data{1, 2, 3};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes == nullptr ? "no file" : c.bytes);
        crewExchangeBuffer = kept;
        if (c.bytes != nullptr) {
            root.write(kTransferFile, c.content);
        } else {
            root.remove(kTransferFile);
        }
        walker("CKitTDock", &data); // 1 km away, outside the airlock
        ASSERT_EQ(scanNow(), 2);
        EXPECT_EQ(record(kTransferFile), "0 bytes");
        EXPECT_FALSE(exists("CKitTDock"));
        EXPECT_EQ(member(ship()->crew.GetCrewCount() - 1), c.stored);
    }
}

} // namespace
} // namespace crewtest
