// The colony world as the host runs it (the colony, the tender and the walking crew, loaded
// from the module folder) and what must hold of it after anything the user or the simulation
// does. The checks return what broke as text, so that a fuzz target can stop on it and a test
// can report it.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "addons/tender/Tender.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "vessel/Halcyra.h"

namespace colonycheck {

// The vessel's crew point: its airlock box, then the airlock state and the free seats.
inline bool Published(vx::VesselRecord& vessel, VECTOR3 (&point)[3]) {
    const VESSEL* iface = vapiGetVesselInterface(&vessel);
    for (unsigned int i = 0; iface != nullptr && i < iface->AttachmentCount(false); ++i) {
        ATTACHMENTHANDLE handle = iface->GetAttachmentHandle(false, i);
        if (std::strcmp(iface->GetAttachmentId(handle), "CKit") == 0) {
            iface->GetAttachmentParams(handle, point[0], point[1], point[2]);
            return true;
        }
    }
    return false;
}

// Where to put a vessel in another's frame: the middle of the airlock box that one publishes,
// 1 m beyond the box's far z face, or 500 m out.
enum class Spot { Inside, JustBeyond, FarOff };
inline VECTOR3 SpotIn(vx::VesselRecord& ref, Spot spot) {
    VECTOR3 b[3] = {};
    Published(ref, b);
    const VECTOR3 middle{(b[0].x + b[0].y) / 2, (b[0].z + b[1].x) / 2, (b[1].y + b[1].z) / 2};
    return spot == Spot::Inside       ? middle
           : spot == Spot::JustBeyond ? VECTOR3{middle.x, middle.y, b[1].z + 1.0}
                                      : VECTOR3{0.0, 0.0, 500.0};
}

inline CrewManager* CrewOf(vx::VesselRecord& vessel) {
    VESSEL* iface = vapiGetVesselInterface(&vessel);
    if (iface != nullptr && vessel.className == "halcyra") {
        return &static_cast<halcyra*>(iface)->crew;
    }
    auto* ship = vessel.className == "Tender" ? static_cast<tender::Tender*>(iface) : nullptr;
    return ship != nullptr && ship->crewSetUp && !ship->noCrew ? &ship->crew : nullptr;
}

inline bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

class ColonyDriver {
public:
    struct Tally {
        long evas = 0, transfers = 0, arrivals = 0, fullLosses = 0;
    } tally;

    bool start(const vx::ScenarioDoc& doc, std::string& error) {
        world_.reset(); // one world at a time
        world_ = std::make_unique<vx::World>();
        world_->setWarningSink([](std::string_view) {});
        structure_.clear();
        const bool loaded = world_->load(doc, error);
        for (vx::VesselRecord* vessel : world_->vessels()) {
            if (const CrewManager* crew = CrewOf(*vessel)) {
                structure_[vessel->name] = vessel->iface->GetEmptyMass() - crew->crewMass;
            }
        }
        people(false);
        return loaded;
    }
    vx::World& world() const { return *world_; }
    void removed(int people) { people_ -= people; } // deleted on purpose since the last check

