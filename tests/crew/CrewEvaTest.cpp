// A member leaving: the result codes and the order of the checks, the name of the new vessel,
// the EVA exchange file, the mesh, where the new vessel appears, how it moves and turns.
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "crew/CrewLink.h"
#include "tests/crew/CrewTravel.h"

namespace crewtest {
namespace {

using ::testing::ElementsAre;

constexpr char kEvaFile[] = "config/CKittmp.cfg";

// Every way a departure can end, each from a fresh world.
enum class Scene {
    Blank,              // the crew manager was never set up
    Initialised,        // set up, but no airlock defined
    Alone,              // ready, nothing docked
    AirlockClosed,      // ready, own airlock closed
    DockedFull,         // a ready ship at dock 0 with no free seat
    DockedWithoutPoint, // a ship at dock 0 that publishes no crew point
    DockedClosed,       // a ready ship at dock 0 with its airlock closed
    DockedHostRefuses,  // a ready ship at dock 0, but the host makes no crew vessel
    DockedOpen,         // a ready ship at dock 0 with room
};

struct CodeCase {
    const char* id;
    Scene scene;
    bool crewed; // the sender has Ann (Eng) and Bob Ray aboard (a ready sender only)
    const char* name;
    int32_t expected;
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.id;
}

class EvaResultTest : public CrewTravelTest, public ::testing::WithParamInterface<CodeCase> {
protected:
    Carrier* makeSender(Scene scene) {
        switch (scene) {
        case Scene::Blank:
            return addCarrier("Sender");
        case Scene::Initialised: {
            carrierHooks().setClassCaps = [](Carrier& carrier) {
                carrier.crew.InitCrewManager(carrier.GetHandle());
            };
            Carrier* sender = addCarrier("Sender");
            carrierHooks() = CarrierHooks{};
            return sender;
        }
        case Scene::Alone:
            return addReadyCarrier("Sender");
        case Scene::AirlockClosed: {
            Carrier* sender = addReadyCarrier("Sender");
            EXPECT_EQ(sender->crew.SetAirlockState(0), 1);
            return sender;
        }
        default:
            break;
        }
        Carrier* sender = addDockingCarrier("Sender");
        Carrier* receiver = scene == Scene::DockedWithoutPoint ? addBareDockingCarrier("Receiver")
                                                               : addDockingCarrier("Receiver");
        dockPair(sender, receiver);
        if (scene == Scene::DockedFull) {
            EXPECT_EQ(receiver->crew.SetMaxSeats(1), 1);
            EXPECT_EQ(receiver->crew.AddCrewMember("Rita", 50, 60, 70, nullptr), 1);
        }
        if (scene == Scene::DockedClosed) {
            EXPECT_EQ(receiver->crew.SetAirlockState(0), 1);
        }
        if (scene == Scene::DockedHostRefuses) {
            walkerHooks().refuse = true;
        }
        return sender;
    }
};

TEST_P(EvaResultTest, GivesItsCodeAndOnlySuccessRemovesTheMember) {
    const CodeCase& c = GetParam();
    Carrier* sender = makeSender(c.scene);
    ASSERT_NE(sender, nullptr);
    CrewManager& crew = sender->crew;
    if (c.crewed) {
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, "Eng"), 1);
        ASSERT_EQ(crew.AddCrewMember("Bob Ray", 40, 80, 90, nullptr), 1);
    }
    const int32_t before = crew.GetCrewCount();
    const double massBefore = sender->GetEmptyMass();

    EXPECT_EQ(crew.EvaCrewMember(c.name), c.expected);

    const bool left = c.expected == 1 || c.expected == 2;
    EXPECT_EQ(crew.GetCrewCount(), left ? before - 1 : before);
    EXPECT_EQ(sender->GetEmptyMass(), left ? massBefore - 65.0 : massBefore);
    EXPECT_STREQ(crew.GetLastLeftName(), left ? "Ann" : "");
    EXPECT_EQ(exists("CKit_Eng-Ann"), c.expected == 1);
    EXPECT_EQ(exists("CKitTReceiver"), c.expected == 2);
    if (left) {
        EXPECT_EQ(crew.FindCrewSlot("Ann"), -1);
        EXPECT_EQ(crew.FindCrewSlot("Bob Ray"), 0);
    }
}

const std::string kFortyCharacters(40, 'a');
const std::string kThirtyNineCharacters(39, 'a');

