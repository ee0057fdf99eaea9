// The colony world as the host runs it (the colony, the tender and the walking crew, all loaded
// from the module folder) and what must hold of it after anything the user or the simulation
// does: rosters within their seats, crew in the mass, published seats and airlocks, and no
// person appearing or vanishing except at a full roster's intake. The checks return what broke
// as text, so that a fuzz target can stop on it and a test can report it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "crew/CrewManager.h"
#include "host/Vantrix.h"
#include "sim/script/Script.h"
#include "sim/world/World.h"

namespace colonycheck {

// The crew point a crew manager publishes: id "CKit", for children; null when there is none.
ATTACHMENTHANDLE CrewPoint(const VESSEL& vessel);

// Where a vessel can be put in another's frame, relative to that one's airlock box.
enum class Spot {
    Inside,     // the box's middle
    JustBeyond, // 1 m past the box's far z face
    OnFace,     // on the box's lower x face: not strictly inside
    AtDock,     // (0, 0, 5), the tender's dock
    FarOff,     // 500 m out
};
inline constexpr int kSpotCount = 5;
VECTOR3 SpotIn(vx::VesselRecord& ref, Spot spot);

// A key press with Shift and Ctrl as asked.
vx::KeySpec MakeKey(std::uint32_t code, bool leftShift, bool rightShift, bool leftCtrl,
                    bool rightCtrl);

// What the runs made happen, summed over operations.
struct Tally {
    long evas = 0;       // people who left on foot
    long transfers = 0;  // people sent across into a docked vessel
    long arrivals = 0;   // people taken onto a roster
    long fullLosses = 0; // people lost at the intake of a full roster
};

class ColonyDriver {
public:
    // Loads the scenario into a fresh world; false with error when it does not load.
    bool start(const vx::ScenarioDoc& doc, std::string& error);

    vx::World& world() { return *world_; }
    const vx::World& world() const { return *world_; }
    vx::VesselRecord* pick(std::uint8_t byte) const;

    // The crew manager a vessel of ours carries, or null.
    static CrewManager* crewOf(vx::VesselRecord& vessel);
    // People the vessel carries: its roster, or itself for a walking or crossing member.
    static int peopleOn(vx::VesselRecord& vessel);
    int people() const;

    // Empty when every vessel is as it must be, else the first thing found broken.
    std::string check() const;

    // Saves, reads the save back into a fresh world and goes on in that one; empty when the
    // fresh world holds the same vessels, rosters and people, else what differed.
    std::string reload();

private:
    std::string checkCrew(vx::VesselRecord& vessel, const CrewManager& crew) const;
    void rosterOf(std::vector<std::string>& names, std::vector<std::string>& crew) const;

    std::unique_ptr<vx::World> world_;
    // The empty mass each crew-carrying vessel has beside its crew; it never changes.
    std::map<std::string, double> structure_;
};

// Accounts for the people across one operation. The only way a person may go is into a full
// roster at its intake, and that can only happen while time runs: a walker strictly inside
// the open airlock of a vessel with too few free seats, or a transfer vessel named for one.
// So the state before the operation bounds what it may lose (counting the walkers that may
// drift into a box while the operation runs), and anything beyond that, or any person
// appearing, is a fault.
class PeopleAudit {
public:
    // Notes the state before an operation; advancesTime says whether it runs steps, and
    // seconds how much simulated time they add up to.
    void before(ColonyDriver& driver, bool advancesTime, double seconds = 0.0);
    // The operation removed people deliberately (a walker deleted from outside).
    void removed(int people) { removed_ += people; }
    // Empty when the people add up, else what went wrong; counts what happened into tally.
    std::string after(const ColonyDriver& driver, Tally& tally) const;

    // How many people the operation may lose to full rosters, from the state before it.
    int allowedLosses() const { return allowed_; }

private:
    struct Receiver {
        std::string name;
        int crew = 0;
        int seats = 0;
        std::vector<std::string> arriving; // walkers in the airlock, transfers named for it
    };

    bool advancesTime_ = false;
    int people_ = 0;
    int removed_ = 0;
    int allowed_ = 0;
    std::vector<Receiver> receivers_;
    std::vector<std::string> crewVessels_; // every walking or crossing member, by name
};

} // namespace colonycheck
