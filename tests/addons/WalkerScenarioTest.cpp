// A person out on EVA survives a save and a reload: its block keeps CREW and MESH, and the
// crew data point the intake reads carries the same values afterwards.
#include "tests/addons/WalkerWorld.h"

namespace ckit::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class WalkerScenarioTest : public WalkerTest {
protected:
    // Saves, ends the world, forgets the exchange file and loads the saved text again.
    std::string saveAndReload() {
        const std::string text = world().scenarioText();
        endWorld();
        std::filesystem::remove(root / "config" / "CKittmp.cfg");
        loadText(text);
        return text;
    }

    VESSEL* vessel(const std::string& name) {
        vx::VesselRecord* record = world().findVessel(name);
        return record != nullptr ? vapiGetVesselInterface(record) : nullptr;
    }
};

TEST_F(WalkerScenarioTest, PersonKeepsCrewAndMeshThroughSaveAndReload) {
    writeExchange(exchangeRecord("CKit_Eng-Marietta Vasko", "ckit/eng", 37, 72, 81));
    ASSERT_NE(createWalker("CKit_Eng-Marietta_Vasko"), nullptr);
    const std::string saved = saveAndReload();
    EXPECT_THAT(saved, HasSubstr("  CREW 37 72 81\n"));
    EXPECT_THAT(saved, HasSubstr("  MESH ckit/eng\n"));
    VESSEL* walker = vessel("CKit_Eng-Marietta_Vasko");
    ASSERT_NE(walker, nullptr);
    const std::vector<std::string> ids = parentIds(*walker);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids.back(), "C-Ki");
    const VECTOR3 data = lastParentPos(*walker);
    EXPECT_EQ(data.x, 37.0);
    EXPECT_EQ(data.y, 72.0);
    EXPECT_EQ(data.z, 81.0);
    // Saved again, the block is the same person.
    EXPECT_THAT(world().scenarioText(), HasSubstr("  CREW 37 72 81\n  MESH ckit/eng\n"));
}

TEST_F(WalkerScenarioTest, TransferVesselKeepsTheDataPointItsSenderGave) {
    VESSEL* transfer = createWalker("CKitTColony");
    ASSERT_NE(transfer, nullptr);
    transfer->CreateAttachment(true, {44, 66, 90.7}, {0, 0, 0}, {0, 0, 0}, "C-Ki");
    const std::string saved = saveAndReload();
    EXPECT_THAT(saved, HasSubstr("  CREW 44 66 90\n"));
    VESSEL* reloaded = vessel("CKitTColony");
    ASSERT_NE(reloaded, nullptr);
    EXPECT_THAT(parentIds(*reloaded), ElementsAre(::testing::_, "C-Ki"));
    const VECTOR3 data = lastParentPos(*reloaded);
    EXPECT_EQ(data.x, 44.0);
    EXPECT_EQ(data.y, 66.0);
    EXPECT_EQ(data.z, 90.0);
}

TEST_F(WalkerScenarioTest, VesselsWithoutDataWriteNoCrewLines) {
    ASSERT_NE(createWalker("CKitTColony"), nullptr);
    ASSERT_NE(createWalker("Rover"), nullptr);
    const std::string saved = world().scenarioText();
    EXPECT_THAT(saved, Not(HasSubstr("CREW")));
    EXPECT_THAT(saved, Not(HasSubstr("MESH")));
}

struct BadCrewCase {
    const char* label;
    const char* line;
};

class WalkerBadCrewLine : public WalkerScenarioTest,
                          public ::testing::WithParamInterface<BadCrewCase> {};

TEST_P(WalkerBadCrewLine, IsLeftToTheHostAndChangesNothing) {
    loadText(std::string("BEGIN_VESSEL CKit CKit_Eng-Vasko\n  POS 7000000 0 0\n  ") +
             GetParam().line + "\nEND_VESSEL\n");
    VESSEL* walker = vessel("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(lastParentPos(*walker).x, 30.0);
    EXPECT_EQ(lastParentPos(*walker).z, 70.0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_THAT(warnings[0], HasSubstr(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(Lines, WalkerBadCrewLine,
                         ::testing::Values(BadCrewCase{"TwoValues", "CREW 37 72"},
                                           BadCrewCase{"Word", "CREW 37 old 81"},
                                           BadCrewCase{"TrailingText", "CREW 37 72 81 x"},
                                           BadCrewCase{"TooLarge", "CREW 37 72 99999999999"}),
                         [](const ::testing::TestParamInfo<BadCrewCase>& param) {
                             return param.param.label;
                         });

TEST_F(WalkerScenarioTest, LoadedPersonCanStillWalk) {
    loadText("BEGIN_WORLD\n  FOCUS CKit_Eng-Vasko\nEND_WORLD\n"
             "BEGIN_VESSEL CKit CKit_Eng-Vasko\n  POS 7000000 0 0\n  CREW 37 72 81\n"
             "  MESH ckit/eng\nEND_VESSEL\n");
    VESSEL* walker = vessel("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    vx::KeySpec up;
    up.code = VXK_UP;
    EXPECT_EQ(world().pressKey(up), 1);
    VECTOR3 now{};
    walker->GetGlobalPos(now);
    EXPECT_NEAR(now.z, 0.5, 1e-9);
    EXPECT_THAT(world().scenarioText(), HasSubstr("  CREW 37 72 81\n  MESH ckit/eng\n"));
}

} // namespace
} // namespace ckit::test