INSTANTIATE_TEST_SUITE_P(
    Codes, EvaResultTest,
    ::testing::Values(
        CodeCase{"NotReadyBeforeEmptyRoster", Scene::Blank, false, "Ann", -6},
        CodeCase{"InitialisedIsNotReady", Scene::Initialised, false, "Ann", -6},
        CodeCase{"NotReadyBeforeNullName", Scene::Blank, false, nullptr, -6},
        CodeCase{"NullName", Scene::Alone, true, nullptr, -4},
        CodeCase{"FortyCharactersBeforeEmptyRoster", Scene::Alone, false, kFortyCharacters.c_str(),
                 -4},
        CodeCase{"ThirtyNineCharactersReachTheRosterCheck", Scene::Alone, false,
                 kThirtyNineCharacters.c_str(), 0},
        CodeCase{"EmptyRoster", Scene::Alone, false, "Ann", 0},
        CodeCase{"EmptyRosterBeforeClosedAirlock", Scene::AirlockClosed, false, "Ann", 0},
        CodeCase{"ClosedAirlockBeforeUnknownName", Scene::AirlockClosed, true, "Nobody", -1},
        CodeCase{"ClosedAirlockForAKnownName", Scene::AirlockClosed, true, "Ann", -1},
        CodeCase{"UnknownName", Scene::Alone, true, "Nobody", -4},
        CodeCase{"DockedFullBeforeUnknownName", Scene::DockedFull, true, "Nobody", -3},
        CodeCase{"DockedFull", Scene::DockedFull, true, "Ann", -3},
        CodeCase{"DockedWithoutPointBeforeUnknownName", Scene::DockedWithoutPoint, true, "Nobody",
                 -5},
        CodeCase{"DockedWithoutPoint", Scene::DockedWithoutPoint, true, "Ann", -5},
        CodeCase{"UnknownNameBeforeDockedClosed", Scene::DockedClosed, true, "Nobody", -4},
        CodeCase{"DockedClosed", Scene::DockedClosed, true, "Ann", -2},
        CodeCase{"TransferVesselNotCreated", Scene::DockedHostRefuses, true, "Ann", -6},
        CodeCase{"OnFootWhateverTheCase", Scene::Alone, true, "aNN", 1},
        CodeCase{"TransferWhateverTheCase", Scene::DockedOpen, true, "ANN", 2}),
    [](const ::testing::TestParamInfo<CodeCase>& param) { return std::string(param.param.id); });

class EvaTest : public CrewTravelTest {
protected:
    // Adds a member and sends the member out on foot; fails the test unless the result is 1.
    void leave(CrewManager& crew, const char* name, const char* tag, int32_t age = 30) {
        ASSERT_EQ(crew.AddCrewMember(name, age, 70, 65, tag), 1);
        ASSERT_EQ(crew.EvaCrewMember(name), 1) << name;
    }
};

struct LabelCase {
    const char* tag;
    const char* name;
    const char* vesselName; // as created
    const char* fileName;   // the exchange record's name field
};

TEST_F(EvaTest, VesselIsNamedForTheLabelWithUnderscoresWhileTheRecordKeepsSpaces) {
    const LabelCase cases[] = {
        {"Eng", "Ann", "CKit_Eng-Ann", "CKit_Eng-Ann"},
        {"", "Bob Ray", "CKit_Bob_Ray", "CKit_Bob Ray"},
        {"Doc", "Two  Words X", "CKit_Doc-Two__Words_X", "CKit_Doc-Two  Words X"},
        {"Capt", "Abcdefghijklmnopqrstuvwxy", "CKit_Capt-Abcdefghijklmnopqrstuvwxy",
         "CKit_Capt-Abcdefghijklmnopqrstuvwxy"},
    };
    CrewManager& crew = addReadyCarrier("Home")->crew;
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.vesselName);
        leave(crew, c.name, c.tag);
        VESSEL* walker = vapiGetVesselInterface(vapiGetObjectByName(c.vesselName));
        ASSERT_NE(walker, nullptr);
        EXPECT_STREQ(walker->GetClassNameA(), "CKit");
        EXPECT_EQ(TextAt(readBytes(kEvaFile), 0, 40), c.fileName);
        EXPECT_STREQ(crew.GetLastLeftName(), c.name);
    }
}

