// Attachment points as other vessels read them: ids and vectors exactly as set, counted and
// indexed per kind in creation order.
#include <cmath>
#include <cstring>
#include <limits>

#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class AttachmentTest : public HostTest {};

TEST_F(AttachmentTest, VectorsAndIdsReadBackBitExactFromAnotherVessel) {
    struct Point {
        bool toParent;
        const char* id;
        const char* keptId;
        VECTOR3 pos, dir, rot;
    };
    const double tiny = std::numeric_limits<double>::denorm_min();
    const Point points[] = {
        {false, "CKit", "CKit", {-3, 3, -4}, {4, -7, 7}, {1, 0, 38}},
        {false,
         "ABCDEFGHIJ",
         "ABCDEFGH",
         {0.1, 1.0 / 3.0, -0.0},
         {tiny, 1e300, -1e-300},
         {2.9, -0.5, 1000}},
        {true, "C-Ki", "C-Ki", {35, 70, 62.9}, {0, 0, 0}, {0, 0, 0}},
        {false, "", "", {7, 8, 9}, {0, 0, 1}, {0, 1, 0}},
        {true, "P2", "P2", {std::nextafter(1.0, 2.0), 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    VesselRecord* owner = addTestVessel("Owner");
    addTestVessel("Reader");
    VESSEL* own = vapiGetVesselInterface(owner);
    for (const Point& p : points) {
        own->CreateAttachment(p.toParent, p.pos, p.dir, p.rot, p.id);
    }

    // Read the way another module does: through the owner's interface found by name.
    VESSEL* seen = vapiGetVesselInterface(vapiGetObjectByName("Owner"));
    ASSERT_EQ(seen->AttachmentCount(false), 3u);
    ASSERT_EQ(seen->AttachmentCount(true), 2u);
    unsigned int next[2] = {0, 0};
    for (const Point& p : points) {
        ATTACHMENTHANDLE handle = seen->GetAttachmentHandle(p.toParent, next[p.toParent]++);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(std::memcmp(seen->GetAttachmentId(handle), p.keptId, std::strlen(p.keptId) + 1),
                  0)
            << p.id;
        VECTOR3 pos, dir, rot;
        seen->GetAttachmentParams(handle, pos, dir, rot);
        EXPECT_TRUE(sameBits(pos, p.pos)) << p.id;
        EXPECT_TRUE(sameBits(dir, p.dir)) << p.id;
        EXPECT_TRUE(sameBits(rot, p.rot)) << p.id;
    }
    EXPECT_EQ(seen->GetAttachmentHandle(false, 3), nullptr);
    EXPECT_EQ(seen->GetAttachmentHandle(true, 2), nullptr);
}

TEST_F(AttachmentTest, SetParamsChangesOnlyThatPointOfItsOwnVessel) {
    VESSEL* a = vapiGetVesselInterface(addTestVessel("A"));
    VESSEL* b = vapiGetVesselInterface(addTestVessel("B"));
    ATTACHMENTHANDLE first = a->CreateAttachment(false, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, "one");
    ATTACHMENTHANDLE second = a->CreateAttachment(false, {2, 2, 2}, {2, 2, 2}, {2, 2, 2}, "two");
    a->SetAttachmentParams(second, {0.25, -6, 1e9}, {0, 0, -1}, {3, 2, 1});
    // B cannot move A's point.
    b->SetAttachmentParams(first, {9, 9, 9}, {9, 9, 9}, {9, 9, 9});

    VECTOR3 pos, dir, rot;
    a->GetAttachmentParams(first, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {1, 1, 1}));
    a->GetAttachmentParams(second, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {0.25, -6, 1e9}));
    EXPECT_TRUE(sameBits(dir, {0, 0, -1}));
    EXPECT_TRUE(sameBits(rot, {3, 2, 1}));
    EXPECT_STREQ(a->GetAttachmentId(a->GetAttachmentHandle(false, 1)), "two");
}

TEST_F(AttachmentTest, DeletedVesselAnswersWithSafeDefaults) {
    VesselRecord* record = addTestVessel("Gone");
    ATTACHMENTHANDLE point = vapiGetVesselInterface(record)->CreateAttachment(
        true, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}, "X");
    ASSERT_TRUE(vapiDeleteVessel(record));

    // Still a valid handle, but no longer a vessel: nothing to read, nothing to change.
    EXPECT_EQ(vapiGetVesselInterface(record), nullptr);
    const VESSEL stale(record);
    EXPECT_EQ(stale.GetAttachmentId(point), nullptr);
    EXPECT_EQ(stale.AttachmentCount(true), 0u);
    EXPECT_EQ(stale.GetAttachmentHandle(true, 0), nullptr);
    EXPECT_STREQ(stale.GetName(), "");
    VECTOR3 pos{5, 5, 5}, dir, rot;
    stale.GetAttachmentParams(point, pos, dir, rot);
    EXPECT_TRUE(sameBits(pos, {0, 0, 0}));
    stale.SetAttachmentParams(point, {4, 4, 4}, {4, 4, 4}, {4, 4, 4});
    EXPECT_TRUE(sameBits(point->pos, {1, 2, 3}));
    EXPECT_EQ(vapiGetEmptyMass(record), 0.0);
    vapiSetEmptyMass(record, 5.0);
    EXPECT_EQ(record->emptyMass, 0.0);
    char name[16] = "x";
    vapiGetObjectName(record, name, sizeof name);
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(vapiDeleteVessel(record));
}

} // namespace
} // namespace vx::test
