// Random, seeded operations on the demo world, every invariant checked after each. A failure
// names its seed S, which PROPERTY_FIRST_SEED=S PROPERTY_SEEDS=1 replays.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "tests/property/ColonyInvariants.h"
#include "tests/support/TestRoot.h"

namespace {

using namespace colonycheck;

// The first ten for the ships, E common so that people leave and A rare since a closed
// airlock stops all traffic; the rest walk.
constexpr std::uint32_t kKeys[] = {VXK_E,    VXK_E,     VXK_E,     VXK_1,   VXK_1,  VXK_2,
                                   VXK_A,    VXK_S,     VXK_C,     VXK_M,   VXK_UP, VXK_DOWN,
                                   VXK_LEFT, VXK_RIGHT, VXK_PRIOR, VXK_NEXT};
constexpr double kSteps[] = {0.01, 0.1, 0.26, 0.5, 1.0, 5.0, 31.0};

TEST(ColonyProperty, RandomOperationsKeepEveryInvariantAndReachEveryKindOfTraffic) {
    const char* const from[] = {std::getenv("PROPERTY_FIRST_SEED"), std::getenv("PROPERTY_SEEDS")};
    const long first = from[0] != nullptr ? std::atol(from[0]) : 1;
    const long seeds = from[1] != nullptr ? std::atol(from[1]) : 100;
    vx::ScenarioDoc demo;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText(vxtest::readFile(VX_DEMO_SCENARIO), "demo.scn", demo, error))
        << error;
    ColonyDriver driver; // one world a seed, the traffic summed over all
    for (long seed = first; seed < first + seeds; ++seed) {
        const vxtest::TestRoot root;
        ASSERT_TRUE(driver.start(demo, error)) << error;
        std::uint64_t state = static_cast<std::uint64_t>(seed);
        const auto below = [&state](std::size_t n) { // the same on every platform
            std::uint64_t z = state += 0x9E3779B97F4A7C15ull;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            return (z ^ (z >> 31)) % n;
        };
        std::string done, broken;
        for (long n = 0; n < 200 && broken.empty(); ++n) {
            vx::World& world = driver.world();
            const auto& all = world.vessels(); // the colony and the tender, then the walkers
            vx::VesselRecord* ship = all[below(2)];
            vx::VesselRecord* walker = all.size() > 2 ? all[2 + below(all.size() - 2)] : nullptr;
            vx::VesselRecord* on = walker != nullptr && below(3) == 0 ? walker : ship;
            const std::size_t op = below(100), mod = below(24), b = below(7);
            done += "  " + std::to_string(op) + " " + std::to_string(mod) + " " +
                    std::to_string(b) + " " + on->name + " " + ship->name + "\n";
            if (op < 40) { // now and then with Shift or Ctrl, on either side
                world.setFocus(on);
                world.pressKey({kKeys[below(on == ship ? 10 : std::size(kKeys))], mod == 1,
                                mod == 2, mod == 3, mod == 4, "key"});
            } else if (op < 66) {
                for (std::size_t i = 0; i <= mod % 4; ++i) {
                    world.step(kSteps[b]);
                }
            } else if (op < 84 && walker != nullptr) {
                world.place(walker, ship, SpotIn(*ship, static_cast<Spot>(b % 4 == 3)));
            } else if (op >= 84 && op < 92) {
                world.dock(all[1], 0, all[0], mod % 4 == 0 ? b % 4 + 1 : 0, error);
            } else if (op >= 92 && op < 99) {
                world.undock(ship, 0, error);
            } else if (op == 99) { // a save and a reload
                broken = driver.reload();
            }
            broken = broken.empty() ? driver.check(op >= 40 && op < 66) : broken;
        }
        ASSERT_EQ(broken, "") << "seed " << seed << "; replay with PROPERTY_FIRST_SEED=" << seed
                              << " PROPERTY_SEEDS=1; operations (op, modifier, choice):\n"
                              << done;
    }
    const ColonyDriver::Tally& t = driver.tally;
    if (seeds >= 100) { // a replay of one seed need not see every kind
        EXPECT_GT(t.evas * t.transfers * t.arrivals * t.fullLosses, 0)
            << t.evas << " EVAs, " << t.transfers << " transfers, " << t.arrivals << " arrivals, "
            << t.fullLosses << " lost at a full roster";
    }
}

} // namespace