TEST_F(EvaTest, TakenNameGetsTheFirstFreeNumber) {
    CrewManager& crew = addReadyCarrier("Home")->crew;
    addWalker("CKit_Ann");
    leave(crew, "Ann", nullptr);
    leave(crew, "Ann", nullptr);
    EXPECT_TRUE(exists("CKit_Ann1"));
    EXPECT_TRUE(exists("CKit_Ann2"));
    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKit_Ann1")));
    leave(crew, "Ann", nullptr);
    EXPECT_TRUE(exists("CKit_Ann1")) << "a freed number is taken again";
    EXPECT_FALSE(exists("CKit_Ann3"));
}

TEST_F(EvaTest, NumbersStopAt399) {
    CrewManager& crew = addReadyCarrier("Home")->crew;
    addWalker("CKit_Ann");
    for (int n = 1; n <= 398; ++n) {
        addWalker("CKit_Ann" + std::to_string(n));
    }
    leave(crew, "Ann", nullptr);
    EXPECT_TRUE(exists("CKit_Ann399")) << "the last number is still tried";

    // Now every number is taken: the creation is asked for under 399 and refused, and the
    // member has left all the same.
    const std::size_t vessels = world().vessels().size();
    leave(crew, "Ann", nullptr);
    EXPECT_EQ(world().vessels().size(), vessels);
    EXPECT_FALSE(exists("CKit_Ann400"));
    EXPECT_EQ(crew.GetCrewCount(), 0);
}

struct RecordCase {
    int32_t age, pulse, supply;
    double weight;
    int32_t fileAge, filePulse, fileSupply, fileWeight;
};

TEST_F(EvaTest, ExchangeFileHoldsEveryFieldAtItsOffset) {
    const RecordCase cases[] = {
        {130, 150, 100, 72.9, 41, 60, 100, 72},
        {120, 140, 4000, 300.0, 120, 140, 4000, 300},
        {1, 0, 0, 5.99, 1, 0, 0, 5},
        {0, 141, 4001, 64.5, 0, 60, 100, 64},
        {121, -1, -1, 80.0, 41, 60, 100, 80},
        {140, 180, 2500, 299.999, 41, 60, 2500, 299},
    };
    CrewManager& crew = addReadyCarrier("Home")->crew;
    crew.Link().evaFileValue = 7;
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "age " << c.age << " pulse " << c.pulse);
        ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, "Eng"), 1);
        // Values the roster could hold only through other paths are set in place.
        CrewRecord& member = crew.roster[crew.FindCrewSlot("Ann")];
        member.age = c.age;
        member.pulse = c.pulse;
        crew.crewMass += c.weight - member.weight;
        member.weight = c.weight;
        crew.evaSupply = c.supply;
        crewExchangeBuffer.reserved = 99;
        ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
        ASSERT_TRUE(exists("CKit_Eng-Ann"));
        ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKit_Eng-Ann")));

        const std::vector<unsigned char> bytes = readBytes(kEvaFile);
        ASSERT_EQ(bytes.size(), 104u);
        EXPECT_EQ(TextAt(bytes, 0, 40), "CKit_Eng-Ann");
        EXPECT_EQ(TextAt(bytes, 40, 40), "ckit/ckitTECH");
        EXPECT_EQ(Int32At(bytes, 80), c.fileAge);
        EXPECT_EQ(Int32At(bytes, 84), c.filePulse);
        EXPECT_EQ(Int32At(bytes, 88), c.fileSupply);
        EXPECT_EQ(Int32At(bytes, 92), c.fileWeight);
        EXPECT_EQ(Int32At(bytes, 96), 0);
        EXPECT_EQ(Int32At(bytes, 100), 7);
    }
}

struct MeshCase {
    const char* evaMesh; // set before the departure; null keeps the unchosen default
    const char* tag;
    const char* mesh;
};

