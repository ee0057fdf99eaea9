// People leaving and coming aboard: departures, the vessels that carry people on foot or into a
// docked ship, the exchange files, and the scan that takes walkers and transfer vessels back in.
#include <algorithm>
#include <cmath>

#include "crew/CrewLink.h"
#include "crew/CrewText.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

class CrewTravelTest : public CrewTest {
protected:
    // The receiving ship: ready, 50 seats, its airlock open over -3..3, -4..4, -7..7.
    Carrier* ship() {
        if (ship_ == nullptr) {
            ship_ = add("Dock");
            EXPECT_EQ(ship_->crew.SetMaxSeats(50), 1);
        }
        return ship_;
    }
    int32_t scanNow(bool intake = true) { // whatever the timer says; or only the scan
        ship()->crew.Link().pollTimer = 1.0;
        return intake ? ship()->crew.ProcessArrivals() : ship()->crew.Link().ScanForArrivals();
    }
    std::string lastMember() { // "-" when nobody is aboard
        const int32_t count = ship()->crew.crewCount;
        return count > 0 ? Member(ship()->crew.roster[count - 1]) : "-";
    }
    Carrier* ship_ = nullptr;
};

// How far apart two places are; where a point of a vessel's frame is, the body at the origin.
double Gap(const VECTOR3& a, const VECTOR3& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}
VECTOR3 At(const VESSEL* vessel, const VECTOR3& local) {
    VECTOR3 rel{1e30, 0, 0};
    if (vessel != nullptr) {
        vessel->Local2Rel(local, rel);
    }
    return rel;
}

enum Scene { kNotSetUp, kInitialised, kAlone, kClosed, kFull, kNoPoint, kShut, kRefused, kRoom };

TEST_F(CrewTravelTest, EachDepartureCheckGivesItsCodeInOrderAndOnlySuccessChangesTheRoster) {
    const std::string forty(40, 'a'), thirtyNine(39, 'a');
    const char *k40 = forty.c_str(), *k39 = thirtyNine.c_str();
    const struct {
        Scene scene;
        int crewed; // Ann (Eng, 65 kg) and Bob Ray aboard the sender
        const char* name;
        int32_t code;
    } cases[] = {
        {kNotSetUp, 0, "Ann", -6},   {kInitialised, 0, "Ann", -6}, {kAlone, 1, nullptr, -4},
        {kAlone, 0, k40, -4},        {kAlone, 0, k39, 0},          {kClosed, 0, "Ann", 0},
        {kClosed, 1, "Nobody", -1},  {kAlone, 1, "Nobody", -4},    {kFull, 1, "Nobody", -3},
        {kNoPoint, 1, "Nobody", -5}, {kShut, 1, "Nobody", -4},     {kShut, 1, "Ann", -2},
        {kRefused, 1, "Ann", -6},    {kAlone, 1, "aNN", 1},        {kRoom, 1, "ANN", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << ", " << (c.name ? c.name : "-"));
        world_.reset();
        const int setups[] = {kBlank, kInit, kReady, kReady};
        Carrier* sender = add("Sender", c.scene < kFull ? setups[c.scene] : kDock | kReady);
        if (c.scene >= kFull) {
            Carrier* receiver = add("Receiver", c.scene == kNoPoint ? kDock : kDock | kReady);
            dock(sender, receiver);
            ASSERT_EQ(c.scene == kFull ? receiver->crew.Link().LinkSetFreeSeats(0) : 1, 1);
            ASSERT_EQ(c.scene == kShut ? receiver->crew.SetAirlockState(0) : 1, 1);
        }
        walkersRefused = c.scene == kRefused;
        CrewManager& crew = sender->crew;
        ASSERT_EQ(c.scene == kClosed ? crew.SetAirlockState(0) : 1, 1);
        if (c.crewed != 0) {
            ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, "Eng"), 1);
            ASSERT_EQ(crew.AddCrewMember("Bob Ray", 40, 80, 90, nullptr), 1);
        }
        std::strcpy(crew.lastLeftName, "Old");
        const std::string before = snapshot(*sender);
        const std::size_t vessels = world().vessels().size();
        EXPECT_EQ(crew.EvaCrewMember(c.name), c.code);
        if (c.code < 1) {
            // Emptied by every call that gets past the empty roster check.
            EXPECT_STREQ(crew.lastLeftName, c.crewed != 0 && c.name != nullptr ? "" : "Old");
            std::strcpy(crew.lastLeftName, "Old");
            EXPECT_EQ(snapshot(*sender), before);
            EXPECT_EQ(world().vessels().size(), vessels);
            continue;
        }
        EXPECT_EQ(R(crew.GetLastLeftName()) + R(crew.GetCrewNameBySlot(0)) +
                      R(crew.GetCrewCount()) + R(static_cast<int32_t>(point(*sender)[8])) +
                      R(exists(c.code == 1 ? "CKit_Eng-Ann" : "CKitTReceiver")) +
                      R(static_cast<int32_t>(world().vessels().size() - vessels)) +
                      R(static_cast<int32_t>(sender->GetEmptyMass())),
                  "'Ann' 'Bob Ray' 1 7 1 1 1090 ");
    }
}

