// The colony at work, driven by the input: the demo world (the colony with a tender docked and
// the walking crew's class, all loaded from the module folder) and then one operation per few
// input bytes: keys with modifiers on the focus vessel, focus changes, steps of various
// lengths, a vessel placed in another's frame (into its airlock, just outside, far off), dock
// and undock, delete, and save with a reload into a fresh world. After every operation every
// crew manager must hold a roster within its seats, publish the free seats it has, carry its
// crew in its mass, and nobody may appear or vanish: the people on the rosters and the walking
// or crossing crew vessels always add up to those the world began with.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "addons/tender/Tender.h"
#include "fuzz/FuzzModuleState.h"
#include "fuzz/FuzzRoot.h"
#include "fuzz/FuzzText.h"
#include "host/Keys.h"
#include "host/Vantrix.h"
#include "sim/ScenarioText.h"
#include "sim/World.h"
#include "vessel/Halcyra.h"

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
int demoPeople = 0;
// The three modules, loaded for good, each put back to its fresh state before every input.
std::vector<std::unique_ptr<fuzzmodule::Snapshot>> modules;

// The crew point a crew manager publishes: id "CKit", for children.
ATTACHMENTHANDLE CrewPoint(const VESSEL& vessel) {
    for (unsigned int i = 0; i < vessel.AttachmentCount(false); ++i) {
        ATTACHMENTHANDLE point = vessel.GetAttachmentHandle(false, i);
        const char* id = vessel.GetAttachmentId(point);
        if (id != nullptr && std::strcmp(id, "CKit") == 0) {
            return point;
        }
    }
    return nullptr;
}

bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

class Driver {
public:
    bool start(const vx::ScenarioDoc& doc) {
        world_ = std::make_unique<vx::World>();
        world_->setWarningSink([](std::string_view) {});
        std::string error;
        if (!world_->load(doc, error)) {
            return false;
        }
        // The structure's mass is what the empty mass holds beside the crew; it never changes.
        structure_.clear();
        for (vx::VesselRecord* vessel : world_->vessels()) {
            if (const CrewManager* crew = crewOf(*vessel)) {
                structure_[vessel->name] =
                    vapiGetVesselInterface(vessel)->GetEmptyMass() - crew->crewMass;
            }
        }
        return true;
    }

    vx::World& world() { return *world_; }

    vx::VesselRecord* pick(uint8_t byte) const {
        const auto& vessels = world_->vessels();
        return vessels.empty() ? nullptr : vessels[byte % vessels.size()];
    }

    // The crew manager a vessel of ours carries, or null.
    static CrewManager* crewOf(vx::VesselRecord& vessel) {
        VESSEL* iface = vapiGetVesselInterface(&vessel);
        if (iface == nullptr) {
            return nullptr;
        }
        if (vessel.className == "halcyra") {
            return &static_cast<halcyra*>(iface)->crew;
        }
        if (vessel.className == "Tender") {
            tender::Tender* t = static_cast<tender::Tender*>(iface);
            return t->crewSetUp && !t->noCrew ? &t->crew : nullptr;
        }
        return nullptr;
    }

    // People the vessel carries: its roster, or itself for a walking or crossing member.
    static int peopleOn(vx::VesselRecord& vessel) {
        if (vessel.className == "CKit") {
            return 1;
        }
        const CrewManager* crew = crewOf(vessel);
        return crew != nullptr ? crew->crewCount : 0;
    }

    int people() const {
        int total = 0;
        for (vx::VesselRecord* vessel : world_->vessels()) {
            total += peopleOn(*vessel);
        }
        return total;
    }

    void checkCrew(vx::VesselRecord& vessel, const CrewManager& crew) const {
        Require(crew.readyFlags == 3, "crew manager ready");
        Require(crew.crewCount >= 0 && crew.crewCount <= crew.maxSeats, "crew within the seats");
        double mass = 0.0;
        for (int32_t slot = 0; slot < crew.crewCount; ++slot) {
            const CrewRecord& r = crew.roster[slot];
            Require(Terminated(r.name, sizeof r.name) && r.name[0] != '\0', "a member has a name");
            Require(Terminated(r.miscId, sizeof r.miscId), "tag terminated");
            mass += r.weight;
        }
        Require(mass == crew.crewMass, "crew mass is the sum of the weights");
        const VESSEL* iface = vapiGetVesselInterface(&vessel);
        const auto structure = structure_.find(vessel.name);
        if (structure != structure_.end()) {
            Require(iface->GetEmptyMass() == structure->second + crew.crewMass,
                    "empty mass is the structure and the crew");
        }
        ATTACHMENTHANDLE point = CrewPoint(*iface);
        Require(point != nullptr, "crew point published");
        VECTOR3 pos{}, dir{}, rot{};
        iface->GetAttachmentParams(point, pos, dir, rot);
        Require(rot.x == 0.0 || rot.x == 1.0, "airlock published open or closed");
        Require(rot.z == crew.maxSeats - crew.crewCount, "published free seats");
    }

