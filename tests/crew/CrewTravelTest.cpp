// People leaving and coming aboard: the result codes of a departure in the order of their
// checks, the vessel that carries a member on foot or into the docked ship, the exchange files,
// and the arrival scan that takes walkers in the airlock and transfer vessels back in.
#include <cmath>
#include <cstdio>

#include "crew/CrewLink.h"
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
    CrewLinkRecord& link() { return ship()->crew.Link(); }
    int32_t scanNow() { // whatever the timer says
        link().pollTimer = 1.0;
        return ship()->crew.ProcessArrivals();
    }
    VESSEL* walkerAt(const std::string& name, const VECTOR3& local, VECTOR3 data = {35, 70, 62}) {
        VESSEL* created = walker(name, &data);
        place(name, ship()->GetName(), local);
        return created;
    }
    std::string lastMember() {
        return Member(ship()->crew.roster[ship()->crew.GetCrewCount() - 1]);
    }
    Carrier* ship_ = nullptr;
};

// How far apart two places are; where a vessel stands (far away when it does not exist), and
// where a point of another's frame is (the body is at the origin).
double Gap(const VECTOR3& a, const VECTOR3& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}
VECTOR3 Pos(const VESSEL* vessel) {
    VECTOR3 pos{1e30, 0, 0};
    if (vessel != nullptr) {
        vessel->GetGlobalPos(pos);
    }
    return pos;
}
VECTOR3 At(const VESSEL& vessel, const VECTOR3& local) {
    VECTOR3 rel{};
    vessel.Local2Rel(local, rel);
    return rel;
}

constexpr MATRIX3 kTurned{0, 0, 1, 1, 0, 0, 0, 1, 0}; // own z along global x, x along y

enum Scene { kNotSetUp, kInitialised, kAlone, kClosed, kFull, kNoPoint, kShut, kRefused, kRoom };

TEST_F(CrewTravelTest, EachDepartureCheckGivesItsCodeInOrderAndOnlySuccessChangesTheRoster) {
    const std::string forty(40, 'a'), thirtyNine(39, 'a');
    const char *k40 = forty.c_str(), *k39 = thirtyNine.c_str();
    const struct {
        Scene scene;
        int crewed; // Ann (Eng, 65 kg) and Bob Ray aboard the sender
        const char* name;
        int32_t code;
        int forgets; // whether the name that left last is emptied
    } cases[] = {
        {kNotSetUp, 0, "Ann", -6, 0},   {kInitialised, 0, "Ann", -6, 0},
        {kNotSetUp, 0, nullptr, -6, 0}, {kAlone, 1, nullptr, -4, 0},
        {kAlone, 0, k40, -4, 0},        {kAlone, 0, k39, 0, 0},
        {kClosed, 0, "Ann", 0, 0},      {kClosed, 1, "Nobody", -1, 1},
        {kClosed, 1, "Ann", -1, 1},     {kAlone, 1, "Nobody", -4, 1},
        {kFull, 1, "Nobody", -3, 1},    {kFull, 1, "Ann", -3, 1},
        {kNoPoint, 1, "Nobody", -5, 1}, {kNoPoint, 1, "Ann", -5, 1},
        {kShut, 1, "Nobody", -4, 1},    {kShut, 1, "Ann", -2, 1},
        {kRefused, 1, "Ann", -6, 1},    {kAlone, 1, "aNN", 1, 1},
        {kRoom, 1, "ANN", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << ", " << (c.name ? c.name : "-"));
        endWorld();
        const int setups[] = {kBlank, kInit, kReady, kReady};
        Carrier* sender = add("Sender", c.scene < kFull ? setups[c.scene] : kDock | kReady);
        if (c.scene >= kFull) {
            Carrier* receiver = add("Receiver", c.scene == kNoPoint ? kDock : kDock | kReady);
            dock(sender, receiver);
            if (c.scene == kFull) {
                ASSERT_EQ(receiver->crew.SetMaxSeats(1), 1);
                ASSERT_EQ(receiver->crew.AddCrewMember("Rita", 50, 60, 70, nullptr), 1);
            }
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
            EXPECT_STREQ(crew.lastLeftName, c.forgets != 0 ? "" : "Old");
            std::strcpy(crew.lastLeftName, "Old");
            EXPECT_EQ(snapshot(*sender), before);
            EXPECT_EQ(world().vessels().size(), vessels);
            continue;
        }
        EXPECT_EQ(R(crew.GetLastLeftName()) + R(crew.GetCrewNameBySlot(0)) +
                      R(crew.GetCrewCount()) + R(static_cast<int32_t>(point(*sender)[8])),
                  "'Ann' 'Bob Ray' 1 7 ");
        EXPECT_EQ(sender->GetEmptyMass(), kMass + 90);
        EXPECT_TRUE(exists(c.code == 1 ? "CKit_Eng-Ann" : "CKitTReceiver"));
        EXPECT_EQ(world().vessels().size(), vessels + 1);
    }
}

