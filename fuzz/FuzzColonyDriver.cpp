// The colony at work, driven by the input: the demo world (the colony with a tender docked and
// the walking crew's class, all loaded from the module folder) and then one operation per few
// input bytes: keys with modifiers on the focus vessel, focus changes, steps of various
// lengths, a vessel placed in another's frame (into its airlock, just outside, far off), dock
// and undock, delete, and save with a reload into a fresh world. After every operation every
// crew manager must hold a roster within its seats, publish the free seats it has, carry its
// crew in its mass, and nobody may appear or vanish: the people on the rosters and the walking
// or crossing crew vessels add up to those the world began with, less those taken in at a
// full roster. The checks are the property test's, in tests/property/.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzModuleState.h"
#include "fuzz/FuzzRoot.h"
#include "fuzz/FuzzText.h"
#include "host/Keys.h"
#include "host/Vantrix.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "tests/property/ColonyInvariants.h"

namespace {

using fuzztext::Require;
constexpr char kSource[] = "demo.scn";
constexpr int kMaxOperations = 96;
constexpr int kMaxReloads = 3;

// Input bytes, read on demand; past the end every byte is zero.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::uint32_t kKeys[] = {VXK_E,     VXK_1,     VXK_2,    VXK_A,    VXK_S,
                                   VXK_C,     VXK_M,     VXK_UP,   VXK_DOWN, VXK_LEFT,
                                   VXK_RIGHT, VXK_PRIOR, VXK_NEXT, VXK_0,    VXK_3};
constexpr double kSteps[] = {0.0, 0.01, 0.1, 0.26, 0.5, 1.0, 5.0, 31.0};

vx::ScenarioDoc demo;
// The three modules, loaded for good, each put back to its fresh state before every input.
std::vector<std::unique_ptr<fuzzmodule::Snapshot>> modules;

// Stops the process on whatever the checks found broken.
void RequireClean(const std::string& broken) {
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        Require(false, "the colony world's invariants");
    }
}

vx::KeySpec Key(uint8_t which, uint8_t modifiers) {
    // Most presses are plain: a modifier only when the high bit asks for one.
    const bool any = (modifiers & 0x80) != 0;
    return {kKeys[which % std::size(kKeys)], any && (modifiers & 1) != 0,
            any && (modifiers & 2) != 0,     any && (modifiers & 4) != 0,
            any && (modifiers & 8) != 0,     "key"};
}

vx::VesselRecord* Pick(vx::World& world, uint8_t byte) {
    const auto& vessels = world.vessels();
    return vessels.empty() ? nullptr : vessels[byte % vessels.size()];
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    fuzzroot::Enter("/tmp/fuzz-colony-driver", VX_FUZZ_MODULE_FOLDER);
    fuzzroot::WriteFile("meshes/CKit/ver.dtf", "2.0\n", 4);
    for (const char* name : {"halcyra", "Tender", "CKit"}) {
        modules.push_back(
            std::make_unique<fuzzmodule::Snapshot>(std::string("modules/") + name + ".dll"));
    }
    std::ifstream in(VX_FUZZ_DEMO_SCENARIO, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!in || !vx::parseScenarioText(text.str(), kSource, demo, error)) {
        std::fprintf(stderr, "demo scenario: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    for (auto& module : modules) {
        module->Restore();
    }
    colonycheck::ColonyDriver driver;
    std::string error;
    Require(driver.start(demo, error), "the demo loads");
    RequireClean(driver.check(false));
    int reloads = 0;
    Bytes in(data, size);
    for (int op = 0; op < kMaxOperations && !in.empty(); ++op) {
        vx::World& world = driver.world();
        const uint8_t code = in.next();
        const uint8_t how = code % 8 == 2 ? in.next() : 0;
        const int steps = 1 + (how >> 3) % 4;
        const double dt = kSteps[how % std::size(kSteps)];
        switch (code % 8) {
        case 0: {
            const uint8_t which = in.next();
            world.pressKey(Key(which, in.next()));
            break;
        }
        case 1:
            world.setFocus(Pick(world, in.next()));
            break;
        case 2:
            for (int i = 0; i < steps; ++i) {
                world.step(dt);
            }
            break;
        case 3: {
            vx::VesselRecord* mover = Pick(world, in.next());
            vx::VesselRecord* ref = Pick(world, in.next());
            const uint8_t where = in.next();
            if (mover != nullptr && ref != nullptr && mover != ref) {
                world.place(mover, ref,
                            colonycheck::SpotIn(*ref, static_cast<colonycheck::Spot>(where % 2)));
            }
            break;
        }
        case 4: {
            vx::VesselRecord* a = Pick(world, in.next());
            const uint8_t portA = in.next();
            vx::VesselRecord* b = Pick(world, in.next());
            const uint8_t portB = in.next();
            std::string reason;
            if (a != nullptr && b != nullptr) {
                world.dock(a, portA % 6, b, portB % 6, reason);
            }
            break;
        }
        case 5: {
            vx::VesselRecord* a = Pick(world, in.next());
            const uint8_t port = in.next();
            std::string reason;
            if (a != nullptr) {
                world.undock(a, port % 6, reason);
            }
            break;
        }
        case 6:
            if (reloads < kMaxReloads) {
                ++reloads;
                RequireClean(driver.reload());
            }
            break;
        default: {
            // Only crew vessels: a colony or a ship deleted takes its roster with it.
            vx::VesselRecord* doomed = Pick(world, in.next());
            if (doomed != nullptr && doomed->className == "CKit") {
                world.deleteVessel(doomed);
                driver.check(false); // no loss: the people are counted anew from here
            }
            break;
        }
        }
        const std::string broken = driver.check(code % 8 == 2);
        if (!broken.empty()) {
            std::fprintf(stderr, "after operation %d (code %d): %s\n", op, code % 8,
                         broken.c_str());
            Require(false, "the colony world's invariants");
        }
    }
    return 0;
}
