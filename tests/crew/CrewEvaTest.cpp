// A member leaving on foot or into a docked ship: the result codes in the order of their
// checks, the new vessel's name, the EVA exchange file, the mesh, where the vessel appears,
// how it moves and how it is turned.
#include <cmath>
#include <cstring>

#include "crew/CrewExchange.h"
#include "crew/CrewLink.h"
#include "tests/crew/CrewWorld.h"

namespace crewtest {
namespace {

using CrewEvaTest = CrewTest;

enum Scene { kNotSetUp, kInitialised, kAlone, kClosed, kFull, kNoPoint, kShut, kRefused, kRoom };

struct CodeCase {
    Scene scene;
    bool crewed; // Ann (Eng, 65 kg) and Bob Ray aboard the sender
    const char* name;
    int32_t code;
    bool forgets; // whether the last name that left is emptied
};

TEST_F(CrewEvaTest, EachCheckGivesItsCodeInOrderAndOnlySuccessChangesTheRoster) {
    const std::string forty(40, 'a'), thirtyNine(39, 'a');
    const CodeCase cases[] = {
        {kNotSetUp, false, "Ann", -6, false},
        {kInitialised, false, "Ann", -6, false},
        {kNotSetUp, false, nullptr, -6, false},
        {kAlone, true, nullptr, -4, false},
        {kAlone, false, forty.c_str(), -4, false},
        {kAlone, false, thirtyNine.c_str(), 0, false},
        {kClosed, false, "Ann", 0, false},
        {kClosed, true, "Nobody", -1, true},
        {kClosed, true, "Ann", -1, true},
        {kAlone, true, "Nobody", -4, true},
        {kFull, true, "Nobody", -3, true},
        {kFull, true, "Ann", -3, true},
        {kNoPoint, true, "Nobody", -5, true},
        {kNoPoint, true, "Ann", -5, true},
        {kShut, true, "Nobody", -4, true},
        {kShut, true, "Ann", -2, true},
        {kRefused, true, "Ann", -6, true},
        {kAlone, true, "aNN", 1, true},
        {kRoom, true, "ANN", 2, true},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "scene " << c.scene << ", " << (c.name ? c.name : "null"));
        endWorld();
        const int setup[] = {kBlank, kInit, kReady, kReady};
        Carrier* sender = add("Sender", c.scene < kFull ? setup[c.scene] : kDock | kReady);
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
        if (c.crewed) {
            ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, "Eng"), 1);
            ASSERT_EQ(crew.AddCrewMember("Bob Ray", 40, 80, 90, nullptr), 1);
        }
        std::strcpy(crew.lastLeftName, "Old");
        const std::string before = snapshot(*sender);
        const std::size_t vessels = world().vessels().size();

        EXPECT_EQ(crew.EvaCrewMember(c.name), c.code);
        if (c.code < 1) {
            EXPECT_STREQ(crew.lastLeftName, c.forgets ? "" : "Old");
            std::strcpy(crew.lastLeftName, "Old");
            EXPECT_EQ(snapshot(*sender), before);
            EXPECT_EQ(world().vessels().size(), vessels);
            continue;
        }
        EXPECT_STREQ(crew.GetLastLeftName(), "Ann") << "as the roster spells it";
        EXPECT_EQ(crew.GetCrewCount(), 1);
        EXPECT_STREQ(crew.GetCrewNameBySlot(0), "Bob Ray");
        EXPECT_EQ(sender->GetEmptyMass(), kMass + 90);
        EXPECT_EQ(point(*sender)[8], 7);
        EXPECT_TRUE(exists(c.code == 1 ? "CKit_Eng-Ann" : "CKitTReceiver"));
        EXPECT_EQ(world().vessels().size(), vessels + 1);
    }
}

struct LeaveCase {
    const char *tag, *name;
    int32_t age, pulse, supply;
    double weight;
    const char *vessel, *record;
};

TEST_F(CrewEvaTest, VesselIsNamedForTheLabelAndTheExchangeFileHoldsTheMember) {
    const LeaveCase cases[] = {
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
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(c.vessel);
        ASSERT_EQ(crew.AddCrewMember(c.name, 30, 70, 65, c.tag), 1);
        // Values the roster could hold only through other paths are set in place.
        CrewRecord& member = crew.roster[0];
        member.age = c.age;
        member.pulse = c.pulse;
        crew.crewMass += c.weight - member.weight;
        member.weight = c.weight;
        crew.evaSupply = c.supply;
        crewExchangeBuffer.reserved = 99;
        ASSERT_EQ(crew.EvaCrewMember(c.name), 1);
        EXPECT_STREQ(vessel(c.vessel)->GetClassNameA(), "CKit");
        EXPECT_EQ(record(kEvaFile), std::string(c.record) + "|0|7");
    }
}

TEST_F(CrewEvaTest, TakenNameGetsTheFirstFreeNumberUpTo399) {
    CrewManager& crew = add("Home")->crew;
    const auto leave = [&crew] {
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
    };
    walker("CKit_Ann");
    leave();
    leave();
    ASSERT_TRUE(exists("CKit_Ann1") && exists("CKit_Ann2"));
    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKit_Ann1")));
    leave();
    EXPECT_TRUE(exists("CKit_Ann1")) << "a freed number is taken again";
    for (int n = 3; n <= 398; ++n) {
        walker("CKit_Ann" + std::to_string(n));
    }
    leave();
    EXPECT_TRUE(exists("CKit_Ann399")) << "the last number is still tried";
    const std::size_t vessels = world().vessels().size();
    leave();
    EXPECT_EQ(world().vessels().size(), vessels) << "asked for under 399 again, and refused";
    EXPECT_EQ(crew.GetCrewCount(), 0) << "the member has left all the same";
}