TEST_F(CrewTravelTest, WalkerIsNamedForTheLabelAndTheEvaFileHoldsTheMember) {
    const struct {
        const char *tag, *name;
        int32_t age, pulse, supply;
        double weight;
        const char *vessel, *record;
    } cases[] = {
        {"Eng", "Ann", 130, 150, 100, 72.9, "CKit_Eng-Ann",
         "CKit_Eng-Ann|ckit/ckitTECH|41|60|100|72"},
        {"", "Bob Ray", 120, 140, 4000, 300, "CKit_Bob_Ray",
         "CKit_Bob Ray|ckit/ckit|120|140|4000|300"},
        {"Doc", "Two  Words X", 0, 0, 0, 5.99, "CKit_Doc-Two__Words_X",
         "CKit_Doc-Two  Words X|ckit/ckitMED|0|0|0|5"},
        {"Capt", "Abcdefghijklmnopqrstuvwxy", -1, 141, 4001, 64.5,
         "CKit_Capt-Abcdefghijklmnopqrstuvwxy",
         "CKit_Capt-Abcdefghijklmnopqrstuvwxy|ckit/ckitp|41|60|100|64"},
        {"Sci", "Eve", 121, -1, -1, 80, "CKit_Sci-Eve", "CKit_Sci-Eve|ckit/ckitSCI|41|60|100|80"},
    };
    CrewManager& crew = add("Home")->crew;
    crew.Link().evaFileValue = 7;
    for (const auto& c : cases) {
        ASSERT_EQ(crew.AddCrewMember(c.name, 30, 70, 65, c.tag), 1);
        CrewRecord& member = crew.roster[0]; // values only other paths could store
        member.age = c.age;
        member.pulse = c.pulse;
        crew.crewMass += c.weight - member.weight;
        member.weight = c.weight;
        crew.evaSupply = c.supply;
        crewExchangeBuffer.reserved = 99;
        ASSERT_EQ(crew.EvaCrewMember(c.name), 1);
        ASSERT_NE(vessel(c.vessel), nullptr) << c.vessel;
        EXPECT_STREQ(vessel(c.vessel)->GetClassNameA(), "CKit");
        EXPECT_EQ(record(kEvaFile), std::string(c.record) + "|0|7");
    }
}

TEST_F(CrewTravelTest, TakenWalkerNameGetsTheFirstFreeNumberUpTo399) {
    CrewManager& crew = add("Home")->crew;
    const auto leave = [&crew] {
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
    };
    walker("CKit_Ann");
    walker("CKit_Ann2");
    leave();
    leave();
    EXPECT_TRUE(exists("CKit_Ann1") && exists("CKit_Ann3"));
    for (int n = 4; n <= 398; ++n) {
        walker("CKit_Ann" + std::to_string(n));
    }
    leave();
    EXPECT_TRUE(exists("CKit_Ann399")) << "the last number is still tried";
    const std::size_t vessels = world().vessels().size();
    leave();
    EXPECT_EQ(world().vessels().size(), vessels) << "asked for under 399 again, and refused";
    EXPECT_EQ(crew.GetCrewCount(), 0) << "the member has left all the same";
}