TEST_F(CrewTravelTest, WalkerIsNamedForTheLabelOrTheFirstFreeNumberAndTheEvaFileHoldsTheMember) {
    root.write("config/CKITIdConfig/ckitMED-surgeon-Capt.cfg", "");
    const std::string longMesh(200, 'm');
    const struct {
        const char *evaMesh, *tag, *name;
        int32_t age, pulse, supply;
        double weight;
        std::string record; // of the EVA file; the vessel's name has underscores for spaces
    } cases[] = {
        {"CKit\\CKIt", "Eng", "Ann", 130, 150, 100, 72.9,
         "CKit_Eng-Ann|ckit/ckitTECH|41|60|100|72"},
        {"CKit\\CKIt", "", "Bob Ray", 120, 140, 4000, 300,
         "CKit_Bob Ray|ckit/ckit|120|140|4000|300"},
        {"CKit\\CKIt", "dOC", "Two  Words X", 0, 0, 0, 5.99,
         "CKit_dOC-Two  Words X|ckit/ckitMED|0|0|0|5"},
        {"ckit\\ckit", "Capt", "Abcdefghijklmnopqrstuvwxy", -1, 141, 4001, 64.5,
         "CKit_Capt-Abcdefghijklmnopqrstuvwxy|ckit/ckitMED|41|60|100|64"},
        {longMesh.c_str(), "Doc", "Al", 30, 70, 100, 65,
         "CKit_Doc-Al|" + longMesh.substr(0, 38) + "|30|70|100|65"},
    };
    CrewManager& crew = add("Home")->crew;
    crew.Link().evaFileValue = 7;
    for (const auto& c : cases) {
        ASSERT_EQ(crew.SetEvaMesh(c.evaMesh), 1);
        ASSERT_EQ(crew.AddCrewMember(c.name, 30, 70, 65, c.tag[0] != '\0' ? c.tag : nullptr), 1);
        CrewRecord& member = crew.roster[0]; // values only other paths could store
        member.age = c.age;
        member.pulse = c.pulse;
        crew.crewMass += c.weight - member.weight;
        member.weight = c.weight;
        crew.evaSupply = c.supply;
        crewExchangeBuffer.reserved = 99;
        ASSERT_EQ(crew.EvaCrewMember(c.name), 1);
        EXPECT_EQ(record(kEvaFile), c.record + "|0|7");
        std::string name = c.record.substr(0, c.record.find('|'));
        std::replace(name.begin(), name.end(), ' ', '_');
        EXPECT_STREQ(vessel(name) != nullptr ? vessel(name)->GetClassNameA() : "none", "CKit");
        vapiDeleteVessel(vapiGetObjectByName(name.c_str()));
    }
    EXPECT_EQ(std::string(currentEvaMesh), longMesh.substr(0, 150));
    create("CKit_Ann"); // and then every numbered name but 1 and 3 up to 398
    for (int n = 2; n <= 398; n += n == 2 ? 2 : 1) {
        create("CKit_Ann" + std::to_string(n));
    }
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1) << "the member leaves all the same";
    }
    EXPECT_TRUE(exists("CKit_Ann1") && exists("CKit_Ann3") && exists("CKit_Ann399"));
    EXPECT_EQ(world().vessels().size(), 401u) << "the fourth is asked for under 399 again";
}