TEST_F(CrewEvaTest, MeshIsTheVesselsChoiceElseTheProfessionsElseTheDefault) {
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
        SCOPED_TRACE(testing::Message() << evaMesh << " " << tag);
        ASSERT_EQ(crew.SetEvaMesh(evaMesh), 1);
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, tag[0] != '\0' ? tag : nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
        EXPECT_STREQ(currentEvaMesh, mesh);
        const std::string label = tag[0] != '\0' ? std::string(tag) + "-Ann" : "Ann";
        EXPECT_EQ(record(kEvaFile),
                  "CKit_" + label + "|" + std::string(mesh).substr(0, 38) + "|30|70|100|65|0|0");
        ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName(("CKit_" + label).c_str())));
    }
}

// r0 turned by the angles about x, then y, then z: each column through Rz, Ry, Rx, then r0.
MATRIX3 Turned(const MATRIX3& r0, const VECTOR3& a) {
    const MATRIX3 rx{1, 0, 0, 0, std::cos(a.x), std::sin(a.x), 0, -std::sin(a.x), std::cos(a.x)};
    const MATRIX3 ry{std::cos(a.y), 0, std::sin(a.y), 0, 1, 0, -std::sin(a.y), 0, std::cos(a.y)};
    const MATRIX3 rz{std::cos(a.z), std::sin(a.z), 0, -std::sin(a.z), std::cos(a.z), 0, 0, 0, 1};
    const auto column = [&](const VECTOR3& e) {
        return Apply(r0, Apply(rx, Apply(ry, Apply(rz, e))));
    };
    return FromColumns(column({1, 0, 0}), column({0, 1, 0}), column({0, 0, 1}));
}

TEST_F(CrewEvaTest, WalkerAppearsAtTheExitPushedBySpinAboutXAndYAndTurnedXThenYThenZ) {
    struct Case {
        VECTOR3 spin, exit, angles;
        double push;
    };
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, 3}, {0, 0, 0}, 0.0},
        {{0, 0, 0.1}, {0, 0, 3}, {1.5707963267948966, 0, 0}, 0.0},
        {{0.1, 0, 0}, {0, 0, 3}, {0, 1.5707963267948966, 0}, 0.5},
        {{-0.1, 0.2, 0.7}, {0, 0, 3}, {0, 0, 1.5707963267948966}, 1.5},
        {{0, -0.3, 0}, {1, -2, 5}, {0.3, -0.5, 1.1}, 1.5},
        {{0, 0, 0}, {0, 0, 3}, {-2.0, 0.7, 0.2}, 0.0},
    };
    Carrier* home = add("Home");
    CrewManager& crew = home->crew;
    const MATRIX3 turned = Turned({1, 0, 0, 0, 1, 0, 0, 0, 1}, {0.4, -0.7, 1.2});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spin.x << " " << c.spin.y << " " << c.spin.z);
        VESSELSTATUS pose{};
        pose.rpos = {7e6, 100, -50};
        pose.rvel = {10, 7500, -3};
        pose.rrot = turned;
        pose.vrot = c.spin;
        pose.status = VESSELSTATUS_FLIGHT;
        home->DefSetState(&pose);
        ASSERT_EQ(crew.SetMembersPosRotOffset(c.exit, c.angles), 1);
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
        VESSEL* walker = vessel("CKit_Ann");
        ASSERT_NE(walker, nullptr);
        VESSELSTATUS state{};
        walker->GetStatus(state);
        MATRIX3 rot{};
        walker->GetRotationMatrix(rot);
        const VECTOR3 offset = Apply(turned, c.exit), push = Apply(turned, {0, 0, c.push});
        const MATRIX3 want = Turned(turned, c.angles);
        const double got[] = {state.rpos.x, state.rpos.y, state.rpos.z, state.rvel.x, state.rvel.y,
                              state.rvel.z, state.vrot.x, state.vrot.y, state.vrot.z, rot.m11,
                              rot.m12,      rot.m13,      rot.m21,      rot.m22,      rot.m23,
                              rot.m31,      rot.m32,      rot.m33};
        const double expected[] = {
            7e6 + offset.x, 100 + offset.y, -50 + offset.z, 10 + push.x, 7500 + push.y, -3 + push.z,
            c.spin.x,       c.spin.y,       c.spin.z,       want.m11,    want.m12,      want.m13,
            want.m21,       want.m22,       want.m23,       want.m31,    want.m32,      want.m33};
        for (std::size_t i = 0; i < std::size(got); ++i) {
            EXPECT_NEAR(got[i], expected[i], 1e-6) << "number " << i;
        }
        EXPECT_EQ(state.status, VESSELSTATUS_FLIGHT);
        ASSERT_TRUE(vapiDeleteVessel(walker->GetHandle()));
    }
}

} // namespace
} // namespace crewtest