TEST_F(CrewTravelTest, MeshIsTheVesselsChoiceElseTheProfessionsElseTheDefault) {
    root.write("config/CKITIdConfig/ckitMULE-muleteer-Mul.cfg", "");
    const std::string longMesh(150, 'm');
    const char* const cases[][3] = {
        // evaMesh set before the departure, the member's tag, the mesh chosen
        {"CKit\\CKIt", "Doc", "ckit/ckitMED"},
        {"CKit\\CKIt", "dOC", "ckit/ckitMED"},
        {"CKit\\CKIt", "Mul", "ckit/ckitMULE"},
        {"CKit\\CKIt", "Zz", "ckit/ckit"},
        {"CKit\\CKIt", "", "ckit/ckit"},
        {"mmu", "Doc", "mmu"},
        {"mmu", "", "mmu"},
        {"ckit\\ckit", "Eng", "ckit/ckitTECH"},
        {"CKIT\\CKIT", "Capt", "ckit/ckitp"},
        {longMesh.c_str(), "Doc", longMesh.c_str()},
    };
    CrewManager& crew = add("Home")->crew;
    for (const auto& [evaMesh, tag, mesh] : cases) {
        ASSERT_EQ(crew.SetEvaMesh(evaMesh), 1);
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, tag[0] != '\0' ? tag : nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
        EXPECT_STREQ(currentEvaMesh, mesh) << evaMesh << " " << tag;
        const std::string name = std::string("CKit_") + tag + (tag[0] != '\0' ? "-Ann" : "Ann");
        const std::string shown = std::string(mesh).substr(0, 38); // the record's room
        EXPECT_EQ(record(kEvaFile), name + "|" + shown + "|30|70|100|65|0|0");
        ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName(name.c_str())));
    }
}

// r0 turned by the angles about x, then y, then z: each column through Rz, Ry, Rx, then r0.
MATRIX3 Turned(const MATRIX3& r0, const VECTOR3& a) {
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
    return {c1.x, c2.x, c3.x, c1.y, c2.y, c3.y, c1.z, c2.z, c3.z};
}

TEST_F(CrewTravelTest, WalkerAppearsAtTheExitPushedBySpinAboutXAndYAndTurnedXThenYThenZ) {
    const struct {
        VECTOR3 spin, exit, angles;
        double push;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 3}, {0, 0, 0}, 0.0},
        {{0, 0, 0.1}, {0, 0, 3}, {1.5707963267948966, 0, 0}, 0.0},
        {{0.1, 0, 0}, {0, 0, 3}, {0, 1.5707963267948966, 0}, 0.5},
        {{-0.1, 0.2, 0.7}, {0, 0, 3}, {0, 0, 1.5707963267948966}, 1.5},
        {{0, -0.3, 0}, {1, -2, 5}, {0.3, -0.5, 1.1}, 1.5},
        {{0, 0, 0}, {0, 0, 3}, {-2.0, 0.7, 0.2}, 0.0},
    };
    Carrier* home = add("Home");
    const MATRIX3 r0 = Turned({1, 0, 0, 0, 1, 0, 0, 0, 1}, {0.4, -0.7, 1.2}); // no axis in line
    for (const auto& c : cases) {
        VESSELSTATUS pose{};
        pose.rpos = {7e6, 100, -50};
        pose.rvel = {10, 7500, -3};
        pose.rrot = r0;
        pose.vrot = c.spin;
        home->DefSetState(&pose);
        ASSERT_EQ(home->crew.SetMembersPosRotOffset(c.exit, c.angles), 1);
        ASSERT_EQ(home->crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
        ASSERT_EQ(home->crew.EvaCrewMember("Ann"), 1);
        VESSEL* walker = vessel("CKit_Ann");
        ASSERT_NE(walker, nullptr);
        VESSELSTATUS state{};
        walker->GetStatus(state);
        MATRIX3 rot{};
        walker->GetRotationMatrix(rot);
        const MATRIX3 want = Turned(r0, c.angles);
        SCOPED_TRACE(testing::Message() << c.angles.x << " " << c.angles.y << " " << c.angles.z);
        const VECTOR3 pushed{10 + r0.m13 * c.push, 7500 + r0.m23 * c.push, -3 + r0.m33 * c.push};
        EXPECT_LT(Gap(state.rpos, At(*home, c.exit)), 1e-6) << "at the exit";
        EXPECT_LT(Gap(state.rvel, pushed), 1e-9) << "pushed along the own z axis";
        EXPECT_EQ(Gap(state.vrot, c.spin), 0.0) << "turning with the vessel";
        EXPECT_LT(Gap({rot.m11, rot.m12, rot.m13}, {want.m11, want.m12, want.m13}) +
                      Gap({rot.m21, rot.m22, rot.m23}, {want.m21, want.m22, want.m23}) +
                      Gap({rot.m31, rot.m32, rot.m33}, {want.m31, want.m32, want.m33}),
                  1e-9);
        EXPECT_EQ(state.status, VESSELSTATUS_FLIGHT);
        ASSERT_TRUE(vapiDeleteVessel(walker->GetHandle()));
    }
}