TEST_F(EvaTest, MeshIsTheVesselsChoiceElseTheProfessionsElseTheDefault) {
    // An identity file declares a profession of its own by its name alone.
    writeFile("config/CKITIdConfig/ckitMULE-muleteer-Mul.cfg", "");
    const std::string longMesh(150, 'm');
    const MeshCase cases[] = {
        {nullptr, "Doc", "ckit/ckitMED"},
        {nullptr, "dOC", "ckit/ckitMED"},
        {nullptr, "Mul", "ckit/ckitMULE"},
        {nullptr, "Zz", "ckit/ckit"},
        {nullptr, "", "ckit/ckit"},
        {"mmu", "Doc", "mmu"},
        {"mmu", "", "mmu"},
        {"ckit\\ckit", "Eng", "ckit/ckitTECH"},
        {"CKIT\\CKIT", "Capt", "ckit/ckitp"},
        {"CKit\\CKIt", "Zz", "ckit/ckit"},
        {longMesh.c_str(), "Doc", longMesh.c_str()},
    };
    CrewManager& crew = addReadyCarrier("Home")->crew;
    for (const MeshCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.evaMesh ? c.evaMesh : "(default)") << " " << c.tag);
        ASSERT_EQ(crew.SetEvaMesh(c.evaMesh != nullptr ? c.evaMesh : "CKit\\CKIt"), 1);
        const char* tag = c.tag[0] != '\0' ? c.tag : nullptr;
        leave(crew, "Ann", tag);
        EXPECT_STREQ(currentEvaMesh, c.mesh);
        // The record's text fields hold at most 38 characters.
        EXPECT_EQ(TextAt(readBytes(kEvaFile), 40, 40), std::string(c.mesh).substr(0, 38));
    }
}

// Own z axis along global x, own x along global y: turned, so that frames cannot be mixed up.
const MATRIX3 kTurned = FromColumns({0, 1, 0}, {0, 0, 1}, {1, 0, 0});

struct PlacementCase {
    const char* what;
    VECTOR3 spin; // own angular velocity, rad/s
    VECTOR3 exit; // exit position, own frame
    double push;  // expected speed added along the own z axis
};

TEST_F(EvaTest, WalkerAppearsAtTheExitAndIsPushedBySpinAboutXAndY) {
    const PlacementCase cases[] = {
        {"still", {0, 0, 0}, {0, 0, 3}, 0.0},
        {"spin about z only", {0, 0, 0.1}, {0, 0, 3}, 0.0},
        {"spin about x", {0.1, 0, 0}, {0, 0, 3}, 0.5},
        {"spin about x and y, signs ignored", {-0.1, 0.2, 0.7}, {0, 0, 3}, 1.5},
        {"exit elsewhere", {0, -0.3, 0}, {1, -2, 5}, 1.5},
    };
    Carrier* home = addReadyCarrier("Home");
    CrewManager& crew = home->crew;
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        Pose pose;
        pose.pos = {7e6, 100, -50};
        pose.vel = {10, 7500, -3};
        pose.rot = kTurned;
        pose.spin = c.spin;
        setPose(home, pose);
        ASSERT_EQ(crew.SetMembersPosRotOffset(c.exit, {0, 0, 0}), 1);
        leave(crew, "Ann", nullptr);
        VESSEL* walker = vapiGetVesselInterface(vapiGetObjectByName("CKit_Ann"));
        ASSERT_NE(walker, nullptr);

        VESSELSTATUS state{};
        walker->GetStatus(state);
        const VECTOR3 offset = Apply(kTurned, c.exit);
        EXPECT_DOUBLE_EQ(state.rpos.x, pose.pos.x + offset.x);
        EXPECT_DOUBLE_EQ(state.rpos.y, pose.pos.y + offset.y);
        EXPECT_DOUBLE_EQ(state.rpos.z, pose.pos.z + offset.z);
        // The own z axis is global x here.
        EXPECT_NEAR(state.rvel.x, pose.vel.x + c.push, 1e-12);
        EXPECT_DOUBLE_EQ(state.rvel.y, pose.vel.y);
        EXPECT_DOUBLE_EQ(state.rvel.z, pose.vel.z);
        EXPECT_EQ(state.vrot.x, c.spin.x);
        EXPECT_EQ(state.vrot.y, c.spin.y);
        EXPECT_EQ(state.vrot.z, c.spin.z);
        EXPECT_EQ(state.status, VESSELSTATUS_FLIGHT);
        MATRIX3 rot{};
        walker->GetRotationMatrix(rot);
        EXPECT_EQ(std::memcmp(&rot, &kTurned, sizeof rot), 0) << "no turn keeps the own matrix";
        ASSERT_TRUE(vapiDeleteVessel(walker->GetHandle()));
    }
}

// The three turns as the crew library defines them, row by row.
MATRIX3 TurnX(double a) {
    return {1, 0, 0, 0, std::cos(a), std::sin(a), 0, -std::sin(a), std::cos(a)};
}
MATRIX3 TurnY(double b) {
    return {std::cos(b), 0, std::sin(b), 0, 1, 0, -std::sin(b), 0, std::cos(b)};
}
MATRIX3 TurnZ(double c) {
    return {std::cos(c), std::sin(c), 0, -std::sin(c), std::cos(c), 0, 0, 0, 1};
}

