// Random, seeded operations on the demo world: keys on the colony, the tender and the walkers,
// steps of various lengths, walkers put in and around airlocks, docking, undocking and reloads,
// every invariant checked after each. A failure names its seed and operations;
//   PROPERTY_FIRST_SEED=S PROPERTY_SEEDS=1 ctest -R property
// replays it, and PROPERTY_SEEDS and PROPERTY_OPERATIONS make the run longer.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "tests/property/ColonyInvariants.h"
#include "tests/support/TestRoot.h"

namespace colonycheck {
namespace {

long Env(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atol(text) : fallback;
}

// The same numbers on every platform, unlike the standard distributions.
std::size_t Below(std::uint64_t& state, std::size_t n) {
    std::uint64_t z = state += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (z ^ (z >> 31)) % n;
}

// The first ten for the ships: E common so that people leave, A rare since a closed airlock
// stops all traffic; the rest walk.
constexpr std::uint32_t kKeys[] = {VXK_E,  VXK_E,    VXK_E,    VXK_1,     VXK_1,     VXK_2,
                                   VXK_A,  VXK_S,    VXK_C,    VXK_M,     VXK_UP,    VXK_DOWN,
                                   VXK_UP, VXK_DOWN, VXK_LEFT, VXK_RIGHT, VXK_PRIOR, VXK_NEXT};
constexpr double kSteps[] = {0.01, 0.1, 0.26, 0.5, 1.0, 5.0, 31.0};

// Performs one operation and says what it did; broken is what a reload found.
std::string Operate(ColonyDriver& driver, std::uint64_t& random, bool& timeRan,
                    std::string& broken) {
    vx::World& world = driver.world();
    const auto& all = world.vessels(); // the colony and the tender, then the walking crew
    vx::VesselRecord* ship = all[Below(random, 2)];
    vx::VesselRecord* walker = all.size() > 2 ? all[2 + Below(random, all.size() - 2)] : nullptr;
    vx::VesselRecord* on = walker != nullptr && Below(random, 3) == 0 ? walker : ship;
    const std::size_t op = Below(random, 100), mod = Below(random, 24), b = Below(random, 7);
    const std::string what = std::to_string(op) + " " + std::to_string(mod) + " " +
                             std::to_string(b) + " on " + on->name + " " + ship->name + " " +
                             (walker != nullptr ? walker->name : ""); // before a reload
    timeRan = op >= 40 && op < 66;
    std::string reason;
    if (op < 40) { // now and then with Shift or Ctrl, on either side
        world.setFocus(on);
        world.pressKey({kKeys[Below(random, on == ship ? 10 : std::size(kKeys))], mod == 1,
                        mod == 2, mod == 3, mod == 4, "key"});
        return what;
    }
    for (std::size_t i = 0; timeRan && i <= mod % 4; ++i) {
        world.step(kSteps[b]);
    }
    if (op >= 66 && op < 84 && walker != nullptr) {
        world.place(walker, ship, SpotIn(*ship, static_cast<Spot>(b % 3)));
    } else if (op >= 84 && op < 92) {
        world.dock(all[1], 0, all[0], mod % 4 == 0 ? b % 4 + 1 : 0, reason);
    } else if (op >= 92 && op < 99) {
        world.undock(ship, 0, reason);
    } else if (op == 99) { // a save and a reload
        broken = driver.reload();
    }
    return what + " " + reason;
}

TEST(ColonyProperty, RandomOperationsKeepEveryInvariantAndReachEveryKindOfTraffic) {
    const long first = Env("PROPERTY_FIRST_SEED", 1), seeds = Env("PROPERTY_SEEDS", 100),
               operations = Env("PROPERTY_OPERATIONS", 200);
    vx::ScenarioDoc demo;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText(vxtest::readFile(VX_DEMO_SCENARIO), "demo.scn", demo, error))
        << error;
    ColonyDriver driver; // one world a seed, the traffic summed over all
    for (long seed = first; seed < first + seeds; ++seed) {
        const vxtest::TestRoot root;
        ASSERT_TRUE(driver.start(demo, error)) << error;
        std::uint64_t random = static_cast<std::uint64_t>(seed);
        std::string done, broken;
        for (long op = 0; op < operations && broken.empty(); ++op) {
            bool timeRan = false;
            done += "  " + Operate(driver, random, timeRan, broken) + "\n";
            broken = broken.empty() ? driver.check(timeRan) : broken;
        }
        ASSERT_EQ(broken, "") << "seed " << seed << "; replay with PROPERTY_FIRST_SEED=" << seed
                              << " PROPERTY_SEEDS=1; operations (op, modifier, choice):\n"
                              << done;
    }
    const ColonyDriver::Tally& t = driver.tally;
    if (seeds * operations >= 20000) { // a replay of one seed need not see every kind
        EXPECT_GT(t.evas * t.transfers * t.arrivals * t.fullLosses, 0)
            << t.evas << " EVAs, " << t.transfers << " transfers, " << t.arrivals << " arrivals, "
            << t.fullLosses << " lost at a full roster";
    }
}

} // namespace
} // namespace colonycheck
