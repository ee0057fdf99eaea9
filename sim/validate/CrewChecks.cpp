// The crew point protocol: the nine numbers a vessel publishes on its point "CKit", and
// taking in the people other vessels send to it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/Keys.h"
#include "sim/validate/Checks.h"

namespace vx::validate {

namespace {

constexpr const char* kTransferFile = "config/CKittmpT.cfg";

const VxAttachment* findCrewPoint(const VesselRecord& vessel) {
    for (const auto& point : vessel.childPoints) {
        if (std::strcmp(point->id.data(), "CKit") == 0) {
            return point.get();
        }
    }
    return nullptr;
}

// Once published, the point stays for the vessel's life.
const VxAttachment& crewPoint(const VesselRecord& vessel) {
    const VxAttachment* point = findCrewPoint(vessel);
    if (point == nullptr) {
        throw Finding{"its crew point \"CKit\" was gone"};
    }
    return *point;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// The airlock box as xmin, xmax, ymin, ymax, zmin, zmax; throws when the point is ill formed.
std::array<double, 6> wellFormedBox(const VxAttachment& point, const char* when) {
    const std::array<double, 6> box{point.pos.x, point.pos.y, point.pos.z,
                                    point.dir.x, point.dir.y, point.dir.z};
    const std::string prefix = std::string("its crew point, ") + when + ", ";
    for (double value : box) {
        require(std::isfinite(value), prefix + "has a box bound that is not a number");
    }
    for (int axis = 0; axis < 3; ++axis) {
        require(box[2 * axis] <= box[2 * axis + 1],
                prefix + "has an airlock box whose " + "xyz"[axis] + " minimum " +
                    number(box[2 * axis]) + " lies above its maximum " + number(box[2 * axis + 1]));
    }
    require(point.rot.x == 0.0 || point.rot.x == 1.0,
            prefix + "has the airlock state " + number(point.rot.x) + ", not 0 or 1");
    require(point.rot.z >= 0.0 && point.rot.z == std::floor(point.rot.z),
            prefix + "has " + number(point.rot.z) + " free seats, not a whole number from 0");
    return box;
}

// Steps through the poll interval and one step more, by which the vessel must have taken the
// arriving one in, with a seat of its own if it had one free, and removed the exchange file.
void takenIn(CheckWorld& w, const VesselRecord& vessel, const VesselRecord& arriving,
             const std::string& who) {
    const double seats = crewPoint(vessel).rot.z;
    for (int i = 0; i < 6 && arriving.alive; ++i) {
        w.step(0.05);
    }
    require(!arriving.alive, who + " was not taken in within the 0.25 s poll and one step");
    require(!std::filesystem::exists(kTransferFile),
            "it took in " + who + " but left the exchange file " + kTransferFile);
    const std::string when = "once it took in " + who;
    wellFormedBox(crewPoint(vessel), when.c_str());
    require(seats == 0.0 || crewPoint(vessel).rot.z == seats - 1.0,
            when + " it published " + number(crewPoint(vessel).rot.z) + " free seats, having had " +
                number(seats));
}

void writeTransferRecord() {
    unsigned char record[104] = {};
    std::memcpy(record, "CKit_Val-Transfer", 17); // its name, then age, pulse, supply, weight
    const std::int32_t numbers[6] = {30, 70, 100, 60, 0, 0};
    std::memcpy(record + 80, numbers, sizeof numbers);
    std::FILE* file = std::fopen(kTransferFile, "wb");
    require(file != nullptr && std::fwrite(record, sizeof record, 1, file) == 1 &&
                std::fclose(file) == 0,
            std::string("cannot write ") + kTransferFile);
}

// With a dock: a colony docked there sends a member across. What to add to the verdict.
std::string crossFromColony(CheckWorld& w, VesselRecord* vessel, const CheckRun& run) {
    if (vessel->docks.empty() || !run.colony || crewPoint(*vessel).rot.z == 0.0) {
        return vessel->docks.empty() ? ""
               : run.colony          ? "; no free seat for a colony to send a member to"
                                     : "; no colony module found to dock to it";
    }
    VesselRecord* colony = w.make("Colony", "halcyra");
    std::string reason;
    require(w.world.dock(colony, 0, vessel, 0, reason),
            "a colony cannot dock to its dock 0: " + reason);
    w.world.setFocus(colony);
    for (std::uint32_t key : {VXK_1, VXK_E}) {
        w.world.pressKey(KeySpec{key, false, false, false, false, ""});
    }
    const VesselRecord* member = w.world.findVessel("CKitTVx");
    w.step(0.05); // the colony's answer is drawn on its HUD
    require(member != nullptr,
            "a colony docked at its dock 0 sent no member across: \"" + w.world.hudText() + "\"");
    takenIn(w, *vessel, *member, "a member a colony docked at its dock 0 sent across");
    w.world.deleteVessel(colony);
    return ", a member sent across by a docked colony";
}

} // namespace

Verdict checkCrewPoint(const CheckRun& run) {
    if (!run.crewRuntime) {
        return {Outcome::Skip, "needs the crew runtime (CKit.dll and its version file), which "
                               "was not found"};
    }
    CheckWorld w(run);
    VesselRecord* vessel = w.make("Vx", run.className);
    w.step(0.05);
    if (findCrewPoint(*vessel) == nullptr) {
        return {Outcome::Skip, "the class publishes no crew point \"CKit\""};
    }
    const std::array<double, 6> box = wellFormedBox(crewPoint(*vessel), "once created");
    const std::string done = "its crew point is well formed";
    if (crewPoint(*vessel).rot.x == 0.0) {
        return {Outcome::Pass, done + "; its airlock is closed, so nobody was sent in"};
    }
    if (box[0] == box[1] || box[2] == box[3] || box[4] == box[5]) {
        return {Outcome::Pass, done + "; its airlock box is flat, so nobody can stand inside"};
    }
    const std::string crossed = crossFromColony(w, vessel, run);
    writeTransferRecord();
    VesselRecord* transfer = w.make("CKitTVx", "CKit");
    // What the sender gives a transfer vessel: its crew data point.
    require(transfer->iface != nullptr, "the crew runtime made a transfer vessel without a body");
    transfer->iface->CreateAttachment(true, {30, 70, 60}, {}, {}, "C-Ki", false);
    takenIn(w, *vessel, *transfer, "a transfer vessel named for it (CKitTVx)");
    for (int i = 0; i < run.strictness; ++i) {
        double at[3];
        for (int axis = 0; axis < 3; ++axis) { // the centre first, then places from the seed
            const double share = i == 0 ? 0.5 : 0.05 + 0.9 * w.unit();
            at[axis] = box[2 * axis] + share * (box[2 * axis + 1] - box[2 * axis]);
        }
        VesselRecord* walker = w.make("CKit_Val-Walker_" + std::to_string(i), "CKit");
        w.world.place(walker, vessel, {at[0], at[1], at[2]});
        takenIn(w, *vessel, *walker,
                "a walker placed at (" + number(at[0]) + ", " + number(at[1]) + ", " +
                    number(at[2]) + ") in its frame, strictly inside its airlock box,");
    }
    return {Outcome::Pass, done + crossed + ", a transfer and " + std::to_string(run.strictness) +
                               " walkers taken in"};
}

} // namespace vx::validate