TEST_F(EvaTest, ExitRotationTurnsTheOwnMatrixByXThenYThenZ) {
    constexpr double kQuarter = std::numbers::pi / 2;
    const VECTOR3 cases[] = {
        {kQuarter, 0, 0}, {0, kQuarter, 0}, {0, 0, kQuarter}, {0.3, -0.5, 1.1}, {-2.0, 0.7, 0.2},
    };
    Carrier* home = addReadyCarrier("Home");
    CrewManager& crew = home->crew;
    Pose pose;
    pose.rot = kTurned;
    setPose(home, pose);
    for (const VECTOR3& angles : cases) {
        SCOPED_TRACE(testing::Message() << angles.x << " " << angles.y << " " << angles.z);
        ASSERT_EQ(crew.SetMembersPosRotOffset({0, 0, 3}, angles), 1);
        leave(crew, "Ann", nullptr);
        VESSEL* walker = vapiGetVesselInterface(vapiGetObjectByName("CKit_Ann"));
        ASSERT_NE(walker, nullptr);
        MATRIX3 rot{};
        walker->GetRotationMatrix(rot);
        // R0 Rx Ry Rz, column by column: each basis vector through Rz, Ry, Rx, then R0.
        const auto column = [&](const VECTOR3& e) {
            return Apply(kTurned,
                         Apply(TurnX(angles.x), Apply(TurnY(angles.y), Apply(TurnZ(angles.z), e))));
        };
        const MATRIX3 expected =
            FromColumns(column({1, 0, 0}), column({0, 1, 0}), column({0, 0, 1}));
        const double* got = &rot.m11;
        const double* want = &expected.m11;
        for (int i = 0; i < 9; ++i) {
            EXPECT_NEAR(got[i], want[i], 1e-12) << "entry " << i;
        }
        ASSERT_TRUE(vapiDeleteVessel(walker->GetHandle()));
    }
}

TEST_F(EvaTest, DepartureRepublishesSeatsAndRemembersWhoLeft) {
    Carrier* home = addReadyCarrier("Home");
    CrewManager& crew = home->crew;
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, nullptr), 1);
    ASSERT_EQ(crew.AddCrewMember("Bob", 31, 71, 75, nullptr), 1);
    EXPECT_EQ(publishedPoint(*home)[8], 6.0);

    ASSERT_EQ(crew.EvaCrewMember("Ann"), 1);
    EXPECT_EQ(publishedPoint(*home)[8], 7.0);
    EXPECT_STREQ(crew.GetLastLeftName(), "Ann");
    EXPECT_EQ(home->GetEmptyMass(), kCarrierMass + 75.0);

    EXPECT_EQ(crew.EvaCrewMember("Nobody"), -4);
    EXPECT_STREQ(crew.GetLastLeftName(), "") << "a call past the roster check forgets it";

    ASSERT_EQ(crew.EvaCrewMember("bob"), 1);
    EXPECT_STREQ(crew.GetLastLeftName(), "Bob") << "the roster's spelling, not the caller's";
    EXPECT_EQ(publishedPoint(*home)[8], 8.0);
    EXPECT_EQ(crew.EvaCrewMember("Bob"), 0);
    EXPECT_STREQ(crew.GetLastLeftName(), "Bob") << "an empty roster leaves it alone";
    EXPECT_EQ(home->GetEmptyMass(), kCarrierMass);
    EXPECT_THAT(vesselNames(), ElementsAre("Home", "CKit_Ann", "CKit_Bob"));
}

TEST_F(EvaTest, UnwritableConfigFolderStillLetsTheMemberLeave) {
    CrewManager& crew = addReadyCarrier("Home")->crew;
    std::filesystem::remove_all(root / "config");
    writeFile("config", "not a folder");
    ASSERT_EQ(crew.AddCrewMember("Ann", 30, 70, 65, "Eng"), 1);
    EXPECT_EQ(crew.EvaCrewMember("Ann"), 1);
    EXPECT_TRUE(exists("CKit_Eng-Ann"));
    EXPECT_EQ(crew.GetCrewCount(), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(root / "config"));
}

} // namespace
} // namespace crewtest
