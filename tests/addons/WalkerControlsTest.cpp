// Walking from the keyboard in the person's own frame, and the HUD line that says who it is.
#include "tests/addons/WalkerWorld.h"

namespace ckit::test {
namespace {

vx::KeySpec key(std::uint32_t code) {
    vx::KeySpec pressed;
    pressed.code = code;
    pressed.text = "key";
    return pressed;
}

struct KeyCase {
    const char* label;
    std::uint32_t code;
    VECTOR3 local; // expected move in the walker's own frame
};

class WalkerKeys : public WalkerTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(WalkerKeys, MovesHalfAMetreInItsOwnFrame) {
    const KeyCase& c = GetParam();
    // Turned 90 degrees about y: own x is global -z, own z is global +x.
    const MATRIX3 rot = turnY(90);
    VESSEL* walker = createWalker("CKit_Eng-Vasko", {7e6, 0, 0}, rot);
    ASSERT_NE(walker, nullptr);
    world().setFocus(world().findVessel("CKit_Eng-Vasko"));
    VECTOR3 before{}, after{};
    walker->GetGlobalPos(before);
    EXPECT_EQ(world().pressKey(key(c.code)), 1);
    walker->GetGlobalPos(after);
    const VECTOR3 want{rot.m11 * c.local.x + rot.m12 * c.local.y + rot.m13 * c.local.z,
                       rot.m21 * c.local.x + rot.m22 * c.local.y + rot.m23 * c.local.z,
                       rot.m31 * c.local.x + rot.m32 * c.local.y + rot.m33 * c.local.z};
    EXPECT_NEAR(after.x - before.x, want.x, 1e-9);
    EXPECT_NEAR(after.y - before.y, want.y, 1e-9);
    EXPECT_NEAR(after.z - before.z, want.z, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Keys, WalkerKeys,
                         ::testing::Values(KeyCase{"Left", VXK_LEFT, {-0.5, 0, 0}},
                                           KeyCase{"Right", VXK_RIGHT, {0.5, 0, 0}},
                                           KeyCase{"Up", VXK_UP, {0, 0, 0.5}},
                                           KeyCase{"Down", VXK_DOWN, {0, 0, -0.5}},
                                           KeyCase{"PageUp", VXK_PRIOR, {0, 0.5, 0}},
                                           KeyCase{"PageDown", VXK_NEXT, {0, -0.5, 0}}),
                         [](const ::testing::TestParamInfo<KeyCase>& param) {
                             return param.param.label;
                         });

TEST_F(WalkerTest, OtherKeysAreLeftToTheHost) {
    VESSEL* walker = createWalker("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    world().setFocus(world().findVessel("CKit_Eng-Vasko"));
    VECTOR3 before{}, after{};
    walker->GetGlobalPos(before);
    EXPECT_EQ(world().pressKey(key(VXK_E)), 0);
    walker->GetGlobalPos(after);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.z, before.z);
}

struct HudCase {
    const char* label;
    const char* recordName;
    const char* vesselName;
    const char* text;
};

class WalkerHud : public WalkerTest, public ::testing::WithParamInterface<HudCase> {};

TEST_P(WalkerHud, SaysWhoItIs) {
    const HudCase& c = GetParam();
    writeExchange(exchangeRecord(c.recordName, "ckit/eng", 37, 72, 81));
    ASSERT_NE(createWalker(c.vesselName), nullptr);
    world().setFocus(world().findVessel(c.vesselName));
    world().step(0.1);
    const std::string where = std::string(c.vesselName) + " (5,180) ";
    EXPECT_THAT(vx::test::eventsOf(events, "hud"), ::testing::Contains(where + c.text));
}

INSTANTIATE_TEST_SUITE_P(
    People, WalkerHud,
    ::testing::Values(HudCase{"TagAndName", "CKit_Eng-Marietta Vasko", "CKit_Eng-Marietta_Vasko",
                              "Marietta Vasko (Eng) aged 37 - arrows walk, PgUp/PgDn climb"},
                      HudCase{"NoTag", "CKit_Ana Lee", "CKit_Ana_Lee",
                              "Ana Lee aged 37 - arrows walk, PgUp/PgDn climb"},
                      HudCase{"CollisionNumberNotShown", "CKit_Eng-Marietta Vasko",
                              "CKit_Eng-Marietta_Vasko3",
                              "Marietta Vasko (Eng) aged 37 - arrows walk, PgUp/PgDn climb"},
                      HudCase{"UnknownPersonNeutralAge", "CKit_Doc-Someone", "CKit_Doc-Ana_Lee",
                              "Ana Lee (Doc) aged 30 - arrows walk, PgUp/PgDn climb"}),
    [](const ::testing::TestParamInfo<HudCase>& param) { return param.param.label; });

} // namespace
} // namespace ckit::test