    // Empty when every vessel is as it must be and the people add up since the last check,
    // else the first thing found broken.
    std::string check(bool timeRan) {
        std::string broken;
        const auto require = [&broken](bool holds, const char* what, const std::string& where) {
            broken += !holds && broken.empty() ? std::string(what) + " (" + where + ")" : "";
        };
        require(Terminated(world_->debugText(), VAPI_DEBUG_STRING_SIZE), "debug line", "");
        for (vx::VesselRecord* vessel : world_->vessels()) {
            const std::string& where = vessel->name;
            const CrewManager* crew = CrewOf(*vessel);
            if (vessel->className == "halcyra") {
                const auto& colony = *static_cast<const halcyra*>(vessel->iface);
                require(crew->maxSeats == kSpacedockSeats && colony.selectedSlot >= 0 &&
                            (colony.selectedSlot == 0 || colony.selectedSlot < crew->crewCount) &&
                            Terminated(colony.hudMessage, sizeof colony.hudMessage),
                        "50 seats, a selection on the roster, a bounded HUD", where);
            } else if (vessel->className == "Tender") {
                const auto& ship = *static_cast<const tender::Tender*>(vessel->iface);
                require((crew == nullptr || crew->maxSeats == ship.seats) &&
                            Terminated(ship.message, sizeof ship.message),
                        "the tender's seats and a bounded HUD", where);
            } else {
                require(where.rfind("CKit", 0) == 0 && where.find(' ') == std::string::npos,
                        "a crew vessel named CKit..., without blanks", where);
            }
            if (crew == nullptr) {
                continue;
            }
            double mass = 0.0;
            for (int32_t slot = 0; slot < std::min(crew->crewCount, kRosterSize); ++slot) {
                const CrewRecord& r = crew->roster[slot];
                mass += r.weight;
                require(Terminated(r.name, sizeof r.name) && r.name[0] != '\0' &&
                            Terminated(r.miscId, sizeof r.miscId),
                        "a member with a name and a tag", where);
            }
            VECTOR3 point[3] = {};
            require(crew->readyFlags == CrewManager::kCrewReady && crew->crewCount >= 0 &&
                        crew->crewCount <= crew->maxSeats && mass == crew->crewMass &&
                        vessel->iface->GetEmptyMass() == structure_.at(where) + mass,
                    "a ready crew within the seats, whose weights are in the mass", where);
            require(Published(*vessel, point) && (point[2].x == 0.0 || point[2].x == 1.0) &&
                        point[2].z == crew->maxSeats - crew->crewCount,
                    "the airlock open or closed and the free seats published", where);
        }
        const std::string accounts = people(timeRan);
        return broken.empty() ? accounts : broken;
    }

    // Saves, loads the save into a fresh world and goes on in that one, which must save the
    // same text.
    std::string reload() {
        const std::string saved = world_->scenarioText();
        vx::ScenarioDoc doc;
        std::string error;
        if (!vx::parseScenarioText(saved, "saved.scn", doc, error) || !start(doc, error)) {
            return "the save does not load: " + error + "\n" + saved;
        }
        const std::string again = world_->scenarioText();
        return again == saved ? "" : "a reload saves\n" + again + "\nnot\n" + saved;
    }

private:
    // Without time nobody comes or goes, though people may leave a roster on foot or across;
    // while time runs nobody appears, no roster shrinks, and a person may only vanish at the
    // intake of a roster that is then full.
    std::string people(bool timeRan) {
        int now = 0, gained = 0;
        bool full = false;
        std::string broken;
        std::map<std::string, int> crew;
        std::set<std::string> walkers;
        for (vx::VesselRecord* vessel : world_->vessels()) {
            const std::string& name = vessel->name;
            if (const CrewManager* manager = CrewOf(*vessel)) {
                crew[name] = manager->crewCount;
                now += manager->crewCount;
                full = full || manager->crewCount == manager->maxSeats;
                const int was = crew_.count(name) != 0 ? crew_[name] : manager->crewCount;
                gained += manager->crewCount - was;
                broken = timeRan && manager->crewCount < was ? "a roster shrank: " + name : broken;
            } else if (vessel->className == "CKit" && walkers.insert(name).second &&
                       walkers_.count(name) == 0) {
                broken = timeRan ? "a crew vessel appeared while time ran: " + name : broken;
                ++(name.rfind("CKitT", 0) == 0 ? tally.transfers : tally.evas);
            }
        }
        now += static_cast<int>(walkers.size());
        const int lost = people_ - now;
        if (broken.empty() && (timeRan ? lost < 0 || (lost > 0 && !full) : lost != 0)) {
            broken = std::to_string(people_) + " people before, " + std::to_string(now) +
                     (timeRan ? " after: people appeared, or vanished with no roster full"
                              : " after an operation that runs no time");
        }
        tally.arrivals += timeRan ? gained : 0;
        tally.fullLosses += timeRan ? lost : 0;
        crew_ = std::move(crew);
        walkers_ = std::move(walkers);
        people_ = now;
        return broken;
    }

    std::unique_ptr<vx::World> world_;
    std::map<std::string, double> structure_; // empty mass beside the crew, which never changes
    std::map<std::string, int> crew_;         // roster sizes at the last check
    std::set<std::string> walkers_;           // walking and crossing members then
    int people_ = 0;
};

} // namespace colonycheck
