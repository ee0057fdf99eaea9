// People coming aboard: when the arrival scan runs, which vessels it takes for a walking member
// in the airlock or a transfer vessel, how a label becomes a tag and a name, and what a broken
// transfer exchange file gives.
#include <cstring>
#include <string>
#include <vector>

#include "crew/CrewLink.h"
#include "tests/crew/CrewTravel.h"

namespace crewtest {
namespace {

constexpr char kTransferFile[] = "config/CKittmpT.cfg";

class CrewArrivalTest : public CrewTravelTest {
protected:
    // The receiving ship, ready, airlock open over -3..3, -4..4, -7..7.
    Carrier* dock() {
        if (dock_ == nullptr) {
            dock_ = addReadyCarrier("Dock");
            EXPECT_EQ(dock_->crew.SetMaxSeats(50), 1);
        }
        return dock_;
    }
    CrewLinkRecord& link() { return dock()->crew.Link(); }

    // One scan now, whatever the timer says.
    int32_t scanNow() {
        link().pollTimer = 1.0;
        return dock()->crew.ProcessArrivals();
    }

    // A walking member with its crew data point, standing at a point of the ship's frame.
    VESSEL* walkerAt(const std::string& name, const VECTOR3& local, VECTOR3 data = {35, 70, 62}) {
        VESSEL* walker = addWalker(name, &data);
        placeAt(name, "Dock", local);
        return walker;
    }

    // Each step the ship takes in arrivals and the results are kept.
    void intakeEachStep() {
        carrierHooks().preStep = [this](Carrier& carrier, double) {
            results.push_back(carrier.crew.ProcessArrivals());
        };
    }

