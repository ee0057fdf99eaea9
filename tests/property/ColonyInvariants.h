// The colony world as the host runs it, loaded from the module folder, and what must hold of it
// after anything the user or the simulation does, told as text for a fuzz target or a test.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "addons/tender/Tender.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "vessel/Halcyra.h"

namespace colonycheck {

// The vessel's crew point: its airlock box, then the airlock state and the free seats.
inline bool Published(vx::VesselRecord& vessel, VECTOR3 (&point)[3]) {
    VESSEL& v = *vessel.iface;
    for (unsigned int i = 0; i < v.AttachmentCount(false); ++i) {
        if (std::strcmp(v.GetAttachmentId(v.GetAttachmentHandle(false, i)), "CKit") == 0) {
            v.GetAttachmentParams(v.GetAttachmentHandle(false, i), point[0], point[1], point[2]);
            return true;
        }
    }
    return false;
}

// Where to put a vessel in another's frame: the middle of the airlock box that one
// publishes, or 500 m out.
enum class Spot { Inside, FarOff };
inline VECTOR3 SpotIn(vx::VesselRecord& ref, Spot spot) {
    VECTOR3 b[3] = {};
    Published(ref, b);
    return spot == Spot::FarOff
               ? VECTOR3{0.0, 0.0, 500.0}
               : VECTOR3{(b[0].x + b[0].y) / 2, (b[0].z + b[1].x) / 2, (b[1].y + b[1].z) / 2};
}

inline CrewManager* CrewOf(vx::VesselRecord& vessel) {
    if (vessel.className == "halcyra") {
        return &static_cast<halcyra*>(vessel.iface)->crew;
    }
    auto* ship =
        vessel.className == "Tender" ? static_cast<tender::Tender*>(vessel.iface) : nullptr;
    return ship != nullptr && !ship->noCrew ? &ship->crew : nullptr;
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
        const bool loaded = world_->load(doc, error);
        for (vx::VesselRecord* vessel : world_->vessels()) {
            if (const CrewManager* crew = CrewOf(*vessel)) {
                structure_[vessel->name] = vessel->iface->GetEmptyMass() - crew->crewMass;
            }
        }
        check(false);
        return loaded;
    }
    vx::World& world() const { return *world_; }

    // Empty when every vessel is as it must be and the people add up since the last check,
    // else what broke. Without time nobody comes or goes, though people may leave a roster on
    // foot or across; while time runs nobody appears, no roster shrinks, and a person may only
    // vanish at the intake of a roster that is then full.
    std::string check(bool timeRan) {
        std::string broken;
        std::map<std::string, int> crews; // roster sizes, 0 for a walking or crossing member
        int people = 0, gained = 0;
        bool full = false;
        for (vx::VesselRecord* vessel : world_->vessels()) {
            const std::string& name = vessel->name;
            const CrewManager* crew = CrewOf(*vessel);
            const auto was = crews_.find(name);
            if (vessel->className == "CKit" && was == crews_.end()) { // someone left
                broken += timeRan ? name + " came while time ran; " : "";
                ++(name.rfind("CKitT", 0) == 0 ? tally.transfers : tally.evas);
            }
            crews[name] = crew != nullptr ? crew->crewCount : 0;
            people += crew != nullptr ? crew->crewCount : vessel->className == "CKit";
            if (crew == nullptr) {
                continue;
            }
            double mass = 0.0;
            for (int32_t i = 0; i < crew->crewCount && i < kRosterSize; ++i) {
                mass += crew->roster[i].weight;
            }
            // The empty mass is the structure's and the crew's, to the rounding of the sums.
            const double offMass = vessel->iface->GetEmptyMass() - structure_[name] - mass;
            VECTOR3 point[3] = {};
            if (crew->readyFlags != CrewManager::kCrewReady || crew->crewCount < 0 ||
                crew->crewCount > crew->maxSeats || mass != crew->crewMass ||
                offMass * offMass > 1e-12 || !Published(*vessel, point) ||
                (point[2].x != 0.0 && point[2].x != 1.0) ||
                point[2].z != crew->maxSeats - crew->crewCount) {
                broken += name + "'s crew, mass, or published airlock and seats; ";
            }
            const int before = was != crews_.end() ? was->second : crew->crewCount;
            broken += timeRan && crew->crewCount < before ? name + "'s roster shrank; " : "";
            gained += crew->crewCount - before;
            full = full || crew->crewCount == crew->maxSeats;
        }
        const int lost = people_ - people;
        if (timeRan ? lost < 0 || (lost > 0 && !full) : lost != 0) {
            broken += std::to_string(people_) + " people before, " + std::to_string(people) +
                      (timeRan ? " after time ran with no roster full" : " after no time");
        }
        tally.arrivals += timeRan ? gained : 0;
        tally.fullLosses += timeRan ? lost : 0;
        crews_ = std::move(crews);
        people_ = people;
        return broken;
    }

    // Saves, loads the save into a fresh world and goes on in that one, which must save the
    // same text but for the members that reading refuses where adding took them in.
    std::string reload() {
        const std::string saved = world_->scenarioText();
        std::string kept = saved, error;
        for (vx::VesselRecord* vessel : world_->vessels()) {
            const CrewManager* crew = CrewOf(*vessel);
            for (int32_t i = 0; crew != nullptr && i < crew->crewCount; ++i) {
                const CrewRecord& r = crew->roster[i];
                std::string line = "  CKITCREW " + std::string(r.miscId) + '-' + r.name + '-' +
                                   std::to_string(r.age) + '-' + std::to_string(r.pulse) + '-' +
                                   std::to_string(static_cast<int>(r.weight)) + "\n";
                std::replace(line.begin() + 11, line.end(), ' ', '_');
                const std::size_t at = kept.find(line);
                if (at != std::string::npos &&
                    (r.name[0] == '\0' || r.age < 1 || r.age > 140 || r.pulse < 1 ||
                     r.pulse > 180 || r.weight < 5 || r.weight > 300)) {
                    kept.erase(at, line.size());
                }
            }
        }
        vx::ScenarioDoc doc;
        if (!vx::parseScenarioText(saved, "saved.scn", doc, error) || !start(doc, error)) {
            return "the save does not load: " + error + "\n" + saved;
        }
        const std::string again = world_->scenarioText();
        return again == kept ? "" : "a reload saves\n" + again + "\nnot\n" + kept;
    }

private:
    std::unique_ptr<vx::World> world_;
    std::map<std::string, double> structure_; // empty mass beside the crew, which never changes
    std::map<std::string, int> crews_;        // at the last check
    int people_ = 0;
};

} // namespace colonycheck