    void check() const {
        const vx::VesselRecord* focus = world_->focus();
        Require(focus == nullptr || focus->alive, "focus on a live vessel");
        Require(Terminated(world_->debugText(), VAPI_DEBUG_STRING_SIZE), "debug line bounded");
        for (vx::VesselRecord* vessel : world_->vessels()) {
            Require(vessel->alive && !vessel->name.empty(), "a live vessel has a name");
            Require(world_->findVessel(vessel->name) == vessel, "found by its name");
            Require(vessel->name.find(' ') == std::string::npos || vessel->className != "CKit",
                    "crew vessels have no blanks in their names");
            VESSEL* iface = vapiGetVesselInterface(vessel);
            if (vessel->className == "halcyra") {
                const halcyra& colony = *static_cast<const halcyra*>(iface);
                Require(colony.crew.maxSeats == kSpacedockSeats, "the Spacedock's seats");
                Require(Terminated(colony.hudMessage, sizeof colony.hudMessage),
                        "HUD line bounded");
                Require(colony.selectedSlot >= 0 && (colony.selectedSlot == 0 ||
                                                     colony.selectedSlot < colony.crew.crewCount),
                        "selection within the roster");
                checkCrew(*vessel, colony.crew);
            } else if (vessel->className == "Tender") {
                const tender::Tender& ship = *static_cast<const tender::Tender*>(iface);
                Require(Terminated(ship.message, sizeof ship.message), "tender HUD line bounded");
                if (const CrewManager* crew = crewOf(*vessel)) {
                    Require(crew->maxSeats == ship.seats, "the tender's seats");
                    checkCrew(*vessel, *crew);
                }
            } else if (vessel->className == "CKit") {
                Require(vessel->name.rfind("CKit", 0) == 0, "crew vessels named as such");
            }
        }
    }

    // The save, read back into a fresh world: the same vessels, the same rosters.
    void reload() {
        const std::string text = world_->scenarioText();
        vx::ScenarioDoc doc;
        std::string error;
        if (!vx::parseScenarioText(text, "saved.scn", doc, error)) {
            std::fprintf(stderr, "%s\n%s\n", text.c_str(), error.c_str());
            Require(false, "the save reads");
        }
        std::vector<std::string> names;
        std::vector<std::string> crew;
        rosterOf(names, crew);
        const int before = people();
        Driver fresh;
        if (!fresh.start(doc)) {
            std::fprintf(stderr, "%s\n", text.c_str());
            Require(false, "the save loads");
        }
        std::vector<std::string> freshNames;
        std::vector<std::string> freshCrew;
        fresh.rosterOf(freshNames, freshCrew);
        Require(names == freshNames, "the same vessels after a reload");
        Require(crew == freshCrew, "the same rosters after a reload");
        Require(fresh.people() == before, "the same people after a reload");
        // The old world goes first: one world at a time.
        world_.reset();
        world_ = std::move(fresh.world_);
        structure_ = std::move(fresh.structure_);
    }

private:
    void rosterOf(std::vector<std::string>& names, std::vector<std::string>& crew) const {
        for (vx::VesselRecord* vessel : world_->vessels()) {
            names.push_back(vessel->name);
            if (const CrewManager* manager = crewOf(*vessel)) {
                for (int32_t slot = 0; slot < manager->crewCount; ++slot) {
                    const CrewRecord& r = manager->roster[slot];
                    crew.push_back(vessel->name + ": " + r.miscId + '-' + r.name + ' ' +
                                   std::to_string(r.age) + ' ' + std::to_string(r.pulse) + ' ' +
                                   std::to_string(r.weight));
                }
            }
        }
    }