    std::vector<int32_t> results;

private:
    Carrier* dock_ = nullptr;
};

TEST_F(CrewArrivalTest, PollTimersStartAtRandomPointsOfTheFirstSecond) {
    const double first = addReadyCarrier("One")->crew.Link().pollTimer;
    const double second = addReadyCarrier("Two")->crew.Link().pollTimer;
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 1.0);
    EXPECT_GE(second, 0.0);
    EXPECT_LT(second, 1.0);
    EXPECT_NE(first, second);
}

TEST_F(CrewArrivalTest, ScanRunsOnlyOnceMoreThanAQuarterSecondHasGathered) {
    dock();
    intakeEachStep();
    walkerAt("CKit_Ann", {0, 0, 0});
    link().pollTimer = 0.125;
    world().step(0.125);
    EXPECT_EQ(link().pollTimer, 0.25) << "exactly a quarter second is not enough";
    EXPECT_TRUE(exists("CKit_Ann"));
    world().step(0.125);
    EXPECT_EQ(link().pollTimer, 0.0);
    EXPECT_FALSE(exists("CKit_Ann"));
    EXPECT_EQ(results, (std::vector<int32_t>{0, 1}));

    walkerAt("CKit_Bob", {0, 0, 0});
    world().step(0.125);
    world().step(0.125);
    EXPECT_TRUE(exists("CKit_Bob"));
    world().step(0.125);
    EXPECT_FALSE(exists("CKit_Bob"));
    EXPECT_EQ(dock()->crew.GetCrewCount(), 2);
}

TEST_F(CrewArrivalTest, ClosedAirlockStopsTheScanAndKeepsTheTimer) {
    ASSERT_EQ(dock()->crew.SetAirlockState(0), 1);
    intakeEachStep();
    walkerAt("CKit_Ann", {0, 0, 0});
    link().pollTimer = 0.2;
    for (int i = 0; i < 3; ++i) {
        world().step(0.5);
    }
    EXPECT_EQ(link().pollTimer, 0.2);
    EXPECT_TRUE(exists("CKit_Ann"));
    ASSERT_EQ(dock()->crew.SetAirlockState(1), 1);
    world().step(0.1);
    EXPECT_FALSE(exists("CKit_Ann")) << "the first step past a quarter second scans";
    EXPECT_EQ(results, (std::vector<int32_t>{0, 0, 0, 1}));
}

TEST_F(CrewArrivalTest, UnpublishedOpenStateFindsNothingButStillResetsTheTimer) {
    ASSERT_EQ(dock()->crew.SetAirlockState(0), 1);
    // The crew manager's copy says open while the published state is closed.
    dock()->crew.airlockStateCopy = 1;
    intakeEachStep();
    walkerAt("CKit_Ann", {0, 0, 0});
    link().pollTimer = 0.2;
    world().step(0.1);
    EXPECT_EQ(link().pollTimer, 0.0);
    world().step(0.2);
    EXPECT_NEAR(link().pollTimer, 0.2, 1e-12);
    EXPECT_TRUE(exists("CKit_Ann"));
    EXPECT_EQ(results, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(dock()->crew.GetCrewCount(), 0);
}

struct WalkerCase {
    const char* what;
    VECTOR3 local;                  // where it stands, ship frame
    bool ownPoint;                  // the class's own point for parents comes first
    std::vector<const char*> after; // ids of the points for parents added after it
    const char* className;
    int32_t expected;
};

TEST_F(CrewArrivalTest, WalkerIsTakenInOnlyStrictlyInsideWithItsDataPointLast) {
    const WalkerCase cases[] = {
        {"centre", {0, 0, 0}, true, {"C-Ki"}, "CKit", 1},
        {"just inside every face", {2.99, -3.99, 6.99}, true, {"C-Ki"}, "CKit", 1},
        {"on the x maximum", {3, 0, 0}, true, {"C-Ki"}, "CKit", 0},
        {"on the x minimum", {-3, 0, 0}, true, {"C-Ki"}, "CKit", 0},
        {"on the y maximum", {0, 4, 0}, true, {"C-Ki"}, "CKit", 0},
        {"on the z minimum", {0, 0, -7}, true, {"C-Ki"}, "CKit", 0},
        {"outside", {0, 0, 7.5}, true, {"C-Ki"}, "CKit", 0},
        {"one point for parents only", {0, 0, 0}, false, {"C-Ki"}, "CKit", 0},
        {"last id only begins with C-Ki", {0, 0, 0}, true, {"C-Kid"}, "CKit", 0},
        {"last id in other case", {0, 0, 0}, true, {"c-ki"}, "CKit", 0},
        {"data point not last", {0, 0, 0}, false, {"C-Ki", "Own"}, "CKit", 0},
        {"third point is the data point", {0, 0, 0}, true, {"Spare", "C-Ki"}, "CKit", 1},
        {"class beginning with CKit", {0, 0, 0}, true, {"C-Ki"}, "CKitRover", 1},
        {"other class", {0, 0, 0}, true, {"C-Ki"}, "Rover", 0},
        {"class shorter than CKit", {0, 0, 0}, true, {"C-Ki"}, "CKi", 0},
    };
    dock();
    int n = 0;
    for (const WalkerCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "CKit_W" + std::to_string(n++);
        walkerHooks().ownPoint = c.ownPoint;
        VESSEL* walker = addWalker(name, nullptr, c.className);
        walkerHooks().ownPoint = true;
        ASSERT_NE(walker, nullptr);
        for (const char* id : c.after) {
            walker->CreateAttachment(true, {35, 70, 62}, {0, 0, 0}, {0, 0, 0}, id, false);
        }
        placeAt(name, "Dock", c.local);
        const int32_t before = dock()->crew.GetCrewCount();

        EXPECT_EQ(scanNow(), c.expected);
        EXPECT_EQ(exists(name), c.expected == 0);
        EXPECT_EQ(dock()->crew.GetCrewCount(), before + (c.expected == 1 ? 1 : 0));
        EXPECT_EQ(link().arrivedVessel, nullptr);
        if (exists(name)) {
            ASSERT_TRUE(vapiDeleteVessel(walker->GetHandle()));
        }
    }
}

// The arrival fields are written before the position test, so a scan that ends with nobody
// taken in leaves the data of the last walker it examined there, wherever the scan ended.
TEST_F(CrewArrivalTest, ScanThatTakesNobodyInLeavesTheLastExaminedWalkersData) {
    struct Case {
        const char* what;
        bool foreignTransferLast; // a transfer vessel for another receiver ends the scan
    };
    const Case cases[] = {{"scan ends after the last index", false},
                          {"scan ends at a foreign transfer vessel", true}};
    dock();
    walkerAt("CKit_Doc-Ann_Lee", {0, 0, 9}, {31, 65, 58});
    walkerAt("CKit_Eng-Bob_Ray_Long_Name_Longer_Than_Fits", {0, 0, -9}, {44, 72, 81.5});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.foreignTransferLast) {
            const VECTOR3 data{20, 60, 70};
            addWalker("CKitTElsewhere", &data);
        }
        std::memset(link().arrivalName, 'x', sizeof link().arrivalName);
        link().arrivalAge = 0;

        EXPECT_EQ(scanNow(), 0);
        // 39 characters of the second walker's name, underscores as spaces.
        EXPECT_STREQ(link().arrivalName, "CKit Eng-Bob Ray Long Name Longer Than ");
        EXPECT_EQ(link().arrivalAge, 44);
        EXPECT_EQ(link().arrivalPulse, 72);
        EXPECT_EQ(link().arrivalWeight, 81);
        EXPECT_TRUE(exists("CKit_Doc-Ann_Lee"));
    }
}