TEST_F(CrewTravelTest, TransferredMemberStandsInTheShipsAirlockAndIsTakenInAtItsNextPoll) {
    Carrier* alpha = add("Alpha", kDock | kReady);
    ship_ = add("Bravo", kDock | kReady);
    VESSELSTATUS pose{};
    pose.rpos = {7e6, 40, 20};
    pose.rrot = kTurned;
    ship_->DefSetState(&pose);
    ASSERT_EQ(ship_->crew.DefineAirlockShape(1, 1, 3, -2, 0, 4, 10), 1); // off the centre
    dock(alpha, ship_);
    ASSERT_EQ(alpha->crew.AddCrewMember("Ann", 33, 72, 80, "Eng"), 1);
    vapiSetFocusObject(alpha->GetHandle());
    world().step(1.0); // so that the next poll is at most a quarter second away

    ASSERT_EQ(alpha->crew.EvaCrewMember("Ann"), 2);
    EXPECT_EQ(R(alpha->crew.GetCrewCount()) + R(static_cast<int32_t>(point(*alpha)[8])), "0 8 ");
    EXPECT_EQ(alpha->GetEmptyMass(), kMass);
    VESSEL* transfer = vessel("CKitTBravo");
    EXPECT_LT(Gap(Pos(transfer), At(*ship_, {2, -1, 7})), 1e-6) << "in the middle of the airlock";
    ASSERT_NE(transfer, nullptr);
    EXPECT_STREQ(transfer->GetClassNameA(), "CKit");
    ASSERT_EQ(transfer->AttachmentCount(true), 2u);
    ATTACHMENTHANDLE data = transfer->GetAttachmentHandle(true, 1);
    EXPECT_STREQ(transfer->GetAttachmentId(data), "C-Ki");
    VECTOR3 p{}, d{1, 1, 1}, r{1, 1, 1};
    transfer->GetAttachmentParams(data, p, d, r);
    EXPECT_EQ((Numbers{p.x, p.y, p.z, d.x, d.y, d.z, r.x, r.y, r.z}),
              (Numbers{33, 72, 80, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(record(kTransferFile), "CKit_Eng-Ann||33|72|100|80|0|0");

    int steps = 0;
    for (; ship_->arrivals.back() == 0 && steps < 40; ++steps) {
        world().step(0.05);
    }
    EXPECT_EQ(R(ship_->arrivals.back()) + R(steps), "2 6 ") << "within a quarter second";
    EXPECT_EQ(record(kTransferFile), "0 bytes");
    EXPECT_FALSE(exists("CKitTBravo"));
    EXPECT_EQ(lastMember(), "Ann|Eng|33|72|80");
    EXPECT_EQ(ship_->GetEmptyMass(), kMass + 80.0);
    EXPECT_EQ(R(ship_->crew.GetLastArrivedName()) + R(static_cast<int32_t>(point(*ship_)[8])),
              "'Ann' 7 ");
    EXPECT_EQ(vapiGetFocusObject(), alpha->GetHandle()) << "a transfer leaves the focus alone";
}

// A crew point made by hand on a ship without a crew manager.
struct HandPoint {
    const char* id;
    double open, seats;
    VECTOR3 low, high; // xmin xmax ymin, ymax zmin zmax
};

TEST_F(CrewTravelTest, TransferVesselStandsInTheFirstOpenCrewPointOfTheShip) {
    const HandPoint closed{"CKit", 0, 3, {10, 12, 10}, {12, 10, 12}},
        open{"CKit", 1, 3, {10, 12, 10}, {12, 10, 12}},
        openB{"CKit", -1e-300, 2.9, {1, 3, -2}, {0, 4, 10}},
        full{"CKit", 1, 0.9, {10, 12, 10}, {12, 10, 12}},
        fullClosed{"CKit", 0, 0, {10, 12, 10}, {12, 10, 12}},
        longId{"CKitX", 1, 0, {10, 12, 10}, {12, 10, 12}},
        lowerCase{"ckit", 1, 0, {10, 12, 10}, {12, 10, 12}},
        negative{"CKit", 1, -2.9, {10, 12, 10}, {12, 10, 12}};
    const struct {
        std::vector<HandPoint> points;
        int32_t code;
        VECTOR3 centre; // of the box the transfer vessel stands in, ship frame
    } cases[] = {
        {{closed, openB}, 2, {2, -1, 7}}, {{open, openB}, 2, {11, 11, 11}},
        {{closed, closed}, -2, {}},       {{longId, lowerCase, openB}, 2, {2, -1, 7}},
        {{longId, lowerCase}, -5, {}},    {{}, -5, {}},
        {{full, openB}, -3, {}},          {{fullClosed, openB}, -3, {}},
        {{negative, openB}, -5, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "Ship" + std::to_string(i);
        Carrier* sender = add("Sender" + std::to_string(i), kDock | kReady);
        Carrier* ship = add(name, kDock);
        VESSELSTATUS pose{};
        pose.rpos = {7e6, -30, 5};
        pose.rrot = kTurned;
        ship->DefSetState(&pose);
        ship->CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {1, 0, 0}, "CKit", false); // for parents
        for (const auto& p : cases[i].points) {
            ship->CreateAttachment(false, p.low, p.high, {p.open, 0.0, p.seats}, p.id, false);
        }
        dock(sender, ship);
        ASSERT_EQ(sender->crew.AddCrewMember("Ann", 33, 72, 80, nullptr), 1);
        root.remove(kTransferFile);
        EXPECT_EQ(sender->crew.EvaCrewMember("Ann"), cases[i].code) << i;
        if (cases[i].code == 2) {
            EXPECT_LT(Gap(Pos(vessel("CKitT" + name)), At(*ship, cases[i].centre)), 1e-6) << i;
        } else {
            EXPECT_FALSE(exists("CKitT" + name)) << i;
            EXPECT_EQ(record(kTransferFile), "0 bytes") << "nothing is written for a refusal";
        }
    }
}

TEST_F(CrewTravelTest, ScanRunsPastAQuarterSecondOnlyWhileTheAirlockIsOpenAndPublished) {
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

TEST_F(CrewTravelTest, WalkerIsTakenInOnlyStrictlyInsideWithItsDataPointLast) {
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
        {{0, 0, 0}, true, {"C-Ki"}, "CKitRover", 1},
        {{0, 0, 0}, true, {"Spare", "C-Ki"}, "CKit", 1},
        {{0, 0, 0}, true, {"C-Ki"}, "Rover", 0},
        {{0, 0, 0}, true, {"C-Ki"}, "CKi", 0},
    };
    ship();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "CKit_Long_Walker_Name_" + std::to_string(i) + "_Longer_Than_Fits";
        nextOwnPoint = cases[i].ownPoint;
        VESSEL* w = walker(name, nullptr, cases[i].className);
        nextOwnPoint = true;
        for (const char* id : cases[i].after) {
            w->CreateAttachment(true, {35, 70.5, 62.9 + i}, {0, 0, 0}, {0, 0, 0}, id, false);
        }
        place(name, "Dock", cases[i].local);
        const int32_t before = ship()->crew.GetCrewCount();
        std::memset(link().arrivalName, 'x', sizeof link().arrivalName);
        EXPECT_EQ(scanNow(), cases[i].code) << i;
        EXPECT_EQ(exists(name), cases[i].code == 0) << i;
        EXPECT_EQ(ship()->crew.GetCrewCount(), before + cases[i].code);
        EXPECT_EQ(link().arrivedVessel, nullptr);
        if (i >= 2 && i <= 7) { // examined and left out: its data stay, 39 characters of the name
            EXPECT_EQ(std::string(link().arrivalName) + R(link().arrivalAge) +
                          R(link().arrivalPulse) + R(link().arrivalWeight),
                      "CKit Long Walker Name " + std::to_string(i) + " Longer Than Fit35 70 " +
                          std::to_string(62 + i) + " ");
        }
        if (exists(name)) {
            ASSERT_TRUE(vapiDeleteVessel(w->GetHandle()));
        }
    }
}

TEST_F(CrewTravelTest, WalkerComesAboardWithTheFocusItsLabelSplitAtTheFirstHyphen) {
    const char* const cases[][3] = {
        // vessel name, member as stored, last arrived name
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
        VESSEL* w = walkerAt(vesselName, {1, 1, 1}, {35, 70, 62.9});
        vapiSetFocusObject(w->GetHandle());
        ASSERT_EQ(scanNow(), 1) << vesselName;
        const int32_t count = ship()->crew.GetCrewCount();
        EXPECT_EQ(lastMember(), stored);
        EXPECT_STREQ(ship()->crew.GetLastArrivedName(), arrived);
        EXPECT_FALSE(exists(vesselName));
        EXPECT_EQ(vapiGetFocusObject(), ship()->GetHandle());
        EXPECT_EQ(ship()->GetEmptyMass(), kMass + 62 * count);
        EXPECT_EQ(point(*ship())[8], 50 - count);
    }
}

TEST_F(CrewTravelTest, TransferVesselForAnotherReceiverEndsEveryScanThatReachesIt) {
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
}

std::string Sent(const char* vesselName, int32_t age, int32_t pulse, int32_t weight) {
    CrewExchangeRecord record{};
    std::snprintf(record.vesselName, sizeof record.vesselName, "%s", vesselName);
    record.age = age;
    record.pulse = pulse;
    record.supply = 100;
    record.weight = weight;
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST_F(CrewTravelTest, OwnTransferVesselIsTakenInWhereverItIsAndItsFileDeletedWhatever) {
    const std::string kept = Sent("CKit_Cap-Old Hand", 60, 61, 62);
    const std::string valid = Sent("CKit_Eng-New Hand", 30, 40, 50);
    const std::array<std::string, 2> cases[] = {
        // the file (none at all for "none"), the member taken in
        {"none", "Old Hand|Cap|60|61|62"},
        {"", "Old Hand|Cap|60|61|62"},
        {valid.substr(0, 103), "Old Hand|Cap|60|61|62"},
        {valid, "New Hand|Eng|30|40|50"},
        {valid + std::string(96, '\xff'), "New Hand|Eng|30|40|50"},
        {std::string(104, 'x'), std::string(25, 'x') + "||140|180|300"},
        {std::string(104, '-'), std::string(25, ' ') + "||140|180|300"},
        {Sent("Bob", 30, 40, 50), "||30|40|50"},
        {Sent("CKit_Neg", -5, -1, -70), "Neg||1|0|5"},
    };
    const VECTOR3 data{1, 2, 3};
    for (const auto& [file, stored] : cases) {
        std::memcpy(&crewExchangeBuffer, kept.data(), kept.size());
        root.remove(kTransferFile);
        if (file != "none") {
            root.write(kTransferFile, file);
        }
        walker("CKitTDock", &data); // 1 km away, outside the airlock
        ASSERT_EQ(scanNow(), 2) << stored;
        EXPECT_EQ(record(kTransferFile), "0 bytes");
        EXPECT_FALSE(exists("CKitTDock"));
        EXPECT_EQ(lastMember(), stored);
    }
}

} // namespace
} // namespace crewtest
