// Random, seeded operations on the demo world: keys on the colony and the tender, steps of
// various lengths, walkers put in and around airlocks or walked with their own keys, docking,
// undocking and reloads. Every invariant is checked after every operation; a failure names the
// seed, the operation and the operations so far, so that
//   PROPERTY_FIRST_SEED=S PROPERTY_SEEDS=1 ctest --preset dev -R property
// replays it. PROPERTY_SEEDS and PROPERTY_OPERATIONS make the run longer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "tests/property/ColonyInvariants.h"
#include "tests/property/PropertyRoot.h"

namespace colonycheck {
namespace {

constexpr long kDefaultSeeds = 100;
constexpr long kDefaultOperations = 200;
constexpr int kMaxReloads = 3;
constexpr int kMaxReports = 3;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0 ? value : fallback;
}

// Reproducible on every platform, unlike the standard distributions.
class Random {
public:
    // Hashed, so that neighbouring seeds do not give the same stream one number apart.
    explicit Random(std::uint64_t seed) : state_(Mix(seed ^ 0x5DEECE66Dull)) {}
    std::uint64_t next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& of(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    static std::uint64_t Mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

enum class Op { ColonyKey, TenderKey, Step, PlaceWalker, WalkWalker, Dock, Undock, Reload };

constexpr int kOpKinds = 8;

// How a sequence leans. Evenly mixed sequences go everywhere a little; the others stay on one
// errand long enough to finish it: the tender filled up by the colony's crossings until a
// walker meets a full cabin, or crew walking between two undocked vessels.
struct Profile {
    const char* name;
    int weights[kOpKinds]; // in the order of Op
    int intoTender;        // percent of placements into the tender's frame
};

constexpr Profile kProfiles[] = {
    {"mixed", {18, 9, 26, 16, 9, 10, 8, 2}, 50},
    {"fill the tender", {34, 2, 26, 16, 4, 10, 6, 2}, 85},
    {"walkabout", {20, 8, 24, 22, 12, 4, 8, 2}, 50},
};

// E is common so that people leave; A rare, since a closed airlock stops all traffic.
constexpr std::uint32_t kColonyKeys[] = {VXK_E, VXK_E, VXK_E, VXK_E, VXK_1,  VXK_1, VXK_2,
                                         VXK_A, VXK_S, VXK_C, VXK_M, VXK_UP, VXK_0};
constexpr std::uint32_t kTenderKeys[] = {VXK_E, VXK_E, VXK_E, VXK_1, VXK_2, VXK_A, VXK_S};
constexpr std::uint32_t kWalkKeys[] = {VXK_UP,    VXK_DOWN, VXK_LEFT, VXK_RIGHT,
                                       VXK_PRIOR, VXK_NEXT, VXK_E};
constexpr double kSteps[] = {0.01, 0.1, 0.26, 0.26, 0.5, 0.5, 1.0, 5.0, 31.0};
constexpr Spot kSpots[] = {Spot::Inside,     Spot::Inside, Spot::Inside, Spot::Inside,
                           Spot::OnFace,     Spot::OnFace, Spot::AtDock, Spot::JustBeyond,
                           Spot::JustBeyond, Spot::FarOff};
constexpr const char* kSpotNames[kSpotCount] = {"inside", "just beyond", "on the face", "at dock",
                                                "far off"};

Op ChooseOperation(const Profile& profile, Random& random) {
    int total = 0;
    for (int weight : profile.weights) {
        total += weight;
    }
    int pick = random.below(total);
    for (int kind = 0; kind < kOpKinds; ++kind) {
        if (pick < profile.weights[kind]) {
            return static_cast<Op>(kind);
        }
        pick -= profile.weights[kind];
    }
    return Op::Step;
}

vx::VesselRecord* FirstOfClass(vx::World& world, const char* className) {
    for (vx::VesselRecord* vessel : world.vessels()) {
        if (vessel->className == className) {
            return vessel;
        }
    }
    return nullptr;
}

vx::VesselRecord* AnyWalker(vx::World& world, Random& random) {
    std::vector<vx::VesselRecord*> walkers;
    for (vx::VesselRecord* vessel : world.vessels()) {
        if (vessel->className == "CKit") {
            walkers.push_back(vessel);
        }
    }
    return walkers.empty()
               ? nullptr
               : walkers[static_cast<std::size_t>(random.below(static_cast<int>(walkers.size())))];
}

std::string KeyName(std::uint32_t code) {
    switch (code) {
    case VXK_E:
        return "E";
    case VXK_1:
        return "1";
    case VXK_2:
        return "2";
    case VXK_A:
        return "A";
    case VXK_S:
        return "S";
    case VXK_C:
        return "C";
    case VXK_UP:
        return "Up";
    case VXK_DOWN:
        return "Down";
    case VXK_LEFT:
        return "Left";
    case VXK_RIGHT:
        return "Right";
    case VXK_PRIOR:
        return "PgUp";
    case VXK_NEXT:
        return "PgDn";
    default:
        return "code " + std::to_string(code);
    }
}

// Mostly plain presses; now and then Shift or Ctrl, on either side.
std::string PressOn(vx::World& world, vx::VesselRecord* vessel, std::uint32_t code,
                    Random& random) {
    if (vessel == nullptr) {
        return "key " + KeyName(code) + ": no such vessel";
    }
    world.setFocus(vessel);
    bool mods[4] = {};
    std::string shown;
    if (random.chance(15)) {
        const int which = random.below(4);
        mods[which] = true;
        static constexpr const char* kModNames[] = {"lshift+", "rshift+", "lctrl+", "rctrl+"};
        shown = kModNames[which];
    }
    world.pressKey(MakeKey(code, mods[0], mods[1], mods[2], mods[3]));
    return "key " + shown + KeyName(code) + " on " + vessel->name;
}

struct SequenceResult {
    std::string failure; // empty when every operation kept every invariant
    int failedAt = -1;
    const char* profile = "";
    std::vector<std::string> operations;
    Tally tally;
};

class Sequence {
public:
    Sequence(std::uint64_t seed, long operations)
        : random_(seed), operations_(operations), profile_(random_.of(kProfiles)) {}

    SequenceResult run(const vx::ScenarioDoc& demo) {
        PropertyRoot root;
        if (!root.ready()) {
            result_.failure = "no root folder";
            return result_;
        }
        std::string error;
        if (!driver_.start(demo, error)) {
            result_.failure = "the demo does not load: " + error;
            return result_;
        }
        if (std::string broken = driver_.check(); !broken.empty()) {
            result_.failure = "the demo as loaded: " + broken;
            return result_;
        }
        result_.profile = profile_.name;
        for (long op = 0; op < operations_; ++op) {
            const Op kind = ChooseOperation(profile_, random_);
            const bool advancesTime = kind == Op::Step;
            if (advancesTime) {
                stepLength_ = random_.of(kSteps);
                stepCount_ = 1 + random_.below(4);
            }
            PeopleAudit audit;
            audit.before(driver_, advancesTime, advancesTime ? stepLength_ * stepCount_ : 0.0);
            const Tally was = result_.tally;
            result_.operations.push_back(perform(kind));
            std::string broken = reloadFailure_;
            if (broken.empty()) {
                broken = driver_.check();
            }
            if (broken.empty()) {
                broken = audit.after(driver_, result_.tally);
            }
            std::string& described = result_.operations.back();
            if (result_.tally.arrivals > was.arrivals) {
                described +=
                    ", " + std::to_string(result_.tally.arrivals - was.arrivals) + " came aboard";
            }
            if (advancesTime && audit.allowedLosses() > 0) {
                described += ", " + std::to_string(result_.tally.fullLosses - was.fullLosses) +
                             " of " + std::to_string(audit.allowedLosses()) +
                             " that may be lost were";
            }
            if (!broken.empty()) {
                result_.failure = broken;
                result_.failedAt = static_cast<int>(op);
                break;
            }
        }
        return result_;
    }

private:
    std::string perform(Op kind) {
        vx::World& world = driver_.world();
        vx::VesselRecord* colony = FirstOfClass(world, "halcyra");
        vx::VesselRecord* ship = FirstOfClass(world, "Tender");
        switch (kind) {
        case Op::ColonyKey:
            return PressOn(world, colony, random_.of(kColonyKeys), random_);
        case Op::TenderKey:
            return PressOn(world, ship, random_.of(kTenderKeys), random_);
        case Op::Step: {
            for (int i = 0; i < stepCount_; ++i) {
                world.step(stepLength_);
            }
            return "step " + std::to_string(stepLength_) + " x" + std::to_string(stepCount_);
        }
        case Op::PlaceWalker: {
            vx::VesselRecord* walker = AnyWalker(world, random_);
            vx::VesselRecord* ref = random_.chance(profile_.intoTender) ? ship : colony;
            if (walker == nullptr || ref == nullptr) {
                return "place: nobody walking";
            }
            const Spot spot = random_.of(kSpots);
            world.place(walker, ref, SpotIn(*ref, spot));
            return "place " + walker->name + " " + kSpotNames[static_cast<int>(spot)] + " " +
                   ref->name;
        }
        case Op::WalkWalker: {
            vx::VesselRecord* walker = AnyWalker(world, random_);
            if (walker == nullptr) {
                return "walk: nobody walking";
            }
            return PressOn(world, walker, random_.of(kWalkKeys), random_);
        }
        case Op::Dock: {
            if (colony == nullptr || ship == nullptr) {
                return "dock: no pair";
            }
            const unsigned int port = random_.chance(75) ? 0u : 1u + random_.below(4);
            std::string reason;
            const bool docked = world.dock(ship, 0, colony, port, reason);
            return "dock Tender 0 to Halcyra " + std::to_string(port) +
                   (docked ? "" : ": " + reason);
        }
        case Op::Undock: {
            vx::VesselRecord* which = random_.chance(50) ? colony : ship;
            std::string reason;
            if (which == nullptr || !world.undock(which, 0, reason)) {
                return "undock: " + reason;
            }
            return "undock " + which->name + " 0";
        }
        case Op::Reload:
            if (reloads_ >= kMaxReloads) {
                return "reload: enough";
            }
            ++reloads_;
            reloadFailure_ = driver_.reload();
            return "save and reload";
        }
        return "nothing";
    }

    Random random_;
    long operations_;
    const Profile& profile_;
    ColonyDriver driver_;
    int reloads_ = 0;
    std::string reloadFailure_;
    double stepLength_ = 0.0; // the next step operation's, drawn before the state is noted
    int stepCount_ = 0;
    SequenceResult result_;
};

std::string Report(std::uint64_t seed, const SequenceResult& result) {
    std::string text = "seed " + std::to_string(seed) + ", operation " +
                       std::to_string(result.failedAt) + " (" + result.profile +
                       " sequence): " + result.failure +
                       "\nreplay: PROPERTY_FIRST_SEED=" + std::to_string(seed) +
                       " PROPERTY_SEEDS=1 ctest --preset dev -R property\noperations:\n";
    for (std::size_t i = 0; i < result.operations.size(); ++i) {
        text += "  " + std::to_string(i) + ": " + result.operations[i] + "\n";
    }
    return text;
}

TEST(ColonyProperty, RandomOperationsKeepEveryInvariantAndReachEveryKindOfTraffic) {
    const long seeds = EnvNumber("PROPERTY_SEEDS", kDefaultSeeds);
    const long operations = EnvNumber("PROPERTY_OPERATIONS", kDefaultOperations);
    const long firstSeed = EnvNumber("PROPERTY_FIRST_SEED", 1);
    // Every sequence's operations, failed or not, for reading what a seed does.
    const bool trace = EnvNumber("PROPERTY_TRACE", 0) != 0;
    vx::ScenarioDoc demo;
    std::string error;
    ASSERT_TRUE(LoadDemo(demo, error)) << error;

    Tally total;
    int failures = 0;
    for (long seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        const SequenceResult result =
            Sequence(static_cast<std::uint64_t>(seed), operations).run(demo);
        total.evas += result.tally.evas;
        total.transfers += result.tally.transfers;
        total.arrivals += result.tally.arrivals;
        total.fullLosses += result.tally.fullLosses;
        if (trace) {
            std::printf("%s", Report(static_cast<std::uint64_t>(seed), result).c_str());
        }
        if (!result.failure.empty()) {
            ADD_FAILURE() << Report(static_cast<std::uint64_t>(seed), result);
            if (++failures == kMaxReports) {
                break;
            }
        }
    }
    std::printf("%ld seeds from %ld, %ld operations each: %ld EVAs, %ld transfers, %ld arrivals, "
                "%ld lost at a full roster\n",
                seeds, firstSeed, operations, total.evas, total.transfers, total.arrivals,
                total.fullLosses);
    // A replay of one seed need not see everything; a run as long as the default must.
    if (seeds * operations >= kDefaultSeeds * kDefaultOperations) {
        EXPECT_GT(total.evas, 0) << "no one left on foot";
        EXPECT_GT(total.transfers, 0) << "no one crossed into a docked vessel";
        EXPECT_GT(total.arrivals, 0) << "no one came aboard";
        EXPECT_GT(total.fullLosses, 0) << "no one reached a full roster";
    }
}

} // namespace
} // namespace colonycheck