TEST_F(CrewArrivalTest, WalkerWithTagAndTwoWordsComesAboardWithTheFocus) {
    dock();
    VESSEL* walker = walkerAt("CKit_Doc-Two_Words", {1, 1, 1}, {35, 70, 62.9});
    vapiSetFocusObject(walker->GetHandle());

    EXPECT_EQ(scanNow(), 1);
    const CrewManager& crew = dock()->crew;
    ASSERT_EQ(crew.GetCrewCount(), 1);
    EXPECT_STREQ(crew.GetCrewNameBySlot(0), "Two Words");
    EXPECT_STREQ(crew.GetCrewMiscIdBySlot(0), "Doc");
    EXPECT_EQ(crew.GetCrewAgeBySlot(0), 35);
    EXPECT_EQ(crew.roster[0].pulse, 70);
    EXPECT_EQ(crew.roster[0].weight, 62.0);
    EXPECT_STREQ(crew.GetLastArrivedName(), "Two Words");
    EXPECT_FALSE(exists("CKit_Doc-Two_Words"));
    EXPECT_EQ(vapiGetFocusObject(), dock()->GetHandle());
    EXPECT_EQ(dock()->GetEmptyMass(), kCarrierMass + 62.0);
    EXPECT_EQ(publishedPoint(*dock())[8], 49.0);
}

struct LabelCase {
    const char* vesselName;
    const char* name; // as the roster keeps it
    const char* tag;
    const char* arrived; // lastArrivedName: the name before the roster cleans it
};

TEST_F(CrewArrivalTest, LabelSplitsAtTheFirstHyphenIntoTagAndName) {
    const LabelCase cases[] = {
        {"CKit_Bob_Ray", "Bob Ray", "", "Bob Ray"},
        {"CKit_Eng-Al-Bo", "Al Bo", "Eng", "Al-Bo"},
        {"CKit_-Lone", "Lone", "", "Lone"},
        {"CKit_Ann1", "Ann1", "", "Ann1"},
        {"CKit_Engineer-Bo", "Bo", "Engi", "Bo"},
        {"CKit_Abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqrstuvwxy", "",
         "Abcdefghijklmnopqrstuvwxy"},
        {"CKit_Sci-Abcdefghijklmnopqrstuvwxyz0123456789", "Abcdefghijklmnopqrstuvwxy", "Sci",
         "Abcdefghijklmnopqrstuvwxy"},
    };
    const CrewManager& crew = dock()->crew;
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.vesselName);
        walkerAt(c.vesselName, {0, 0, 0});
        ASSERT_EQ(scanNow(), 1);
        const int32_t slot = crew.GetCrewCount() - 1;
        EXPECT_STREQ(crew.GetCrewNameBySlot(slot), c.name);
        EXPECT_STREQ(crew.GetCrewMiscIdBySlot(slot), c.tag);
        EXPECT_STREQ(crew.GetLastArrivedName(), c.arrived);
    }
}

TEST_F(CrewArrivalTest, ForeignTransferVesselEndsEveryScanThatReachesIt) {
    dock();
    const VECTOR3 data{20, 60, 70};
    addWalker("CKitTElsewhere", &data);
    walkerAt("CKit_Ann", {0, 0, 0});
    const CrewExchangeRecord record = TransferRecord("CKit_Zed", 40, 60, 70);
    writeBytes(kTransferFile, &record, sizeof record);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scanNow(), 0);
    }
    EXPECT_TRUE(exists("CKit_Ann"));
    EXPECT_TRUE(fileExists(kTransferFile)) << "another receiver's file is left alone";

    ASSERT_TRUE(vapiDeleteVessel(vapiGetObjectByName("CKitTElsewhere")));
    EXPECT_EQ(scanNow(), 1);

    // One that comes after a walker in the vessel list only stops the scans after it.
    walkerAt("CKit_Bob", {0, 0, 0});
    addWalker("CKitTLater", &data);
    walkerAt("CKit_Cy", {0, 0, 0});
    EXPECT_EQ(scanNow(), 1);
    EXPECT_EQ(scanNow(), 0);
    EXPECT_TRUE(exists("CKit_Cy"));
    EXPECT_EQ(dock()->crew.GetCrewCount(), 2);
}

