// Random, seeded operations on the demo world: keys on the colony, the tender and the walkers,
// steps of various lengths, walkers put in and around airlocks, docking, undocking and reloads,
// every invariant checked after each. A failure names its seed and its operations;
//   PROPERTY_FIRST_SEED=S PROPERTY_SEEDS=1 ctest -R property
// replays it, and PROPERTY_SEEDS and PROPERTY_OPERATIONS make the run longer.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "tests/property/ColonyInvariants.h"
#include "tests/support/TestRoot.h"

namespace colonycheck {
namespace {

long Env(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// The same numbers on every platform, unlike the standard distributions.
struct Random {
    std::uint64_t state;
    int below(std::size_t n) {
        std::uint64_t z = state += 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<int>((z ^ (z >> 31)) % n);
    }
    template <typename T, std::size_t N> T of(const T (&items)[N]) { return items[below(N)]; }
};

// E is common so that people leave; A rare, since a closed airlock stops all traffic.
constexpr std::uint32_t kKeys[] = {VXK_E,    VXK_E,     VXK_E,     VXK_1,   VXK_1,  VXK_2,
                                   VXK_A,    VXK_S,     VXK_C,     VXK_M,   VXK_UP, VXK_DOWN,
                                   VXK_LEFT, VXK_RIGHT, VXK_PRIOR, VXK_NEXT};
constexpr double kSteps[] = {0.01, 0.1, 0.26, 0.5, 1.0, 5.0, 31.0};
constexpr Spot kSpots[] = {Spot::Inside, Spot::Inside, Spot::JustBeyond, Spot::FarOff};

// Performs one operation and describes it; timeRan tells whether it ran steps.
std::string Operate(ColonyDriver& driver, Random& random, bool& timeRan, int& reloads) {
    vx::World& world = driver.world();
    std::vector<vx::VesselRecord*> walkers,
        ships{world.findVessel("Halcyra"), world.findVessel("Tender")};
    for (vx::VesselRecord* vessel : world.vessels()) {
        if (vessel->className == "CKit") {
            walkers.push_back(vessel);
        }
    }
    vx::VesselRecord* ship = ships[random.below(2)];
    vx::VesselRecord* walker = walkers.empty() ? nullptr : walkers[random.below(walkers.size())];
    const int op = random.below(100);
    timeRan = op >= 40 && op < 66;
    std::string reason;
    if (op < 40) {
        vx::VesselRecord* on = op < 30 || walker == nullptr ? ship : walker;
        const std::uint32_t code = random.of(kKeys);
        const int mod = random.below(24); // now and then Shift or Ctrl, on either side
        world.setFocus(on);
        world.pressKey({code, mod == 1, mod == 2, mod == 3, mod == 4, "key"});
        return "key " + std::to_string(code) + " with " + std::to_string(mod) + " on " + on->name;
    } else if (timeRan) {
        const double dt = random.of(kSteps);
        const int count = 1 + random.below(4);
        for (int i = 0; i < count; ++i) {
            world.step(dt);
        }
        return std::to_string(count) + " steps of " + std::to_string(dt);
    } else if (op < 84 && walker != nullptr) {
        const Spot spot = random.of(kSpots);
        world.place(walker, ship, SpotIn(*ship, spot));
        return "place " + walker->name + " at " + std::to_string(int(spot)) + " of " + ship->name;
    } else if (op < 92) {
        const unsigned port = random.below(4) == 0 ? 1 + random.below(4) : 0;
        world.dock(ships[1], 0, ships[0], port, reason);
        return "dock at " + std::to_string(port) + " " + reason;
    } else if (op < 99 || reloads == 3) {
        world.undock(ship, 0, reason);
        return "undock " + ship->name + " " + reason;
    }
    ++reloads;
    const std::string broken = driver.reload();
    return "reload" + (broken.empty() ? "" : ": " + broken);
}

TEST(ColonyProperty, RandomOperationsKeepEveryInvariantAndReachEveryKindOfTraffic) {
    const long first = Env("PROPERTY_FIRST_SEED", 1), seeds = Env("PROPERTY_SEEDS", 100),
               operations = Env("PROPERTY_OPERATIONS", 200);
    vx::ScenarioDoc demo;
    std::string error;
    ASSERT_TRUE(vx::parseScenarioText(vxtest::readFile(VX_DEMO_SCENARIO), "demo.scn", demo, error))
        << error;
    ColonyDriver::Tally total;
    for (long seed = first; seed < first + seeds; ++seed) {
        const vxtest::TestRoot root;
        ColonyDriver driver;
        ASSERT_TRUE(driver.start(demo, error)) << error;
        Random random{static_cast<std::uint64_t>(seed)};
        std::string done, broken = driver.check(false);
        for (int op = 0, reloads = 0; op < operations && broken.empty(); ++op) {
            bool timeRan = false;
            done += "  " + Operate(driver, random, timeRan, reloads) + "\n";
            broken = done.find("reload: ") != std::string::npos ? done : driver.check(timeRan);
        }
        ASSERT_EQ(broken, "") << "seed " << seed << ", replay with PROPERTY_FIRST_SEED=" << seed
                              << " PROPERTY_SEEDS=1; operations:\n"
                              << done;
        total.evas += driver.tally.evas;
        total.transfers += driver.tally.transfers;
        total.arrivals += driver.tally.arrivals;
        total.fullLosses += driver.tally.fullLosses;
    }
    std::printf("%ld EVAs, %ld transfers, %ld arrivals, %ld lost at a full roster\n", total.evas,
                total.transfers, total.arrivals, total.fullLosses);
    if (seeds * operations >= 20000) { // a replay of one seed need not see everything
        EXPECT_GT(total.evas, 0);
        EXPECT_GT(total.transfers, 0);
        EXPECT_GT(total.arrivals, 0);
        EXPECT_GT(total.fullLosses, 0);
    }
}

} // namespace
} // namespace colonycheck
