// The host counts what a module's callbacks allocate, per class and callback, and leaves out
// what it allocates itself on the module's behalf.
#include <cstdlib>
#include <map>
#include <string>

#include "sim/world/AllocationGuard.h"
#include "sim/world/VesselCallbacks.h"
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

class AllocationGuardTest : public HostTest {
protected:
    // "Class clbkName" -> allocations, for every callback that allocated.
    std::map<std::string, std::uint64_t> tally() {
        std::map<std::string, std::uint64_t> counts;
        world().classes().forEachAllocation(
            [&](const std::string& name, GuardedCallback callback, std::uint64_t count) {
                counts[name + " " + guardedCallbackName(callback)] = count;
            });
        return counts;
    }
    void press(const char* spec) {
        KeySpec key;
        ASSERT_TRUE(parseKeySpec(spec, key)) << spec;
        world().pressKey(key);
    }
};

TEST_F(AllocationGuardTest, EachCallbackThatAllocatesIsCountedUnderItsClassAndName) {
    ASSERT_TRUE(allocationGuardAvailable());
    loadText("BEGIN_VESSEL Probe P\n  POS 7e6 0 0\n  HOARD 3\nEND_VESSEL\n");
    world().step(0.1);
    world().step(0.1);
    press("H");
    (void)world().scenarioText();
    const std::map<std::string, std::uint64_t> expected = {
        {"Probe clbkPreStep", 6},
        {"Probe clbkConsumeBufferedKey", 1},
        {"Probe clbkSaveState", 1},
    };
    EXPECT_EQ(tally(), expected);
    EXPECT_EQ(world().classes().moduleAllocations(), 8u);
}

// Each of these makes the host allocate for its own records from inside a callback.
TEST_F(AllocationGuardTest, HostWorkDoneForAModuleIsNotTheModules) {
    struct Case {
        const char* name;
        const char* block; // the probe's scenario lines
        const char* key;   // pressed after the first step, or null
    };
    const Case cases[] = {
        {"vessel created in a step", "  SPAWN Spawned\n", nullptr},
        {"vessel deleted in a step", "  VANISH\n", nullptr},
        {"vessel created by a key", "", "E"},
        {"log line and focus change", "", "L"},
        {"debug line", "", "G"},
        {"unclaimed scenario line", "  SOMETHING unclaimed\n", nullptr},
        {"scenario text of its own", "  MESSAGE hello\n  SPIN 0.5\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        endWorld();
        loadText(std::string("BEGIN_VESSEL Probe P\n  POS 7e6 0 0\n") + c.block + "END_VESSEL\n");
        world().step(0.1);
        if (c.key != nullptr) {
            press(c.key);
            press("1");
        }
        world().step(0.1);
        (void)world().scenarioText();
        EXPECT_TRUE(tally().empty()) << ::testing::PrintToString(tally());
    }
}

TEST_F(AllocationGuardTest, AllocationsOutsideCallbacksAreNotCounted) {
    loadText("BEGIN_VESSEL Probe P\n  POS 7e6 0 0\nEND_VESSEL\n");
    void* volatile block = std::malloc(64);
    std::free(block);
    world().step(0.1);
    auto* kept = new std::string(200, 'x');
    delete kept;
    EXPECT_EQ(world().classes().moduleAllocations(), 0u);
}

} // namespace
} // namespace vx::test