TEST_F(CrewArrivalTest, OwnTransferVesselIsTakenInWhereverItIsFromTheFile) {
    Carrier* other = addReadyCarrier("Other");
    dock();
    const CrewExchangeRecord record = TransferRecord("CKit_Sci-Eve Ray", 50, 65, 58);
    writeBytes(kTransferFile, &record, sizeof record);
    const VECTOR3 data{1, 2, 3};
    OBJHANDLE transfer = addWalker("CKitTDock", &data)->GetHandle();
    // Far outside the airlock: a transfer vessel needs no position test.
    placeAt("CKitTDock", "Dock", {500, 0, 0});
    vapiSetFocusObject(other->GetHandle());

    EXPECT_EQ(scanNow(), 2);
    EXPECT_FALSE(fileExists(kTransferFile));
    EXPECT_EQ(vapiGetVesselInterface(transfer), nullptr);
    const CrewManager& crew = dock()->crew;
    ASSERT_EQ(crew.GetCrewCount(), 1);
    EXPECT_STREQ(crew.GetCrewNameBySlot(0), "Eve Ray");
    EXPECT_STREQ(crew.GetCrewMiscIdBySlot(0), "Sci");
    EXPECT_EQ(crew.GetCrewAgeBySlot(0), 50);
    EXPECT_EQ(crew.roster[0].pulse, 65);
    EXPECT_EQ(crew.roster[0].weight, 58.0);
    EXPECT_EQ(vapiGetFocusObject(), other->GetHandle()) << "a transfer leaves the focus alone";
}

struct FileCase {
    const char* what;
    bool present;
    std::string bytes;
    const char* name;
    const char* tag;
    int32_t age, pulse;
    double weight;
};

std::string Bytes(const CrewExchangeRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST_F(CrewArrivalTest, BrokenTransferFileIsDeletedAndReadNoFurtherThanItsRecord) {
    const CrewExchangeRecord kept = TransferRecord("CKit_Cap-Old Hand", 60, 61, 62);
    const std::string valid = Bytes(TransferRecord("CKit_Eng-New Hand", 30, 40, 50));
    const CrewExchangeRecord negative = TransferRecord("CKit_Neg", -5, -1, -70);
    const std::string xs(25, 'x'), spaces(25, ' ');
    const FileCase cases[] = {
        {"missing", false, "", "Old Hand", "Cap", 60, 61, 62},
        {"empty", true, "", "Old Hand", "Cap", 60, 61, 62},
        {"one byte short", true, valid.substr(0, 103), "Old Hand", "Cap", 60, 61, 62},
        {"garbage without a terminator", true, std::string(104, 'x'), xs.c_str(), "", 140, 180,
         300},
        {"only hyphens", true, std::string(104, '-'), spaces.c_str(), "", 140, 180, 300},
        {"longer than a record", true, valid + std::string(96, '\xff'), "New Hand", "Eng", 30, 40,
         50},
        {"name shorter than the prefix", true, Bytes(TransferRecord("Bob", 30, 40, 50)), "", "", 30,
         40, 50},
        {"negative numbers", true, Bytes(negative), "Neg", "", 1, 0, 5},
    };
    const CrewManager& crew = dock()->crew;
    const VECTOR3 data{1, 2, 3};
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        crewExchangeBuffer = kept;
        if (c.present) {
            writeBytes(kTransferFile, c.bytes.data(), c.bytes.size());
        } else {
            removeFile(kTransferFile);
        }
        addWalker("CKitTDock", &data);
        ASSERT_EQ(scanNow(), 2);
        EXPECT_FALSE(fileExists(kTransferFile));
        EXPECT_FALSE(exists("CKitTDock"));
        const int32_t slot = crew.GetCrewCount() - 1;
        ASSERT_GE(slot, 0);
        EXPECT_STREQ(crew.GetCrewNameBySlot(slot), c.name);
        EXPECT_STREQ(crew.GetCrewMiscIdBySlot(slot), c.tag);
        EXPECT_EQ(crew.GetCrewAgeBySlot(slot), c.age);
        EXPECT_EQ(crew.roster[slot].pulse, c.pulse);
        EXPECT_EQ(crew.roster[slot].weight, c.weight);
        if (c.bytes.size() >= sizeof kept) {
            EXPECT_EQ(std::memcmp(&crewExchangeBuffer, c.bytes.data(), sizeof kept), 0)
                << "the buffer holds the file's first record";
        } else {
            EXPECT_EQ(std::memcmp(&crewExchangeBuffer, &kept, sizeof kept), 0)
                << "a short or missing file leaves the buffer alone";
        }
    }
}

} // namespace
} // namespace crewtest