    std::unique_ptr<vx::World> world_;
    std::map<std::string, double> structure_;
};

vx::KeySpec Key(uint8_t which, uint8_t modifiers) {
    vx::KeySpec key;
    key.code = kKeys[which % std::size(kKeys)];
    // Most presses are plain: a modifier only when the high bit asks for one.
    if ((modifiers & 0x80) != 0) {
        key.leftShift = (modifiers & 1) != 0;
        key.rightShift = (modifiers & 2) != 0;
        key.leftCtrl = (modifiers & 4) != 0;
        key.rightCtrl = (modifiers & 8) != 0;
    }
    key.text = "key";
    return key;
}

// A point in ref's frame: its airlock's middle, just beyond the airlock, at a dock, far off.
VECTOR3 Spot(vx::VesselRecord& ref, uint8_t which) {
    const VESSEL* iface = vapiGetVesselInterface(&ref);
    ATTACHMENTHANDLE point = iface != nullptr ? CrewPoint(*iface) : nullptr;
    VECTOR3 pos{}, dir{}, rot{};
    if (point != nullptr) {
        iface->GetAttachmentParams(point, pos, dir, rot);
    }
    // The box: x from pos.x to pos.y, y from pos.z to dir.x, z from dir.y to dir.z.
    const VECTOR3 middle{(pos.x + pos.y) / 2, (pos.z + dir.x) / 2, (dir.y + dir.z) / 2};
    switch (which % 5) {
    case 0:
        return middle;
    case 1:
        return {middle.x, middle.y, dir.z + 1.0};
    case 2:
        return {pos.x, middle.y, middle.z}; // on the box's edge: not strictly inside
    case 3:
        return {0.0, 0.0, 5.0};
    default:
        return {0.0, 0.0, 500.0};
    }
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
    Driver driver;
    if (!driver.start(demo)) {
        std::abort();
    }
    demoPeople = driver.people();
    Require(demoPeople > 0, "the demo carries people");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    for (auto& module : modules) {
        module->Restore();
    }
    Driver driver;
    Require(driver.start(demo), "the demo loads");
    driver.check();
    Require(driver.people() == demoPeople, "the demo's people");
    int expected = demoPeople;
    int reloads = 0;
    Bytes in(data, size);
    for (int op = 0; op < kMaxOperations && !in.empty(); ++op) {
        vx::World& world = driver.world();
        const uint8_t code = in.next();
        switch (code % 8) {
        case 0: {
            const uint8_t which = in.next();
            world.pressKey(Key(which, in.next()));
            break;
        }
        case 1:
            world.setFocus(driver.pick(in.next()));
            break;
        case 2: {
            const uint8_t how = in.next();
            for (int i = 0; i <= (how >> 3) % 4; ++i) {
                world.step(kSteps[how % std::size(kSteps)]);
            }
            break;
        }
        case 3: {
            vx::VesselRecord* mover = driver.pick(in.next());
            vx::VesselRecord* ref = driver.pick(in.next());
            const uint8_t where = in.next();
            if (mover != nullptr && ref != nullptr && mover != ref) {
                world.place(mover, ref, Spot(*ref, where));
            }
            break;
        }
        case 4: {
            vx::VesselRecord* a = driver.pick(in.next());
            const uint8_t portA = in.next();
            vx::VesselRecord* b = driver.pick(in.next());
            const uint8_t portB = in.next();
            std::string reason;
            if (a != nullptr && b != nullptr) {
                world.dock(a, portA % 6, b, portB % 6, reason);
            }
            break;
        }
        case 5: {
            vx::VesselRecord* a = driver.pick(in.next());
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
                driver.reload();
            }
            break;
        default: {
            // Only crew vessels: a colony or a ship deleted takes its roster with it.
            vx::VesselRecord* doomed = driver.pick(in.next());
            if (doomed != nullptr && doomed->className == "CKit") {
                expected -= Driver::peopleOn(*doomed);
                world.deleteVessel(doomed);
            }
            break;
        }
        }
        driver.check();
        if (driver.people() != expected) {
            std::fprintf(stderr, "people %d, expected %d after operation %d (code %d)\n",
                         driver.people(), expected, op, code % 8);
            Require(false, "nobody appears or vanishes");
        }
    }
    return 0;
}
