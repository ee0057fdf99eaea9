// Who a walking vessel says it is: the person of the EVA exchange file when the record names
// it, neutral values otherwise, on a crew data point that comes last and exactly as the intake
// reads it.
#include <cstring>

#include "tests/addons/WalkerWorld.h"

namespace ckit::test {
namespace {

using ::testing::ElementsAre;

struct IdentityCase {
    const char* label;      // for the test's name
    const char* recordName; // vessel name field of the exchange file
    const char* vesselName; // name the vessel is created under
    bool matches;           // whether the vessel takes the record's person
};

class WalkerIdentity : public WalkerTest, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(WalkerIdentity, TakesThePersonOnlyWhenTheRecordNamesIt) {
    const IdentityCase& c = GetParam();
    writeExchange(exchangeRecord(c.recordName, "ckit/eng", 37, 72, 81));
    VESSEL* walker = createWalker(c.vesselName);
    ASSERT_NE(walker, nullptr);
    const VECTOR3 data = lastParentPos(*walker);
    if (c.matches) {
        EXPECT_EQ(data.x, 37.0);
        EXPECT_EQ(data.y, 72.0);
        EXPECT_EQ(data.z, 81.0);
        EXPECT_THAT(meshes(c.vesselName), ElementsAre("ckit/eng"));
    } else {
        EXPECT_EQ(data.x, 30.0);
        EXPECT_EQ(data.y, 70.0);
        EXPECT_EQ(data.z, 70.0);
        EXPECT_THAT(meshes(c.vesselName), ElementsAre("ckit/ckit"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, WalkerIdentity,
    ::testing::Values(IdentityCase{"Exact", "CKit_Eng-Vasko", "CKit_Eng-Vasko", true},
                      IdentityCase{"SpacesBecomeUnderscores", "CKit_Eng-Marietta Vasko",
                                   "CKit_Eng-Marietta_Vasko", true},
                      IdentityCase{"CollisionNumber", "CKit_Eng-Marietta Vasko",
                                   "CKit_Eng-Marietta_Vasko2", true},
                      IdentityCase{"SomeoneElse", "CKit_Doc-Ana Lee", "CKit_Eng-Marietta_Vasko",
                                   false},
                      IdentityCase{"SuffixNotANumber", "CKit_Eng-Vasko", "CKit_Eng-VaskoX", false},
                      IdentityCase{"NumberThenMore", "CKit_Eng-Vasko", "CKit_Eng-Vasko2b", false},
                      IdentityCase{"RecordLonger", "CKit_Eng-Vasko2", "CKit_Eng-Vasko", false},
                      IdentityCase{"SpaceKeptInVesselName", "CKit_Eng-Marietta Vasko",
                                   "CKit_Eng-Marietta Vasko", false},
                      IdentityCase{"EmptyRecord", "", "CKit_Eng-Vasko", false}),
    [](const ::testing::TestParamInfo<IdentityCase>& param) { return param.param.label; });

TEST_F(WalkerTest, NeutralValuesWithoutAnExchangeFile) {
    VESSEL* walker = createWalker("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    const VECTOR3 data = lastParentPos(*walker);
    EXPECT_EQ(data.x, 30.0);
    EXPECT_EQ(data.y, 70.0);
    EXPECT_EQ(data.z, 70.0);
    EXPECT_THAT(meshes("CKit_Eng-Vasko"), ElementsAre("ckit/ckit"));
}

TEST_F(WalkerTest, NeutralValuesFromAShortExchangeFile) {
    const CrewExchangeRecord record = exchangeRecord("CKit_Eng-Vasko", "ckit/eng", 37, 72, 81);
    writeExchange(&record, sizeof record - 1);
    VESSEL* walker = createWalker("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(lastParentPos(*walker).x, 30.0);
    EXPECT_THAT(meshes("CKit_Eng-Vasko"), ElementsAre("ckit/ckit"));
}

TEST_F(WalkerTest, UnterminatedRecordNameIsNobody) {
    CrewExchangeRecord record = exchangeRecord("", "ckit/eng", 37, 72, 81);
    std::memset(record.vesselName, 'A', sizeof record.vesselName);
    std::memcpy(record.vesselName, "CKit_", 5);
    writeExchange(record);
    const std::string name(record.vesselName, sizeof record.vesselName);
    VESSEL* walker = createWalker(name);
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(lastParentPos(*walker).x, 30.0);
}

TEST_F(WalkerTest, PersonHasItsOwnPointThenTheCrewDataPointLast) {
    writeExchange(exchangeRecord("CKit_Eng-Vasko", "ckit/eng", 37, 72, 81));
    VESSEL* walker = createWalker("CKit_Eng-Vasko");
    ASSERT_NE(walker, nullptr);
    const std::vector<std::string> ids = parentIds(*walker);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_NE(ids[0].rfind("C-Ki", 0), 0u) << ids[0];
    EXPECT_EQ(ids[1], "C-Ki");
    VECTOR3 pos{}, dir{1, 1, 1}, rot{1, 1, 1};
    walker->GetAttachmentParams(walker->GetAttachmentHandle(true, 1), pos, dir, rot);
    EXPECT_EQ(dir.x, 0.0);
    EXPECT_EQ(dir.y, 0.0);
    EXPECT_EQ(dir.z, 0.0);
    EXPECT_EQ(rot.x, 0.0);
    EXPECT_EQ(rot.y, 0.0);
    EXPECT_EQ(rot.z, 0.0);
    EXPECT_EQ(walker->AttachmentCount(false), 0u);
}

TEST_F(WalkerTest, TransferAndPlainVesselsHaveOnlyTheirOwnPoint) {
    writeExchange(exchangeRecord("CKitTColony", "ckit/eng", 37, 72, 81));
    for (const char* name : {"CKitTColony", "Rover"}) {
        VESSEL* vessel = createWalker(name);
        ASSERT_NE(vessel, nullptr);
        const std::vector<std::string> ids = parentIds(*vessel);
        ASSERT_EQ(ids.size(), 1u) << name;
        EXPECT_NE(ids[0].rfind("C-Ki", 0), 0u) << name;
        EXPECT_THAT(meshes(name), ElementsAre("ckit/ckit")) << name;
    }
}

} // namespace
} // namespace ckit::test