TEST_F(CrewTravelTest, WalkerAppearsAtTheExitPushedBySpinAboutXAndYAndTurnedXThenYThenZ) {
    // r0 turned by the angles about x, then y, then z: each column through Rz, Ry, Rx, then r0.
    const auto turned = [](const MATRIX3& r0, const VECTOR3& a) {
        const auto apply = [](const MATRIX3& m, const VECTOR3& v) {
            return VECTOR3{m.m11 * v.x + m.m12 * v.y + m.m13 * v.z,
                           m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
                           m.m31 * v.x + m.m32 * v.y + m.m33 * v.z};
        };
        const double ca = std::cos(a.x), sa = std::sin(a.x), cb = std::cos(a.y), sb = std::sin(a.y);
        const double cc = std::cos(a.z), sc = std::sin(a.z);
        const auto column = [&](const VECTOR3& e) {
            const VECTOR3 z = apply({cc, sc, 0, -sc, cc, 0, 0, 0, 1}, e);
            const VECTOR3 y = apply({cb, 0, sb, 0, 1, 0, -sb, 0, cb}, z);
            return apply(r0, apply({1, 0, 0, 0, ca, sa, 0, -sa, ca}, y));
        };
        const VECTOR3 c1 = column({1, 0, 0}), c2 = column({0, 1, 0}), c3 = column({0, 0, 1});
        return MATRIX3{c1.x, c2.x, c3.x, c1.y, c2.y, c3.y, c1.z, c2.z, c3.z};
    };
    Carrier* home = add("Home");
    const MATRIX3 r0 = turned({1, 0, 0, 0, 1, 0, 0, 0, 1}, {0.4, -0.7, 1.2}); // no axis in line
    VESSELSTATUS pose{};
    pose.rpos = {7e6, 100, -50};
    pose.rvel = {10, 7500, -3};
    pose.rrot = r0;
    pose.vrot = {-0.1, 0.2, 0.7}; // a push of 5 m/s for each radian a second about x and y
    home->DefSetState(&pose);
    ASSERT_EQ(home->crew.SetMembersPosRotOffset({1, -2, 5}, {0.3, -0.5, 1.1}), 1);
    ASSERT_EQ(home->crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
    ASSERT_EQ(home->crew.EvaCrewMember("Ann"), 1);
    VESSEL* walker = vessel("CKit_Ann");
    ASSERT_NE(walker, nullptr);
    VESSELSTATUS state{};
    walker->GetStatus(state);
    MATRIX3 rot{}, want = turned(r0, {0.3, -0.5, 1.1});
    walker->GetRotationMatrix(rot);
    EXPECT_LT(Gap(state.rpos, At(home, {1, -2, 5})), 1e-6) << "at the exit";
    EXPECT_LT(Gap(state.rvel, {10 + r0.m13 * 1.5, 7500 + r0.m23 * 1.5, -3 + r0.m33 * 1.5}), 1e-9);
    EXPECT_EQ(Gap(state.vrot, pose.vrot), 0.0) << "turning with the vessel";
    EXPECT_LT(Gap({rot.m11, rot.m12, rot.m13}, {want.m11, want.m12, want.m13}) +
                  Gap({rot.m21, rot.m22, rot.m23}, {want.m21, want.m22, want.m23}) +
                  Gap({rot.m31, rot.m32, rot.m33}, {want.m31, want.m32, want.m33}),
              1e-9);
    EXPECT_EQ(state.status, VESSELSTATUS_FLIGHT);
}

TEST_F(CrewTravelTest, TransferReadsTheFirstExactCrewPointsSeatsAndStandsInTheFirstOpenOne) {
    struct HandPoint { // a crew point made by hand on a ship without a crew manager
        const char* id;
        double open, seats;
        VECTOR3 low, high; // xmin xmax ymin, ymax zmin zmax
    };
    const HandPoint closed{"CKit", 0, 3, {10, 12, 10}, {12, 10, 12}},
        open{"CKit", 1, 3, {10, 12, 10}, {12, 10, 12}},
        openB{"CKit", -1e-300, 2.9, {1, 3, -2}, {0, 4, 10}},
        full{"CKit", 0, 0.9, {10, 12, 10}, {12, 10, 12}}, // closed: seats are read all the same
        longId{"CKitX", 1, 0, {10, 12, 10}, {12, 10, 12}},
        lowerCase{"ckit", 1, 0, {10, 12, 10}, {12, 10, 12}},
        negative{"CKit", 0, -2.9, {10, 12, 10}, {12, 10, 12}};
    const struct {
        std::vector<HandPoint> points;
        int32_t code;
        VECTOR3 centre; // of the box the transfer vessel stands in, ship frame
    } cases[] = {
        {{closed, openB}, 2, {2, -1, 7}}, {{open, openB}, 2, {11, 11, 11}},
        {{closed, closed}, -2, {}},       {{longId, lowerCase, openB}, 2, {2, -1, 7}},
        {{longId, lowerCase}, -5, {}},    {{}, -5, {}},
        {{full, openB}, -3, {}},          {{negative, openB}, -5, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "Ship" + std::to_string(i);
        Carrier* sender = add("Sender" + std::to_string(i), kDock | kReady);
        Carrier* ship = add(name, kDock);
        for (const auto& p : cases[i].points) {
            ship->CreateAttachment(false, p.low, p.high, {p.open, 0.0, p.seats}, p.id, false);
        }
        dock(sender, ship);
        ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
        root.remove(kTransferFile);
        EXPECT_EQ(sender->crew.EvaCrewMember("Ann"), cases[i].code) << i;
        EXPECT_EQ(R(exists("CKitT" + name)) + record(kTransferFile),
                  cases[i].code == 2 ? "1 CKit_Ann||33|72|100|80|0|0" : "0 0 bytes");
        VESSEL* transfer = vessel("CKitT" + name);
        if (cases[i].code == 2 && transfer != nullptr) { // the data point follows the class's own
            EXPECT_LT(Gap(At(transfer, {0, 0, 0}), At(ship, cases[i].centre)), 1e-6) << i;
            ATTACHMENTHANDLE data = transfer->GetAttachmentHandle(true, 1);
            VECTOR3 p{}, d{1, 1, 1}, r{1, 1, 1};
            transfer->GetAttachmentParams(data, p, d, r);
            EXPECT_EQ(R(static_cast<int32_t>(transfer->AttachmentCount(true))) +
                          R(transfer->GetAttachmentId(data)),
                      "2 'C-Ki' ");
            EXPECT_EQ((Numbers{p.x, p.y, p.z, d.x, d.y, d.z, r.x, r.y, r.z}),
                      (Numbers{33, 72, 80, 0, 0, 0, 0, 0, 0}));
        }
    }
    // A receiver's name too long for a vessel name is cut: the transfer vessel's is 38 long.
    Carrier* sender = add("SenderL", kDock | kReady);
    Carrier* ship = add(std::string(40, 'L'), kDock);
    ship->CreateAttachment(false, openB.low, openB.high, {1, 0, 3}, "CKit", false);
    dock(sender, ship);
    ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
    EXPECT_EQ(sender->crew.EvaCrewMember("Ann"), 2);
    EXPECT_EQ(R(exists("CKitT" + std::string(33, 'L'))) + R(exists("CKitT" + std::string(34, 'L'))),
              "1 0 ");
}

TEST(PointIdTest, IdMatchesOnlyWholeAndAShorterIdIsNotReadPastItsEnd) {
    const struct {
        const char *id, *pointId;
        bool same;
    } cases[] = {{"CKit", "CKit", true}, {"C-Ki", "C-Ki", true}, {"CK", "CKit", false},
                 {"C-", "C-Ki", false},  {"", "CKit", false},    {"CKitX", "CKit", false},
                 {"c-ki", "C-Ki", false}};
    for (const auto& c : cases) { // in a block of its own size, where reading on is caught
        const std::vector<char> id(c.id, c.id + std::strlen(c.id) + 1);
        EXPECT_EQ(IsPointId(id.data(), c.pointId), c.same) << c.id;
    }
    EXPECT_FALSE(IsPointId(nullptr, "CKit"));
}

TEST_F(CrewTravelTest, WalkerInTheAirlockComesAboardWithTheFocusItsLabelSplitAtTheFirstHyphen) {
    const auto place = [this](const std::string& name, const VECTOR3& local) {
        world().place(world().findVessel(name), world().findVessel(ship()->GetName()), local);
    };
    const std::string longName = "CKit_Walker_Whose_Name_Is_Longer_Than_Fits";
    const std::string taken = "Walker Whose Name Is Long||35|70|62 Walker Whose Name Is Long";
    const std::string tagged = "Abcdefghijklmnopqrst|Tag4|35|70|62 Abcdefghijklmnopqrst";
    const struct {
        std::string name; // the long one when empty
        VECTOR3 local;
        int ownPoint;                   // the class's own point for parents comes first
        std::vector<const char*> after; // ids of the points for parents added after it
        const char* className;
        std::string member; // as taken in, then the last arrived name; empty: left out
    } cases[] = {
        {"", {0, 0, 0}, 1, {"C-Ki"}, "CKit", taken},
        {"", {3, 0, 0}, 1, {"C-Ki"}, "CKit", ""},
        {"", {-3, 0, 0}, 1, {"C-Ki"}, "CKit", ""},
        {"", {0, 0, 7}, 1, {"C-Ki"}, "CKit", ""},
        {"", {0, 0, 0}, 0, {"C-Ki"}, "CKit", ""},
        {"", {0, 0, 0}, 1, {"C-Kid"}, "CKit", ""},
        {"", {0, 0, 0}, 1, {"C-Ki", "Spare"}, "CKit", ""},
        {"", {0, 0, 0}, 1, {"C-Ki"}, "CKi", ""},
        {"", {2.99, -3.99, 6.99}, 1, {"Spare", "C-Ki"}, "CKitRover", taken},
        {"CKit_Doc-Two_Words", {1, 1, 1}, 1, {"C-Ki"}, "CKit", "Two Words|Doc|35|70|62 Two Words"},
        {"CKit_Eng-Al-Bo", {1, 1, 1}, 1, {"C-Ki"}, "CKit", "Al Bo|Eng|35|70|62 Al-Bo"},
        {"CKit_-Lone", {1, 1, 1}, 1, {"C-Ki"}, "CKit", "Lone||35|70|62 Lone"},
        {"CKit_Tag45678901-Abcdefghijklmnopqrstuvwxyz", {1, 1, 1}, 1, {"C-Ki"}, "CKit", tagged},
    };
    for (const auto& c : cases) {
        const std::string name = c.name.empty() ? longName : c.name;
        SCOPED_TRACE(name + " " + std::to_string(&c - cases));
        nextOwnPoint = c.ownPoint != 0;
        VESSEL* w = create(name, c.className);
        for (const char* id : c.after) {
            w->CreateAttachment(true, {35, 70.5, 62.9}, {0, 0, 0}, {0, 0, 0}, id, false);
        }
        place(name, c.local);
        OBJHANDLE handle = w->GetHandle();
        vapiSetFocusObject(handle);
        const int32_t count = ship()->crew.GetCrewCount() + (c.member.empty() ? 0 : 1);
        EXPECT_EQ(scanNow(!c.member.empty()), c.member.empty() ? 0 : 1);
        EXPECT_EQ(R(exists(name)) + R(vapiGetFocusObject() == handle),
                  c.member.empty() ? "1 1 " : "0 0 ");
        if (c.member.empty()) {
            ASSERT_TRUE(vapiDeleteVessel(handle));
            continue;
        }
        EXPECT_EQ(lastMember() + " " + ship()->crew.GetLastArrivedName(), c.member);
        EXPECT_EQ(ship()->GetEmptyMass(), kMass + 62 * count);
        EXPECT_EQ(point(*ship())[8], 50 - count);
    }
    // A scan that takes nobody in leaves the data of the last walker it examined, with 39
    // characters of its name; a transfer vessel for another receiver ends every scan.
    const VECTOR3 data{44, 72, 81.5};
    place(create(longName, "CKit", &data)->GetName(), {0, 0, 9});
    create("CKitTElsewhere", "CKit", &data);
    place(create("CKit_Bob", "CKit", &data)->GetName(), {0, 0, 0});
    root.write(kTransferFile, "the file of another receiver");
    EXPECT_EQ(scanNow() + scanNow(), 0);
    const CrewLinkRecord& link = ship()->crew.Link();
    EXPECT_EQ(std::string(link.arrivalName) + " " + R(link.arrivalAge) + R(link.arrivalPulse) +
                  R(link.arrivalWeight) + root.read(kTransferFile),
              "CKit Walker Whose Name Is Longer Than F 44 72 81 the file of another receiver");
    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKitTElsewhere")));
    ship()->crew.Link().pollTimer = 0.125;
    world().step(0.125);
    EXPECT_EQ(R(exists("CKit_Bob")) + R(ship()->arrivals.back()), "1 0 ") << "only past 0.25 s";
    world().step(0.125);
    EXPECT_EQ(R(exists("CKit_Bob")) + R(ship()->arrivals.back()), "0 1 ");
}

TEST_F(CrewTravelTest, OwnTransferVesselIsTakenInWhereverItIsAndItsFileDeletedWhatever) {
    const auto bytes = [](const CrewExchangeRecord& record) { // as a sender writes it
        return std::string(reinterpret_cast<const char*>(&record), sizeof record);
    };
    const std::string kept = bytes({"CKit_Cap-Old Hand", "", 60, 61, 100, 62, 0, 0});
    const std::string valid = bytes({"CKit_Eng-New Hand", "", 30, 40, 100, 50, 0, 0});
    const std::array<std::string, 2> cases[] = {
        // the file (none at all for "none"), the member taken in
        {"none", "Old Hand|Cap|60|61|62"},
        {valid.substr(0, 103), "Old Hand|Cap|60|61|62"},
        {valid, "New Hand|Eng|30|40|50"},
        {std::string(104, 'x'), std::string(25, 'x') + "||140|180|300"},
        // a name that ends inside the prefix names nobody, whatever bytes follow it
        {bytes({"CKit\0Ghost", "", 30, 40, 100, 50, 0, 0}), "||30|40|50"},
    };
    const VECTOR3 data{1, 2, 3};
    vapiSetFocusObject(add("Other")->GetHandle());
    for (const auto& [file, stored] : cases) {
        std::memcpy(&crewExchangeBuffer, kept.data(), kept.size());
        root.remove(kTransferFile);
        if (file != "none") {
            root.write(kTransferFile, file);
        }
        create("CKitTDock", "CKit", &data); // 1 km away, outside the airlock
        ASSERT_EQ(scanNow(), 2) << stored;
        EXPECT_EQ(record(kTransferFile), "0 bytes");
        EXPECT_FALSE(exists("CKitTDock"));
        EXPECT_EQ(lastMember(), stored);
    }
    EXPECT_EQ(vapiGetFocusObject(), vapiGetObjectByName("Other")) << "a transfer leaves it alone";
}

} // namespace
} // namespace crewtest
