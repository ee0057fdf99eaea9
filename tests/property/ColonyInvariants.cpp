#include "tests/property/ColonyInvariants.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

#include "addons/tender/Tender.h"
#include "sim/text/ScenarioText.h"
#include "vessel/Halcyra.h"

namespace colonycheck {

namespace {

constexpr char kTransferPrefix[] = "CKitT";
constexpr char kCrewDataId[] = "C-Ki";
// A walker this close to a box may be inside it when the vessel scans, even at once.
constexpr double kBoxMargin = 0.05;

bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Collects the first broken invariant; later ones are not looked at.
class Findings {
public:
    bool require(bool condition, std::string_view what, std::string_view where = {}) {
        if (!condition && text_.empty()) {
            text_ = std::string(what);
            if (!where.empty()) {
                text_ += " (" + std::string(where) + ")";
            }
        }
        return condition;
    }
    bool clean() const { return text_.empty(); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

struct Box {
    double bounds[6]; // xmin, xmax, ymin, ymax, zmin, zmax
};

// The airlock a crew point publishes, and whether it is open.
bool PublishedBox(const VESSEL& vessel, Box& box, bool& open) {
    ATTACHMENTHANDLE point = CrewPoint(vessel);
    if (point == nullptr) {
        return false;
    }
    VECTOR3 pos{}, dir{}, rot{};
    vessel.GetAttachmentParams(point, pos, dir, rot);
    box = Box{{pos.x, pos.y, pos.z, dir.x, dir.y, dir.z}};
    open = rot.x != 0.0;
    return true;
}

double Length(const VECTOR3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Whether the walker may stand inside the box the receiver publishes, by the receiver's frame,
// at some time within the next seconds. Two bodies in neighbouring orbits drift apart: at
// their relative speed, and faster by the tidal pull, which grows with their distance; a walker
// stepped 1 m out of an airlock comes back into it after a few minutes.
bool MayBeInside(const VESSEL& receiver, const Box& box, const VESSEL& walker, double gm,
                 double seconds) {
    VECTOR3 own{}, other{}, ownLocal{}, otherLocal{};
    receiver.GetGlobalPos(own);
    walker.GetGlobalPos(other);
    receiver.Global2Local(own, ownLocal);
    receiver.Global2Local(other, otherLocal);
    const double d[3] = {otherLocal.x - ownLocal.x, otherLocal.y - ownLocal.y,
                         otherLocal.z - ownLocal.z};
    VESSELSTATUS ownState{}, otherState{};
    receiver.GetStatus(ownState);
    walker.GetStatus(otherState);
    const double speed =
        Length({otherState.rvel.x - ownState.rvel.x, otherState.rvel.y - ownState.rvel.y,
                otherState.rvel.z - ownState.rvel.z});
    const double r = Length(ownState.rpos);
    const double tidal = r > 0.0 ? 3.0 * gm / (r * r * r) : 0.0;
    const double reach = Length({d[0], d[1], d[2]}) + speed * seconds + 1.0;
    // Twice the distance the pull alone covers, for what the integrator adds.
    const double margin = kBoxMargin + speed * seconds + tidal * reach * seconds * seconds;
    for (int axis = 0; axis < 3; ++axis) {
        if (!(d[axis] > box.bounds[2 * axis] - margin &&
              d[axis] < box.bounds[2 * axis + 1] + margin)) {
            return false;
        }
    }
    return true;
}

// A walking member the intake can take: class "CKit", two points for parents or more, the
// last being the crew data point.
bool TakeableWalker(const VESSEL& vessel) {
    const unsigned int count = vessel.AttachmentCount(true);
    if (count < 2) {
        return false;
    }
    const char* id = vessel.GetAttachmentId(vessel.GetAttachmentHandle(true, count - 1));
    return id != nullptr && std::memcmp(id, kCrewDataId, sizeof kCrewDataId) == 0;
}

std::vector<std::string> CrewVesselNames(const vx::World& world) {
    std::vector<std::string> names;
    for (vx::VesselRecord* vessel : world.vessels()) {
        if (vessel->className == "CKit") {
            names.push_back(vessel->name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

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

VECTOR3 SpotIn(vx::VesselRecord& ref, Spot spot) {
    const VESSEL* iface = vapiGetVesselInterface(&ref);
    Box box{};
    bool open = false;
    if (iface == nullptr || !PublishedBox(*iface, box, open)) {
        box = Box{};
    }
    const double* b = box.bounds;
    const VECTOR3 middle{(b[0] + b[1]) / 2, (b[2] + b[3]) / 2, (b[4] + b[5]) / 2};
    switch (spot) {
    case Spot::Inside:
        return middle;
    case Spot::JustBeyond:
        return {middle.x, middle.y, b[5] + 1.0};
    case Spot::OnFace:
        return {b[0], middle.y, middle.z};
    case Spot::AtDock:
        return {0.0, 0.0, 5.0};
    case Spot::FarOff:
        break;
    }
    return {0.0, 0.0, 500.0};
}

vx::KeySpec MakeKey(std::uint32_t code, bool leftShift, bool rightShift, bool leftCtrl,
                    bool rightCtrl) {
    vx::KeySpec key;
    key.code = code;
    key.leftShift = leftShift;
    key.rightShift = rightShift;
    key.leftCtrl = leftCtrl;
    key.rightCtrl = rightCtrl;
    key.text = "key";
    return key;
}

bool ColonyDriver::start(const vx::ScenarioDoc& doc, std::string& error) {
    world_ = std::make_unique<vx::World>();
    world_->setWarningSink([](std::string_view) {});
    if (!world_->load(doc, error)) {
        return false;
    }
    structure_.clear();
    for (vx::VesselRecord* vessel : world_->vessels()) {
        if (const CrewManager* crew = crewOf(*vessel)) {
            structure_[vessel->name] =
                vapiGetVesselInterface(vessel)->GetEmptyMass() - crew->crewMass;
        }
    }
    return true;
}

vx::VesselRecord* ColonyDriver::pick(std::uint8_t byte) const {
    const auto& vessels = world_->vessels();
    return vessels.empty() ? nullptr : vessels[byte % vessels.size()];
}

CrewManager* ColonyDriver::crewOf(vx::VesselRecord& vessel) {
    VESSEL* iface = vapiGetVesselInterface(&vessel);
    if (iface == nullptr) {
        return nullptr;
    }
    if (vessel.className == "halcyra") {
        return &static_cast<halcyra*>(iface)->crew;
    }
    if (vessel.className == "Tender") {
        tender::Tender* ship = static_cast<tender::Tender*>(iface);
        return ship->crewSetUp && !ship->noCrew ? &ship->crew : nullptr;
    }
    return nullptr;
}

int ColonyDriver::peopleOn(vx::VesselRecord& vessel) {
    if (vessel.className == "CKit") {
        return 1;
    }
    const CrewManager* crew = crewOf(vessel);
    return crew != nullptr ? crew->crewCount : 0;
}

int ColonyDriver::people() const {
    int total = 0;
    for (vx::VesselRecord* vessel : world_->vessels()) {
        total += peopleOn(*vessel);
    }
    return total;
}

std::string ColonyDriver::checkCrew(vx::VesselRecord& vessel, const CrewManager& crew) const {
    Findings f;
    const std::string& where = vessel.name;
    f.require(crew.readyFlags == CrewManager::kCrewReady, "crew manager ready", where);
    f.require(crew.linkIndex >= 0 && crew.linkIndex < kCrewLinkCount,
              "crew link record within the table", where);
    f.require(crew.crewCount >= 0 && crew.crewCount <= crew.maxSeats, "crew within the seats",
              where);
    if (!f.clean()) {
        return f.take();
    }
    double mass = 0.0;
    for (int32_t slot = 0; slot < crew.crewCount; ++slot) {
        const CrewRecord& r = crew.roster[slot];
        f.require(Terminated(r.name, sizeof r.name) && r.name[0] != '\0', "a member has a name",
                  where);
        f.require(Terminated(r.miscId, sizeof r.miscId), "tag terminated", where);
        mass += r.weight;
    }
    f.require(mass == crew.crewMass, "crew mass is the sum of the weights", where);
    const VESSEL* iface = vapiGetVesselInterface(&vessel);
    const auto structure = structure_.find(vessel.name);
    if (structure != structure_.end()) {
        f.require(iface->GetEmptyMass() == structure->second + crew.crewMass,
                  "empty mass is the structure and the crew", where);
    }
    ATTACHMENTHANDLE point = CrewPoint(*iface);
    if (!f.require(point != nullptr, "crew point published", where)) {
        return f.take();
    }
    VECTOR3 pos{}, dir{}, rot{};
    iface->GetAttachmentParams(point, pos, dir, rot);
    f.require(rot.x == 0.0 || rot.x == 1.0, "airlock published open or closed", where);
    f.require(rot.z == crew.maxSeats - crew.crewCount, "published free seats", where);
    return f.take();
}

std::string ColonyDriver::check() const {
    Findings f;
    const vx::VesselRecord* focus = world_->focus();
    f.require(focus == nullptr || focus->alive, "focus on a live vessel");
    f.require(Terminated(world_->debugText(), VAPI_DEBUG_STRING_SIZE), "debug line bounded");
    for (vx::VesselRecord* vessel : world_->vessels()) {
        if (!f.clean()) {
            break;
        }
        const std::string& where = vessel->name;
        f.require(vessel->alive && !vessel->name.empty(), "a live vessel has a name", where);
        f.require(world_->findVessel(vessel->name) == vessel, "found by its name", where);
        VESSEL* iface = vapiGetVesselInterface(vessel);
        if (vessel->className == "halcyra") {
            const halcyra& colony = *static_cast<const halcyra*>(iface);
            f.require(colony.crew.maxSeats == kSpacedockSeats, "the Spacedock's seats", where);
            f.require(Terminated(colony.hudMessage, sizeof colony.hudMessage), "HUD line bounded",
                      where);
            f.require(colony.selectedSlot >= 0 &&
                          (colony.selectedSlot == 0 || colony.selectedSlot < colony.crew.crewCount),
                      "selection within the roster", where);
            if (f.clean()) {
                if (std::string broken = checkCrew(*vessel, colony.crew); !broken.empty()) {
                    return broken;
                }
            }
        } else if (vessel->className == "Tender") {
            const tender::Tender& ship = *static_cast<const tender::Tender*>(iface);
            f.require(Terminated(ship.message, sizeof ship.message), "tender HUD line bounded",
                      where);
            if (const CrewManager* crew = crewOf(*vessel); crew != nullptr && f.clean()) {
                f.require(crew->maxSeats == ship.seats, "the tender's seats", where);
                if (std::string broken = checkCrew(*vessel, *crew); !broken.empty()) {
                    return broken;
                }
            }
        } else if (vessel->className == "CKit") {
            f.require(vessel->name.find(' ') == std::string::npos,
                      "crew vessels have no blanks in their names", where);
            f.require(StartsWith(vessel->name, "CKit"), "crew vessels named as such", where);
        }
    }
    return f.take();
}

void ColonyDriver::rosterOf(std::vector<std::string>& names, std::vector<std::string>& crew) const {
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

std::string ColonyDriver::reload() {
    const std::string text = world_->scenarioText();
    vx::ScenarioDoc doc;
    std::string error;
    if (!vx::parseScenarioText(text, "saved.scn", doc, error)) {
        return "the save does not read: " + error + "\n" + text;
    }
    std::vector<std::string> names;
    std::vector<std::string> crew;
    rosterOf(names, crew);
    const int before = people();
    ColonyDriver fresh;
    if (!fresh.start(doc, error)) {
        return "the save does not load: " + error + "\n" + text;
    }
    std::vector<std::string> freshNames;
    std::vector<std::string> freshCrew;
    fresh.rosterOf(freshNames, freshCrew);
    // The old world goes first: one world at a time from here on.
    world_.reset();
    world_ = std::move(fresh.world_);
    structure_ = std::move(fresh.structure_);
    Findings f;
    f.require(names == freshNames, "the same vessels after a reload");
    f.require(crew == freshCrew, "the same rosters after a reload");
    f.require(people() == before, "the same people after a reload");
    return f.take();
}

void PeopleAudit::before(ColonyDriver& driver, bool advancesTime, double seconds) {
    advancesTime_ = advancesTime;
    people_ = driver.people();
    removed_ = 0;
    allowed_ = 0;
    receivers_.clear();
    crewVessels_ = CrewVesselNames(driver.world());
    const double gm = driver.world().body().gm;
    const auto& vessels = driver.world().vessels();
    for (vx::VesselRecord* vessel : vessels) {
        const CrewManager* crew = ColonyDriver::crewOf(*vessel);
        const VESSEL* iface = vapiGetVesselInterface(vessel);
        if (crew == nullptr || iface == nullptr) {
            continue;
        }
        Receiver receiver{vessel->name, crew->crewCount, crew->maxSeats, {}};
        Box box{};
        bool open = false;
        if (PublishedBox(*iface, box, open) && open && crew->airlockStateCopy != 0) {
            const std::string transferName = kTransferPrefix + vessel->name;
            for (vx::VesselRecord* other : vessels) {
                const VESSEL* walker = vapiGetVesselInterface(other);
                if (other == vessel || other->className != "CKit" || walker == nullptr) {
                    continue;
                }
                if (StartsWith(other->name, kTransferPrefix)) {
                    if (other->name == transferName) {
                        receiver.arriving.push_back(other->name);
                    }
                } else if (TakeableWalker(*walker) &&
                           MayBeInside(*iface, box, *walker, gm, seconds)) {
                    receiver.arriving.push_back(other->name);
                }
            }
        }
        const int free = receiver.seats - receiver.crew;
        allowed_ += std::max(0, static_cast<int>(receiver.arriving.size()) - free);
        receivers_.push_back(std::move(receiver));
    }
}

std::string PeopleAudit::after(const ColonyDriver& driver, Tally& tally) const {
    const int now = driver.people();
    const int lost = people_ - removed_ - now;
    const std::vector<std::string> crewVessels = CrewVesselNames(driver.world());
    std::vector<std::string> appeared;
    std::vector<std::string> vanished;
    std::set_difference(crewVessels.begin(), crewVessels.end(), crewVessels_.begin(),
                        crewVessels_.end(), std::back_inserter(appeared));
    std::set_difference(crewVessels_.begin(), crewVessels_.end(), crewVessels.begin(),
                        crewVessels.end(), std::back_inserter(vanished));
    const std::string counts = std::to_string(people_) + " people before, " + std::to_string(now) +
                               " after, " + std::to_string(removed_) + " removed, " +
                               std::to_string(allowed_) + " may be lost";
    Findings f;
    if (!advancesTime_) {
        f.require(lost == 0, "people changed across an operation that runs no time", counts);
        for (const std::string& name : appeared) {
            ++(StartsWith(name, kTransferPrefix) ? tally.transfers : tally.evas);
        }
        return f.take();
    }
    f.require(lost >= 0, "people appeared while time ran", counts);
    f.require(lost <= allowed_, "people vanished beyond what full rosters explain", counts);
    f.require(appeared.empty(), "a crew vessel appeared while time ran",
              appeared.empty() ? "" : appeared.front());
    for (const std::string& name : vanished) {
        const bool expected = std::any_of(receivers_.begin(), receivers_.end(), [&](const auto& r) {
            return std::find(r.arriving.begin(), r.arriving.end(), name) != r.arriving.end();
        });
        f.require(expected, "a crew vessel vanished that no intake could take", name);
    }
    long gained = 0;
    // Losses a full roster explains: those of its arrivals that are gone. A walker inside two
    // boxes counts for both, which only widens the bound.
    long explained = 0;
    for (const Receiver& r : receivers_) {
        vx::VesselRecord* vessel = driver.world().findVessel(r.name);
        const CrewManager* crew = vessel != nullptr ? ColonyDriver::crewOf(*vessel) : nullptr;
        if (!f.require(crew != nullptr, "a crew-carrying vessel vanished while time ran", r.name)) {
            break;
        }
        f.require(crew->crewCount >= r.crew, "a roster shrank while time ran", r.name);
        gained += crew->crewCount - r.crew;
        if (crew->crewCount == crew->maxSeats) {
            explained += std::count_if(r.arriving.begin(), r.arriving.end(), [&](const auto& name) {
                return std::binary_search(vanished.begin(), vanished.end(), name);
            });
        }
    }
    f.require(lost <= explained, "people lost that no full roster explains", counts);
    if (f.clean()) {
        tally.arrivals += gained;
        tally.fullLosses += lost;
    }
    return f.take();
}

} // namespace colonycheck
